#pragma once
// One smiley code of the smiley table: the characters typed in a message and
// the base name of its picture under "smiles/bin/". The picture (an animation
// strip: square frames side by side) and its mask are loaded on first use and
// kept for the table's lifetime.
#include <string>

#include "draw/pictures/Picture.h"

struct Smiley {
    std::u16string code;
    std::u16string name;
    Picture picture;
    Picture mask;
    // Set once loading was tried, so a missing file is looked for only once.
    bool loaded = false;
};
