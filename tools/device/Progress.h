#pragma once
// Progress of a long store operation on stderr: one line at every tenth of the
// work ("importing: 40% (40000 of 100000)"), and nothing for small jobs, whose
// output stays quiet for scripts.
#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

class Progress {
public:
    static constexpr size_t kQuietBelow = 5000;

    Progress(std::ostream& err, std::string label) : err_(err), label_(std::move(label)) {}

    void report(size_t done, size_t total);
    // A callback for StoreDatabase::add_messages; the Progress must outlive it.
    std::function<void(size_t, size_t)> callback() {
        return [this](size_t done, size_t total) { report(done, total); };
    }

private:
    std::ostream& err_;
    std::string label_;
    int last_tenth_ = 0;
};
