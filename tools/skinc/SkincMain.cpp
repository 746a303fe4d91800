#include "tools/skinc/SkincMain.h"

#include <charconv>

#include "platform/TerminalText.h"
#include "platform/Utf16.h"
#include "skin/file/SkinFile.h"
#include "tools/skinc/SkinBuild.h"
#include "tools/skinc/SkinDump.h"

namespace {

int usage(std::ostream& err) {
    err << "usage: skinc SOURCE.json OUT.skin\n       skinc --dump [--dpi N] FILE.skin\n";
    return 2;
}

// Names and texts in an error come from the source or the skin and may hold
// anything; the terminal that shows the line gets them without control codes.
int failure(std::ostream& err, const std::string& line) {
    err << "skinc: " << terminal_text::clean_utf8(line) << "\n";
    return 1;
}

int dump(const std::string& file, int32_t dpi, std::ostream& out, std::ostream& err) {
    // Fonts open no face (size 0): the dump prints descriptions only.
    SkinFile::Makers makers = SkinFile::default_makers();
    makers.font = [](const FontDesc& desc) {
        FontDesc faceless = desc;
        faceless.size = 0;
        return FontRep::create(faceless);
    };
    std::string why;
    auto skin = SkinFile::load(utf16::from_utf8(file), dpi, makers, &why);
    if (!skin) return failure(err, file + ": not a loadable skin: " + why);
    out << dump_skin(*skin) << std::flush;
    if (!out) return failure(err, "cannot write the dump of " + file);
    return 0;
}

}  // namespace

int skinc_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && args[0] == "--dump") {
        int32_t dpi = 96;
        size_t at = 1;
        if (args.size() == 4 && args[1] == "--dpi") {
            const std::string& n = args[2];
            auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), dpi);
            if (ec != std::errc() || end != n.data() + n.size() || dpi <= 0) return usage(err);
            at = 3;
        }
        if (args.size() != at + 1) return usage(err);
        return dump(args[at], dpi, out, err);
    }
    if (args.size() != 2 || args[0].starts_with("-")) return usage(err);
    std::string error;
    if (!build_skin(args[0], args[1], &error)) return failure(err, error);
    return 0;
}
