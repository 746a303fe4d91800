#pragma once
// Generated skins for the benchmarks: one named form "form" whose root holds
// a vtable of rows (plain nodes and htables in turn) of sliced pictures,
// texts, colour marks and icons, compiled in-process with its pictures beside
// it. Sizes are set by a FormShape.
#include <filesystem>
#include <string>

#include "draw/Size.h"
#include "input/ScreenInfo.h"

namespace generated_skin {

inline constexpr Size kScreen{480, 800};

struct FormShape {
    int elements = 0;  // the root included
    int pictures = 0;
    int fonts = 0;
    // The form's "visibility_animation", or "" for none.
    std::string animation;
};

// Compiles the form into folder/name.skin with its pictures beside it; the
// path of the skin, or "" after printing why not.
std::u16string write_skin(const std::filesystem::path& folder, const std::string& name,
                          const FormShape& shape);

// A 480 x 800 screen at 96 dpi.
ScreenInfo screen_96();

}  // namespace generated_skin
