#pragma once
// Timing and memory readings for quillmo-bench: a monotonic clock, medians of
// repeated runs, and the process's resident memory.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double now_us() {
    using namespace std::chrono;
    return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Median wall time of `runs` calls of body, in microseconds. setup runs before
// each call, outside the timing.
inline double median_us(int runs, const std::function<void()>& body,
                        const std::function<void()>& setup = {}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup) setup();
        double start = now_us();
        body();
        times.push_back(now_us() - start);
    }
    return median(times);
}

// Resident memory of this process in bytes (from /proc/self/statm).
inline double resident_bytes() {
    long pages_total = 0, pages_resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages_total, &pages_resident) != 2) pages_resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(pages_resident) * 4096.0;
}

// One figure: "name value unit".
inline void report(const std::string& name, double value, const char* unit) {
    std::printf("%s %.3f %s\n", name.c_str(), value, unit);
    std::fflush(stdout);
}

// Reports the median wall time of `runs` calls of body as "name value us".
inline void report_median_us(const std::string& name, int runs, const std::function<void()>& body) {
    report(name, median_us(runs, body), "us");
}

}  // namespace bench
