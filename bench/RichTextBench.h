#pragma once
// Figures of rich text: a 160-character message with two links and three
// smileys scanned and laid out in a wrapping chat bubble (glyphs and smiley
// pictures cached, as on every message after the first), and scanning 1 MB
// of message-like text.
#include <string>

class RichTextBench {
public:
    // program_dir holds the smiles/ folder.
    explicit RichTextBench(std::string program_dir) : program_dir_(std::move(program_dir)) {}
    bool run();

private:
    std::string program_dir_;
};
