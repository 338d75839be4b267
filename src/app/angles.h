// Headings and rod angles are single precision; their sine and cosine are
// taken in double, as C's sin and cos take them, not with the float overloads.
#pragma once

#include <cmath>

inline double sine(float a) {
  return std::sin(static_cast<double>(a));
}
inline double cosine(float a) {
  return std::cos(static_cast<double>(a));
}
