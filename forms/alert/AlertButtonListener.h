#pragma once
// What the new-message alert tells its owner: which of its buttons was
// pressed (FormAlert::kView or FormAlert::kCancel).
#include <cstdint>

class AlertButtonListener {
public:
    virtual ~AlertButtonListener() = default;
    virtual void alert_button(int32_t id) = 0;
};
