#include "widgets/list/ListPhysics.h"

#include <algorithm>
#include <cmath>

namespace list_physics {

double apply_friction(double velocity, double dt, bool braking) {
    double f = 2 * std::fabs(velocity) + 9;
    if (braking) f *= 5;
    if (velocity < 0) return std::min(velocity + f * dt, 0.0);
    if (velocity > 0) return std::max(velocity - f * dt, 0.0);
    return 0;
}

double spring_up(double velocity, double space, double dt) {
    if (space <= 0 || velocity >= 0) return velocity;
    return std::min(velocity + (space + 1) * kSpringRate * dt, 0.0);
}

double spring_down(double velocity, double overshoot, double dt) {
    if (overshoot <= 0 || velocity <= 0) return velocity;
    return std::max(velocity - (overshoot + 1) * kSpringRate * dt, 0.0);
}

double resistance(double beyond, double height) {
    if (beyond <= 0) return 1;
    if (height <= 0) return 0;
    return std::max(1 - 2 * beyond / height, 0.0);
}

double move_toward(double value, double target, double step) {
    if (value < target) return std::min(value + step, target);
    if (value > target) return std::max(value - step, target);
    return value;
}

double clamp_fling(double velocity) {
    if (std::isnan(velocity)) return 0;
    return std::clamp(velocity, -kMaxFling, kMaxFling);
}

}  // namespace list_physics
