#pragma once
// Who hears of the changes of an "edit" element's text (a form, or the
// label_edit around it).
class EditElement;

class EditListener {
public:
    virtual ~EditListener() = default;
    // The element's text is now a different one: typed, pasted, cleared or
    // set by the program.
    virtual void text_changed(EditElement& element) = 0;
};
