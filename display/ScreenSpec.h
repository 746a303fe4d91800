#pragma once
// The handset screen that the program pretends to run on, from
// $QUILLMO_SCREEN = WIDTHxHEIGHT@DPI (default 480x800@192). The skins lay
// themselves out for this size and density whatever the desktop window is.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "draw/Size.h"
#include "input/ScreenInfo.h"

class ScreenSpec {
public:
    static constexpr const char* kVariable = "QUILLMO_SCREEN";
    static constexpr std::string_view kDefault = "480x800@192";
    static constexpr int32_t kMinSide = 16;
    static constexpr int32_t kMaxSide = 8192;
    static constexpr int32_t kMinDpi = 48;
    static constexpr int32_t kMaxDpi = 1200;

    // Reads text as WIDTHxHEIGHT@DPI: decimal digits only, a lower-case x,
    // width and height in kMinSide..kMaxSide, DPI in kMinDpi..kMaxDpi, no more
    // pixels than a PixelBuffer holds, nothing before or after. On a bad value
    // returns nothing and sets error to one line that names the variable, says
    // what is wrong and shows the expected form.
    static std::optional<ScreenSpec> parse(std::string_view text, std::string& error);

    // parse() of $QUILLMO_SCREEN, or of kDefault when the variable is unset or
    // empty.
    static std::optional<ScreenSpec> from_environment(std::string& error);

    Size size() const { return size_; }
    int32_t dpi() const { return dpi_; }

    // A fresh reading of this screen: client area = the whole screen at 0, 0,
    // orientation 4 (none reported), pixels_per_inch = DPI.
    ScreenInfo screen() const;

private:
    ScreenSpec(Size size, int32_t dpi) : size_(size), dpi_(dpi) {}

    Size size_;
    int32_t dpi_;
};
