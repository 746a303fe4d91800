#pragma once
// The base of every screen: an element tree built from one named skin node,
// with the screen's behaviour added by the derived form. A form is the root
// of its tree, keeps non-owning pointers to the children it works with (found
// by id after binding) and rebuilds itself in place when the skin or the
// language changes: it listens to its Properties for as long as it lives.
//
// Binding happens in load(), which every form overrides: bind to the node,
// then find the children. The constructor of the most derived form calls it
// (a base constructor cannot reach the override), and reload_skin calls it
// again. Every child pointer is found again on each load: the children of the
// earlier load are gone by then, and an optional child the new skin lacks is
// left null rather than pointing at one of them.
//
// A key that reaches a form presses the visible, enabled buttons bound to it
// ("bind_key"), so that a handset with keys only, or a desktop keyboard, can
// use every screen; character events are answered as not handled, as the
// element base does; pointer input goes through the element routing to the
// children.
#include <string>
#include <string_view>

#include "platform/Subscription.h"
#include "skin/ReloadListener.h"
#include "skin/elements/ButtonElement.h"
#include "skin/elements/ButtonListener.h"
#include "skin/elements/FormRoot.h"

class Properties;

class Form : public FormRoot, public ReloadListener {
public:
    // Registers with properties as a reload listener until the form goes.
    // Builds nothing yet: the derived form calls load() when it is complete.
    explicit Form(Properties& properties);
    // A form still on the FormStack is taken off it first (a fault of the
    // owner, logged), so the stack never keeps a pointer to a dead form.
    ~Form() override;

    // Runs load() again; the exceptions of binding pass through.
    void reload_skin(Properties& properties) override;
    // The FormStack gives this form the input focus. Nothing by default.
    virtual void focus();
    // Offers the key to every visible, enabled button of the form; handled
    // when one of them is bound to it.
    bool key(const KeyEvent& event) override;

    Properties& properties() const { return properties_; }

protected:
    // Binds the form to its node and finds its children.
    virtual void load() = 0;

    // Rebuilds the tree from the node of that name (destroying the children
    // of an earlier load) and marks it for layout and redraw. False, with
    // nothing changed, when the skin has no such node.
    bool bind(std::u16string_view node_name);
    // As bind, but a missing node throws NodeNotFoundInSkin(node_name).
    void bind_or_throw(std::u16string_view node_name);

    // The element with that id below the form (direct children first, then
    // each child's subtree in order), or null.
    Element* find_child(std::u16string_view id) const;
    // The same, null also when the element is not a T.
    template <class T>
    T* find_child(std::u16string_view id) const {
        return dynamic_cast<T*>(find_child(id));
    }

    // Stores the button with that id in slot and makes listener its listener.
    // Returns whether there is one; a missing button (or an element of another
    // kind) leaves slot null.
    bool bind_button(ButtonElement*& slot, std::u16string_view id, ButtonListener& listener);
    // As bind_button, but a missing button throws NodeNotFound(form id, id).
    void bind_required_button(ButtonElement*& slot, std::u16string_view id,
                              ButtonListener& listener);

    // Plain children (texts, lists, fields): stores the T with that id in
    // slot, or null, and clears the child's own listener where its kind has
    // one, so that it tells nobody until the form chooses a listener.
    template <class T>
    bool bind_child(T*& slot, std::u16string_view id) {
        slot = find_child<T>(id);
        if (slot) clear_listener(*slot);
        return slot != nullptr;
    }
    // As bind_child, but a missing child (or one of another kind) throws
    // NodeNotFound(form id, id).
    template <class T>
    T* bind_required(std::u16string_view id) {
        T* found = nullptr;
        if (!bind_child(found, id)) throw_missing(id);
        return found;
    }

    // The id the form reports in NodeNotFound: its own "id", or the name of
    // the node it was last bound to when the node gives none.
    std::u16string form_id() const;

private:
    template <class T>
    static void clear_listener(T& child) {
        if constexpr (requires { child.set_listener(nullptr); }) child.set_listener(nullptr);
    }
    [[noreturn]] void throw_missing(std::u16string_view id) const;

    Properties& properties_;
    std::u16string node_name_;
    Subscription reload_subscription_;
};
