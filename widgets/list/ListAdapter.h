#pragma once
// The data behind a "vlist": the form that owns the list makes its rows and
// hears of taps. Rows are made on demand and thrown away when they leave the
// view, so create_row must be able to make any row again at any time.
#include <memory>

class Element;
class VListElement;

class ListAdapter {
public:
    virtual ~ListAdapter() = default;
    // A new row element for index (0 <= index < the list's count), or null
    // when there is none: the list then drops that index from its count.
    virtual std::unique_ptr<Element> create_row(VListElement& list, int index) = 0;
    // A row that does not handle the stylus itself was tapped. The list is
    // done with the event when this is called: the adapter may reset or
    // refill it, but must not destroy it.
    virtual void row_tapped(VListElement& list, int index) = 0;
};
