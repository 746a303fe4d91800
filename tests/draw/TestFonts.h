#pragma once
// Linking TestFonts.cpp into a test program points fontconfig at tests/draw/
// fonts.conf (DejaVu and the colour emoji font only) and the device folder at
// a fresh temporary one, both before main runs, so no test sees the machine's
// other fonts or its log.
#include <memory>

#include "draw/text/FontDesc.h"
#include "draw/text/FontRep.h"

// DejaVu Sans (the baseline face) at a point size.
inline std::shared_ptr<const FontRep> dejavu(int size, bool bold = false) {
    FontDesc desc;
    desc.size = size;
    desc.bold = bold;
    desc.face = u"DejaVu Sans";
    return FontRep::create(desc);
}
