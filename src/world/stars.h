// The star field above the caves: 801 fixed points, redrawn at random rows
// at each level start, painted before the ship's collision test.
#pragma once

#include <cstdint>

struct Star {
  int32_t x, y;
};

constexpr int kStarCount = 801;

extern Star stars[kStarCount];

void makeStars();
void drawStars();
