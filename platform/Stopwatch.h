#pragma once
// Elapsed time for the timings in the log. Each lap restarts it, so
// consecutive laps time consecutive steps; elapsed_ms() reads it without
// restarting, so several readings time the steps of one operation from its
// start.
#include <chrono>

class Stopwatch {
public:
    double lap() {
        auto now = std::chrono::steady_clock::now();
        double seconds = std::chrono::duration<double>(now - start_).count();
        start_ = now;
        return seconds;
    }
    // Whole milliseconds since the start or the last lap.
    long long elapsed_ms() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
