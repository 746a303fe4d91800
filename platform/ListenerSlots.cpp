#include "platform/ListenerSlots.h"

#include <algorithm>

ListenerSlots::Id ListenerSlots::add(void* listener) {
    Id id = next_id_++;
    slots_.push_back({id, listener});
    return id;
}

void ListenerSlots::remove(Id id) {
    auto it = std::find_if(slots_.begin(), slots_.end(),
                           [id](const Slot& slot) { return slot.id == id; });
    if (it == slots_.end() || it->listener == nullptr) return;
    if (walking_ == 0) {
        slots_.erase(it);
        return;
    }
    // A walk may be at or before this slot: it stays as a hole until the walk
    // ends, so the positions the walk counts on do not move.
    it->listener = nullptr;
    ++holes_;
}

bool ListenerSlots::holds(Id id) const {
    return std::any_of(slots_.begin(), slots_.end(), [id](const Slot& slot) {
        return slot.id == id && slot.listener != nullptr;
    });
}

void ListenerSlots::erase_holes() {
    std::erase_if(slots_, [](const Slot& slot) { return slot.listener == nullptr; });
    holes_ = 0;
}
