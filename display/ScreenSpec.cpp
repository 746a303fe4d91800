#include "display/ScreenSpec.h"

#include <cstdlib>

#include "display/Orientation.h"
#include "draw/PixelBuffer.h"
#include "platform/TerminalText.h"

namespace {

// Takes the decimal number at the front of text (digits only, no sign or
// spaces). Stops counting past a bound far above any accepted value, so a
// long run of digits cannot overflow.
std::optional<int64_t> take_number(std::string_view& text) {
    size_t length = 0;
    int64_t value = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9') {
        if (value < 1'000'000'000) value = value * 10 + (text[length] - '0');
        ++length;
    }
    if (length == 0) return std::nullopt;
    text.remove_prefix(length);
    return value;
}

bool take_char(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

std::string range_text(int64_t low, int64_t high) {
    return std::to_string(low) + ".." + std::to_string(high);
}

}  // namespace

std::optional<ScreenSpec> ScreenSpec::parse(std::string_view text, std::string& error) {
    auto fail = [&](const std::string& why) {
        // The value comes from the environment: shown cleaned of control
        // characters, so it cannot drive the terminal that prints the line.
        error = std::string(kVariable) + "=\"" + terminal_text::clean_utf8(text) + "\": " + why +
                " (expected WIDTHxHEIGHT@DPI, e.g. " + std::string(kDefault) + ")";
        return std::nullopt;
    };
    std::string_view rest = text;
    std::optional<int64_t> width = take_number(rest);
    std::optional<int64_t> height;
    std::optional<int64_t> dpi;
    if (width && take_char(rest, 'x')) height = take_number(rest);
    if (height && take_char(rest, '@')) dpi = take_number(rest);
    if (!dpi || !rest.empty()) return fail("not a screen");
    if (*width < kMinSide || *width > kMaxSide)
        return fail("width " + std::to_string(*width) + " is outside " +
                    range_text(kMinSide, kMaxSide));
    if (*height < kMinSide || *height > kMaxSide)
        return fail("height " + std::to_string(*height) + " is outside " +
                    range_text(kMinSide, kMaxSide));
    if (*dpi < kMinDpi || *dpi > kMaxDpi)
        return fail("dpi " + std::to_string(*dpi) + " is outside " + range_text(kMinDpi, kMaxDpi));
    // Each side may be in range while the whole is more than one frame buffer
    // holds; such a screen would never be drawn.
    if (*width * *height > PixelBuffer::kMaxPixels)
        return fail("more than " + std::to_string(PixelBuffer::kMaxPixels) + " pixels");
    error.clear();
    return ScreenSpec({static_cast<int32_t>(*width), static_cast<int32_t>(*height)},
                      static_cast<int32_t>(*dpi));
}

std::optional<ScreenSpec> ScreenSpec::from_environment(std::string& error) {
    const char* value = std::getenv(kVariable);
    if (value == nullptr || *value == '\0') return parse(kDefault, error);
    return parse(value, error);
}

ScreenInfo ScreenSpec::screen() const {
    ScreenInfo info;
    info.width = size_.width;
    info.height = size_.height;
    info.client_origin = {0, 0};
    info.client_size = size_;
    info.orientation = orientation::kUpright;
    info.pixels_per_inch = dpi_;
    return info;
}
