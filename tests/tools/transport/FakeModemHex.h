#pragma once
// Texts on the fake ModemManager's command line travel as hexadecimal ("-" for
// an empty one), so that any bytes, spaces and line breaks included, pass.
#include <string>

namespace fake_modem_hex {

inline std::string to_hex(const std::string& bytes) {
    if (bytes.empty()) return "-";
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

inline std::string from_hex(const std::string& hex) {
    std::string out;
    if (hex == "-") return out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

}  // namespace fake_modem_hex
