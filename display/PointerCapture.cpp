#include "display/PointerCapture.h"

#include <utility>

namespace {

WindowEvent capture_changed() {
    WindowEvent event;
    event.kind = WindowEvent::Kind::CaptureChanged;
    return event;
}

}  // namespace

void PointerCapture::set(bool on, EventQueue& events) {
    if (on) {
        held_ = true;
    } else if (held_) {
        held_ = false;
        events.push_front(capture_changed());
    }
}

void PointerCapture::before_delivery(WindowEvent& event, EventQueue& events) {
    if (event.kind != WindowEvent::Kind::Deactivate || !held_) return;
    held_ = false;
    events.push_front(std::exchange(event, capture_changed()));
}
