#include "video/draw.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "video/frame_buffer.h"

// One pixel per step of the major axis, drawn from the end with the smaller
// major coordinate; the minor offset is truncated, not rounded, from a
// single-precision slope, so a line can end a pixel short of its end point.
void drawLine(int x1, int y1, int x2, int y2, uint8_t colour) {
  int dx = x2 - x1;
  int dy = y2 - y1;
  if (dx == 0 && dy == 0) {
    putPixel(x1, y1, colour);
    return;
  }
  if (std::abs(dx) > std::abs(dy)) {
    float slope = static_cast<float>(dy) / static_cast<float>(dx);
    if (x2 < x1) std::swap(x1, x2), std::swap(y1, y2);
    for (int x = x1; x <= x2; ++x) {
      putPixel(x, y1 + static_cast<int>(static_cast<double>(x - x1) * slope), colour);
    }
  } else {
    float slope = static_cast<float>(dx) / static_cast<float>(dy);
    if (y2 < y1) std::swap(x1, x2), std::swap(y1, y2);
    for (int y = y1; y <= y2; ++y) {
      putPixel(x1 + static_cast<int>(static_cast<double>(y - y1) * slope), y, colour);
    }
  }
}

void drawCircle(int cx, int cy, int radius, uint8_t colour) {
  int limit = static_cast<int>(radius / std::sqrt(2.0));
  for (int i = 0; i <= limit; ++i) {
    int64_t squared = int64_t{radius} * radius - int64_t{i} * i;
    int h = static_cast<int>(std::sqrt(static_cast<double>(squared)) + 0.5);
    putPixel(cx + i, cy + h, colour);
    putPixel(cx + i, cy - h, colour);
    putPixel(cx - i, cy + h, colour);
    putPixel(cx - i, cy - h, colour);
    putPixel(cx + h, cy + i, colour);
    putPixel(cx + h, cy - i, colour);
    putPixel(cx - h, cy + i, colour);
    putPixel(cx - h, cy - i, colour);
  }
}

void drawSprite16(int x, int y, const uint8_t* image) {
  if (x >= 0 && y >= 0 && x + 16 <= kScreenWidth && y + 16 <= kScreenHeight) {
    for (int r = 0; r < 16; ++r) {
      std::memcpy(&frameBuffer.pixels[(y + r) * kScreenWidth + x], &image[r * 16], 16);
    }
    return;
  }
  for (int r = 0; r < 16; ++r) {
    if (y + r < 0 || y + r >= kScreenHeight) continue;
    for (int c = 0; c < 16; ++c) {
      if (x + c < 0 || x + c >= kScreenWidth) continue;
      putPixel(x + c, y + r, image[r * 16 + c]);
    }
  }
}
