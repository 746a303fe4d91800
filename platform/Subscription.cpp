#include "platform/Subscription.h"

#include <utility>

Subscription::Subscription(Subscription&& other) noexcept
    : slots_(std::move(other.slots_)), id_(std::exchange(other.id_, 0)) {}

Subscription& Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        slots_ = std::move(other.slots_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void Subscription::reset() {
    if (std::shared_ptr<ListenerSlots> slots = slots_.lock()) slots->remove(id_);
    slots_.reset();
    id_ = 0;
}

bool Subscription::active() const {
    std::shared_ptr<ListenerSlots> slots = slots_.lock();
    return slots != nullptr && slots->holds(id_);
}
