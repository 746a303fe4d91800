#pragma once
// Narrows a surface's clip for the lifetime of the scope: the new clip is the
// old one intersected with position..position+size. The old clip comes back
// when the scope ends. Scopes nest strictly (last opened, first closed), and a
// surface cannot be recreated while any is open.
#include "draw/Point.h"
#include "draw/Rect.h"
#include "draw/Size.h"

class RenderSurface;

class ClipScope {
public:
    ClipScope(RenderSurface& surface, Point position, Size size);
    ~ClipScope();
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    RenderSurface& surface_;
    Rect saved_;
};
