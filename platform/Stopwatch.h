#pragma once
// Elapsed time in seconds for the load timings in the log. Each reading
// restarts it, so consecutive readings time consecutive steps.
#include <chrono>

class Stopwatch {
public:
    double lap() {
        auto now = std::chrono::steady_clock::now();
        double seconds = std::chrono::duration<double>(now - start_).count();
        start_ = now;
        return seconds;
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
