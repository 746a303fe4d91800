#pragma once
// The two ways a command of quillmo-device ends in failure. Both carry the one
// line the user sees on stderr; the exit status tells scripts which kind it was.
#include <stdexcept>
#include <string>

class ToolError : public std::runtime_error {
public:
    static constexpr int kFailure = 1;  // the command could not do its work
    static constexpr int kUsage = 2;    // the command line is wrong (or no device folder)

    ToolError(int status, const std::string& message)
        : std::runtime_error(message), status_(status) {}

    int status() const { return status_; }

private:
    int status_;
};

inline ToolError usage_error(const std::string& message) {
    return ToolError(ToolError::kUsage, message);
}
inline ToolError failure(const std::string& message) {
    return ToolError(ToolError::kFailure, message);
}
