#pragma once
// What a multinode tells the form that set itself as its listener.
#include "skin/elements/ButtonListener.h"

class MultinodeElement;

class MultinodeListener {
public:
    virtual ~MultinodeListener() = default;
    // The current page's button was clicked (without a listener the
    // multinode turns to the next page instead).
    virtual void page_clicked(MultinodeElement& multinode, const ButtonListener::Click& info) = 0;
    // Another page is shown; flag as passed to select or next.
    virtual void page_changed(MultinodeElement& multinode, int32_t flag) = 0;
    // Forwarded from the current page's button.
    virtual void state_changed(MultinodeElement& multinode,
                               const ButtonListener::StateChange& info) = 0;
};
