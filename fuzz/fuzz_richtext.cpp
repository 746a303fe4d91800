// libFuzzer target for rich text: the bytes are a message (UTF-16LE, a stray
// last byte dropped), scanned against a small smiley table and laid out in a
// narrow wrapping element, with every alignment in turn. The tokens must
// cover the text exactly, and every link token must be a link or a phone
// number by the scanner's own tests; anything else stops the target.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "draw/text/FontDesc.h"
#include "draw/text/FontRep.h"
#include "widgets/richtext/RichScanner.h"
#include "widgets/richtext/RichTextElement.h"
#include "widgets/richtext/SmileyTable.h"

namespace {

// The table's pictures are missing on purpose: their codes vanish from the
// laid-out text, the rarer path.
const SmileyTable& table() {
    static std::unique_ptr<SmileyTable> made = [] {
        auto path = std::filesystem::temp_directory_path() / "fuzz_richtext_names.txt";
        std::ofstream(path) << "a=:) :-) ;)\nb=:-\nc=8)  B)\n";
        return std::make_unique<SmileyTable>(path.u16string(), u"/nonexistent/");
    }();
    return *made;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("FONTCONFIG_FILE", QUILLMO_FUZZ_FONTS_CONF, 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));

    int32_t end = 0;
    for (const RichToken& token : RichScanner::scan(text, &table())) {
        if (token.start != end || token.length <= 0) std::abort();
        std::u16string_view piece = std::u16string_view(text).substr(
            static_cast<size_t>(token.start), static_cast<size_t>(token.length));
        if (token.kind == RichToken::LINK && !RichScanner::is_link(piece) &&
            !RichScanner::is_phone_number(piece))
            std::abort();
        end = token.start + token.length;
    }
    if (static_cast<size_t>(end) != text.size()) std::abort();

    static auto font = FontRep::create(FontDesc::application());
    RichTextElement element;
    element.set_wrap(size % 2 == 0);
    for (int32_t halign = 0; halign < 4; ++halign) {
        element.set_halign(halign);
        element.set_text(text, &table(), font, font, {0, 0, 0, 255}, {0, 0, 255, 255}, nullptr);
        element.set_x_extent(0, 60);
        element.set_y_extent(0, 40);
    }
    return 0;
}
