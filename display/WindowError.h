#pragma once
// A window that cannot be made: no display to open, an unknown video output.
// what() is one line for the terminal and the error box, saying what failed
// and what to do about it.
#include <stdexcept>
#include <string>

class WindowError : public std::runtime_error {
public:
    explicit WindowError(const std::string& line) : std::runtime_error(line) {}
};
