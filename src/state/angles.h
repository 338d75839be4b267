// Headings and rod angles are single precision; their sine and cosine are
// taken in double, as C's sin and cos take them, not with the float overloads.
// Pi for the whole program and its tools.
#pragma once

#include <cmath>
#include <numbers>

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * kPi;

inline double sine(float a) {
  return std::sin(static_cast<double>(a));
}
inline double cosine(float a) {
  return std::cos(static_cast<double>(a));
}
