#include "tools/device/Progress.h"

void Progress::report(size_t done, size_t total) {
    if (total < kQuietBelow || done > total) return;
    int tenth = static_cast<int>(done * 10 / total);
    if (tenth <= last_tenth_) return;
    last_tenth_ = tenth;
    err_ << label_ << ": " << tenth * 10 << "% (" << done << " of " << total << ")\n";
    err_.flush();
}
