#pragma once
// Told when a link or phone number in a rich text element is tapped. The
// link comes as text: whoever acts on it (the link form) decides what it is
// by testing it again with RichScanner::is_link (a phone number is not a
// link). It is never meant for a shell.
#include <string_view>

class RichTextPiece;

class LinkListener {
public:
    // link is the whole link, even when it was broken across lines and the
    // tap hit one piece of it; piece is the text element tapped.
    virtual void link_pressed(std::u16string_view link, RichTextPiece& piece) = 0;

protected:
    ~LinkListener() = default;
};
