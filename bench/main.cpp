// quillmo-bench: prints one line per figure, "name value unit". Figures are
// medians of repeated runs; the plain names are measured at 100,000 messages
// in 1,000 chats, and the same names with "@1000" and "@10000" show how the
// cost grows with the store. The contacts figures use 5,000 cards and 1,000
// chats.
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/ContactsBench.h"
#include "bench/ModelBench.h"

int main(int argc, char** argv) {
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf(
                "usage: quillmo-bench [--quick]\n"
                "Prints one line per figure: name value unit.\n"
                "  --quick  only the 1,000 and 10,000 message sizes\n");
            return 0;
        }
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
        } else {
            std::fprintf(stderr, "quillmo-bench: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    // The model logs through the registry's "Log" switch; benchmarks run
    // with logging off, as users do.
    if (!ModelBench(1000, 10, "@1000").run()) return 1;
    if (!ModelBench(10000, 100, "@10000").run()) return 1;
    if (!quick && !ModelBench(100000, 1000, "").run()) return 1;
    if (!ContactsBench().run()) return 1;
    return 0;
}
