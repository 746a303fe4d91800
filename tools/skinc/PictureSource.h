#pragma once
// Where the pictures of a skin come from: the folder of its source, holding
// NAME.png (any PNG, converted) or NAME.bmp (a 16-bit BMP, taken as it is).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "draw/Size.h"

// The 16-bit BMP for picture name of a skin whose source lies in folder:
// folder/NAME.png converted, or else folder/NAME.bmp once it has been checked
// to load as the program loads pictures. Nothing, with *error set to one line
// naming the file, when neither exists or the one found cannot be read or used
// (a FIFO or a folder is refused without waiting).
std::optional<std::vector<uint8_t>> picture_bmp(const std::string& folder, const std::string& name,
                                                std::string* error);

// Whether folder holds NAME.png or NAME.bmp in any form (a FIFO or a folder of
// that name counts, so that picture_bmp can say what is wrong with it).
bool picture_source_exists(const std::string& folder, const std::string& name);

// The size of a 16-bit BMP as the program would load it; (0, 0) when it does
// not load.
Size bmp_size(const std::vector<uint8_t>& bmp, const std::string& name);
