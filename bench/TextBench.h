#pragma once
// Figures of text: one wrapped 160-character message (Latin and Cyrillic)
// laid out and drawn into a chat bubble, and measuring the same text; and a
// line of ten emoji sequences measured and drawn. All with the glyphs
// already cached, as on every redraw after the first.
class TextBench {
public:
    bool run();
};
