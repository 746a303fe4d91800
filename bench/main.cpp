// quillmo-bench: prints one line per figure, "name value unit". Figures are
// medians of repeated runs; the plain model names are measured at 100,000
// messages in 1,000 chats, and the same names with "@1000" and "@10000" show
// how the cost grows with the store. The contacts figures use 5,000 cards and
// 1,000 chats; the drawing figures a 480x800 surface; the skin figures
// generated skins (see SkinBench.h).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "bench/AppBench.h"
#include "bench/ContactsBench.h"
#include "bench/ListBench.h"
#include "bench/ModelBench.h"
#include "bench/ProgramBench.h"
#include "bench/RichTextBench.h"
#include "bench/SkinBench.h"
#include "bench/SurfaceBench.h"
#include "bench/TextBench.h"
#include "bench/TransportBench.h"

namespace {

const char kUsage[] =
    "usage: quillmo-bench [--quick] [GROUP...]\n"
    "Prints one line per figure: name value unit.\n"
    "  GROUP    model, contacts, surface, text, richtext, skin, lists, app, program or\n"
    "           transport; all groups when none is named\n"
    "  --quick  the model only at the 1,000 and 10,000 message sizes\n";

// The folder of this executable, where the build puts quillmo beside it.
std::string program_dir() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : self.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false;
    std::set<std::string> groups;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help") {
            std::printf("%s", kUsage);
            return 0;
        }
        if (arg == "--quick") {
            quick = true;
        } else if (arg == "model" || arg == "contacts" || arg == "surface" || arg == "text" ||
                   arg == "richtext" || arg == "skin" || arg == "lists" || arg == "app" ||
                   arg == "program" || arg == "transport") {
            groups.insert(arg);
        } else {
            std::fprintf(stderr, "quillmo-bench: unknown argument %s\n%s", argv[i], kUsage);
            return 2;
        }
    }
    auto wanted = [&](const char* group) { return groups.empty() || groups.count(group) > 0; };
    // The model logs through the registry's "Log" switch; benchmarks run in
    // folders of their own, with logging off, as users do.
    if (wanted("model")) {
        if (!ModelBench(1000, 10, "@1000").run()) return 1;
        if (!ModelBench(10000, 100, "@10000").run()) return 1;
        if (!quick && !ModelBench(100000, 1000, "").run()) return 1;
    }
    if (wanted("contacts") && !ContactsBench().run()) return 1;
    if (wanted("surface")) SurfaceBench().run();
    if (wanted("text") && !TextBench().run()) return 1;
    if (wanted("richtext") && !RichTextBench(program_dir()).run()) return 1;
    if (wanted("skin") && !SkinBench().run()) return 1;
    if (wanted("lists") && !ListBench().run()) return 1;
    if (wanted("app") && !AppBench(program_dir()).run()) return 1;
    if (wanted("program") && !ProgramBench(program_dir()).run()) return 1;
    if (wanted("transport") && !TransportBench(program_dir()).run()) return 1;
    return 0;
}
