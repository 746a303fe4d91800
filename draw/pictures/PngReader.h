#pragma once
// Reads a PNG file into RGB565 pixels (each channel keeps its top bits), for
// comparing drawings with stored reference images.
#include <memory>
#include <string>

#include "draw/PixelBuffer.h"

class PngReader {
public:
    // Any PNG colour type is accepted and converted to 8-bit RGB first; alpha is
    // dropped. Returns null with *error set to one line when the file is missing
    // or not a readable PNG.
    static std::unique_ptr<PixelBuffer> read(const std::string& path, std::string* error);
};
