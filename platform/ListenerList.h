#pragma once
// The listeners of one subject, each of interface Listener, registered through
// a Subscription that ends the registration when it goes. The subject tells
// them with for_each; ListenerSlots says who is told when listeners come and
// go meanwhile.
//
// Listeners are not owned. Single-threaded.
#include <cstddef>
#include <memory>

#include "platform/ListenerSlots.h"
#include "platform/Subscription.h"

template <class Listener>
class ListenerList {
public:
    ListenerList() = default;
    ListenerList(const ListenerList&) = delete;
    ListenerList& operator=(const ListenerList&) = delete;

    // Registers the listener until the returned handle goes (or is reset).
    [[nodiscard]] Subscription add(Listener& listener) {
        return Subscription(slots_, slots_->add(&listener));
    }

    // Calls tell(listener) for each listener, in the order they were added.
    template <class Tell>
    void for_each(Tell&& tell) {
        // Held for the walk, so that a listener that destroys the subject
        // does not pull the slots from under it.
        std::shared_ptr<ListenerSlots> slots = slots_;
        slots->for_each([&tell](void* listener) { tell(*static_cast<Listener*>(listener)); });
    }

    size_t size() const { return slots_->size(); }
    bool empty() const { return size() == 0; }

private:
    std::shared_ptr<ListenerSlots> slots_ = std::make_shared<ListenerSlots>();
};
