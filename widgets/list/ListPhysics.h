#pragma once
// The motion rules of a scrolling list, as plain functions of numbers: the
// friction that slows a fling, the springs that stop it past either end, the
// resistance of a drag past an end, and the even moves of the return and of
// row heights. Velocities are pixels per second, positive downward.
namespace list_physics {

constexpr double kMaxFling = 2000;
constexpr double kReturnSpeed = 400;
constexpr double kRowSpeed = 200;
constexpr double kSpringRate = 50;

// The velocity after dt seconds of friction 2 |v| + 9 (five times that while
// braking under a stylus held on no row). Friction stops, it never reverses.
double apply_friction(double velocity, double dt, bool braking);
// The springs while moving: past the bottom end by space > 0 while moving up,
// or past the top end by overshoot > 0 while moving down, the velocity loses
// (distance + 1) * 50 * dt toward 0 and never changes sign.
double spring_up(double velocity, double space, double dt);
double spring_down(double velocity, double overshoot, double dt);
// The share of a drag that moves the content when it already lies beyond an
// end by beyond pixels in a list height pixels high: 1 - 2 beyond / height,
// never below 0.
double resistance(double beyond, double height);
// value moved toward target by at most step, stopping exactly on it.
double move_toward(double value, double target, double step);
// A fling velocity within -2000..2000.
double clamp_fling(double velocity);

}  // namespace list_physics
