#pragma once
// How an "edit" element reaches the native edit box that lies over it while it
// has the focus. The application implements it and makes itself the current
// host for as long as its window exists; without a host (tests of the skin
// alone) elements simply stay unbound.
class EditElement;

class NativeEditHost {
public:
    virtual ~NativeEditHost() = default;

    // Binds the native edit box to element, or removes the binding when
    // element is null. Binding an element while none was bound creates the box
    // when create is set; every binding brings the box's rectangle and text in
    // step with the element. The element must outlive its binding: it removes
    // the binding itself when it is hidden or destroyed.
    virtual void bind_native_edit(EditElement* element, bool create) = 0;
    // The element the box serves, or null.
    virtual EditElement* bound_edit() const = 0;

    // The current host, or null.
    static NativeEditHost* current();
    // Makes host the current one (null: none). The application sets itself
    // once and clears it before it goes.
    static void set_current(NativeEditHost* host);
};
