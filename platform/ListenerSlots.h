#pragma once
// The registered listeners of one subject, whatever their interface: the
// untyped core of ListenerList. Every registration gets an id of its own, so
// that the Subscription handed out for it can end it without knowing the
// listener's type, and one listener may be registered twice.
//
// A walk (for_each) tells the listeners registered when it starts, in the
// order they were added. One removed meanwhile, by itself or by another
// listener while being told, is skipped: it is never called after it went.
// One added meanwhile is told from the next walk on. Walks may nest, as when
// a listener's reaction makes the subject tell its listeners again.
//
// Single-threaded.
#include <cstddef>
#include <cstdint>
#include <vector>

class ListenerSlots {
public:
    using Id = uint64_t;

    // Registers the listener (not owned) and returns the registration's id.
    Id add(void* listener);
    // Ends the registration with this id; an id no longer registered does
    // nothing.
    void remove(Id id);
    // Whether the registration with this id is in force.
    bool holds(Id id) const;
    // The registrations in force.
    size_t size() const { return slots_.size() - holes_; }

    // Calls tell(listener) for the listeners as described above. An exception
    // from tell ends the walk and leaves the slots as sound as a finished walk.
    template <class Tell>
    void for_each(Tell&& tell) {
        Walk walk(*this);
        // Slots added during the walk lie beyond end; none is erased before
        // the outermost walk ends, so the positions stay put.
        const size_t end = slots_.size();
        for (size_t i = 0; i < end; ++i)
            if (void* listener = slots_[i].listener) tell(listener);
    }

private:
    struct Slot {
        Id id;
        void* listener;  // null: removed during a walk, erased when it ends
    };

    class Walk {
    public:
        explicit Walk(ListenerSlots& slots) : slots_(slots) { ++slots_.walking_; }
        ~Walk() {
            if (--slots_.walking_ == 0 && slots_.holes_ != 0) slots_.erase_holes();
        }
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;

    private:
        ListenerSlots& slots_;
    };

    void erase_holes();

    std::vector<Slot> slots_;
    Id next_id_ = 1;
    int walking_ = 0;
    size_t holes_ = 0;
};
