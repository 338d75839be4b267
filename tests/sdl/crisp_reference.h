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

// Every output column's and row's shares, for a width x height picture.
struct ReferenceScale {
  std::vector<std::vector<std::pair<int, double>>> columns, rows;
};

inline ReferenceScale referenceScale(int width, int height) {
  ReferenceScale scale;
  for (int x = 0; x < width; ++x) scale.columns.push_back(spanShares(x, width, 320));
  for (int y = 0; y < height; ++y) scale.rows.push_back(spanShares(y, height, 200));
  return scale;
}

// The output pixel (x, y), as 8-bit red, green, blue.
inline std::array<double, 3> referencePixel(const ReferenceScale& scale, const uint8_t* indices,
                                            const std::array<uint8_t, 3>* colours, int x, int y) {
  std::array<double, 3> mixed{};
  for (auto [column, across] : scale.columns[x]) {
    for (auto [row, down] : scale.rows[y]) {
      const auto& colour = colours[indices[row * 320 + column]];
      for (int c = 0; c < 3; ++c) mixed[c] += colour[c] * across * down;
    }
  }
  return mixed;
}
