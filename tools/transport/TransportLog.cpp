#include "tools/transport/TransportLog.h"

#include <cstdio>
#include <string>

#include "platform/Log.h"
#include "platform/TerminalText.h"

void transport_log::line(std::string_view what, std::string_view detail) {
    std::string text(what);
    if (!detail.empty()) text += ": " + terminal_text::clean_utf8(detail);
    std::fprintf(stderr, "quillmo-transport: %s\n", text.c_str());
    std::fflush(stderr);
    log() << text << u"\n";
}
