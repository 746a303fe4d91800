#include "app/KeyTable.h"

namespace {

struct Row {
    int32_t virtual_key;
    KeyCode code;
};

// Backspace comes before escape, so a scripted "Backspace" presses backspace.
constexpr Row kRows[] = {
    {16, KeyCode::Shift},       {17, KeyCode::Ctrl},      {18, KeyCode::Alt},
    {37, KeyCode::Left},        {39, KeyCode::Right},     {38, KeyCode::Up},
    {40, KeyCode::Down},        {13, KeyCode::Enter},     {32, KeyCode::Space},
    {8, KeyCode::Backspace},    {27, KeyCode::Backspace}, {46, KeyCode::Del},
    {45, KeyCode::Insert},      {36, KeyCode::Home},      {35, KeyCode::End},
    {34, KeyCode::PageDown},    {33, KeyCode::PageUp},    {9, KeyCode::Tab},
    {93, KeyCode::ContextMenu}, {119, KeyCode::Star},     {120, KeyCode::Hash},
    {114, KeyCode::CallMake},   {115, KeyCode::CallEnd},  {112, KeyCode::SoftLeft},
    {113, KeyCode::SoftRight},  {117, KeyCode::VolumeUp}, {118, KeyCode::VolumeDown},
};

}  // namespace

KeyCode KeyTable::from_virtual_key(int32_t virtual_key) {
    if (virtual_key >= 65 && virtual_key <= 90)
        return static_cast<KeyCode>(static_cast<int32_t>(KeyCode::A) + virtual_key - 65);
    if (virtual_key >= 48 && virtual_key <= 57)
        return static_cast<KeyCode>(static_cast<int32_t>(KeyCode::Digit0) + virtual_key - 48);
    for (const Row& row : kRows)
        if (row.virtual_key == virtual_key) return row.code;
    return KeyCode::None;
}

std::optional<int32_t> KeyTable::virtual_key_for(KeyCode code) {
    auto n = static_cast<int32_t>(code);
    if (code >= KeyCode::A && code <= KeyCode::Z) return 65 + n - static_cast<int32_t>(KeyCode::A);
    if (code >= KeyCode::Digit0 && code <= KeyCode::Digit9)
        return 48 + n - static_cast<int32_t>(KeyCode::Digit0);
    for (const Row& row : kRows)
        if (row.code == code) return row.virtual_key;
    return std::nullopt;
}
