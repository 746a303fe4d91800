#pragma once
// Told whenever an element's width or height is set by layout, so that a form
// can follow a child whose extent follows its content.
#include <cstdint>

class Element;

class LayoutObserver {
public:
    virtual ~LayoutObserver() = default;
    virtual void width_changed(Element& element, int32_t width) = 0;
    virtual void height_changed(Element& element, int32_t height) = 0;
};
