#pragma once
// One smiley code of the smiley table: the characters typed in a message and
// the base name of its picture under "smiles/bin/". The picture (an animation
// strip: square frames side by side) and its mask are loaded on first use and
// kept for the table's lifetime, and so are the strips drawn for dense
// screens (NAME@2x, NAME@4x) once a screen asks for them.
#include <string>

#include "draw/pictures/Picture.h"

// A strip drawn for one density, with its mask; empty when there is none
// that fits.
struct SmileyVariant {
    Picture picture;
    Picture mask;
    bool loaded = false;
};

struct Smiley {
    std::u16string code;
    std::u16string name;
    Picture picture;
    Picture mask;
    // Set once loading was tried, so a missing file is looked for only once.
    bool loaded = false;
    // For scale shift 1 and 2.
    SmileyVariant dense[2];
};
