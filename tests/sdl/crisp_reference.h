// The crisp scaling rule written the plain way, for the tests to hold the
// backend's pass against: every output pixel is the average of the source
// pixels under it, weighted by the share of its span each one covers.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

// The source pixels an output pixel's span covers along one axis, with their shares.
inline std::vector<std::pair<int, double>> spanShares(int output, int outputSize, int sourceSize) {
  double from = static_cast<double>(output) * sourceSize / outputSize;
  double to = static_cast<double>(output + 1) * sourceSize / outputSize;
  std::vector<std::pair<int, double>> shares;
  for (int pixel = static_cast<int>(from); pixel < to && pixel < sourceSize; ++pixel) {
    double covered = std::min<double>(to, pixel + 1) - std::max<double>(from, pixel);
    if (covered > 1e-9) shares.emplace_back(pixel, covered / (to - from));
  }
  return shares;
}

// The output pixel (x, y) of a width x height picture, as 8-bit red, green, blue.
inline std::array<double, 3> referencePixel(const uint8_t* indices,
                                            const std::array<uint8_t, 3>* colours, int x, int y,
                                            int width, int height) {
  std::array<double, 3> mixed{};
  for (auto [column, across] : spanShares(x, width, 320)) {
    for (auto [row, down] : spanShares(y, height, 200)) {
      const auto& colour = colours[indices[row * 320 + column]];
      for (int c = 0; c < 3; ++c) mixed[c] += colour[c] * across * down;
    }
  }
  return mixed;
}

// True when one source pixel alone lies under the output pixel.
inline bool coversOnePixel(int x, int y, int width, int height) {
  return spanShares(x, width, 320).size() == 1 && spanShares(y, height, 200).size() == 1;
}
