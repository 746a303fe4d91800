#pragma once
// One registration of a listener with a subject, ended when the handle goes.
// A form keeps the handles of everything it listens to as members, so that it
// can never be told anything after it is destroyed, whichever of the two goes
// first: a subject that went before its listeners leaves their handles
// inactive, and ending them then does nothing.
//
// Move-only. A default-made or moved-from handle holds no registration.
#include <memory>

#include "platform/ListenerSlots.h"

class Subscription {
public:
    Subscription() = default;
    // Takes over the registration id of slots; ListenerList::add makes these.
    Subscription(std::weak_ptr<ListenerSlots> slots, ListenerSlots::Id id)
        : slots_(std::move(slots)), id_(id) {}
    ~Subscription() { reset(); }

    Subscription(Subscription&& other) noexcept;
    // Ends the registration held before taking over other's.
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    // Ends the registration now; also while the subject is telling its
    // listeners, in which case this listener is not told again.
    void reset();
    // True while the registration is in force.
    bool active() const;

private:
    std::weak_ptr<ListenerSlots> slots_;
    ListenerSlots::Id id_ = 0;
};
