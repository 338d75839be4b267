// The off-screen frame: 320x200 palette indices that every screen draws into,
// and its presentation in video memory. Pixels outside the frame are never
// written and read as 0. showFrame copies then clears; copyFrame only copies.
#pragma once

#include <cstdint>

#include "platform/vga.h"

struct FrameBuffer {
  uint8_t pixels[kFrameBytes];
};

extern FrameBuffer frameBuffer;

inline void putPixel(int x, int y, uint8_t colour) {
  if (static_cast<unsigned>(x) < kScreenWidth && static_cast<unsigned>(y) < kScreenHeight) {
    frameBuffer.pixels[y * kScreenWidth + x] = colour;
  }
}

inline uint8_t getPixel(int x, int y) {
  if (static_cast<unsigned>(x) < kScreenWidth && static_cast<unsigned>(y) < kScreenHeight) {
    return frameBuffer.pixels[y * kScreenWidth + x];
  }
  return 0;
}

// Both corners included, in either order; only the part inside the frame is filled.
void fillRect(int x1, int y1, int x2, int y2, uint8_t colour);
// Rows 0..rows-1 of the frame set to colour.
void clearFrame(uint8_t colour, int rows);
// Rows 0..rows-1 copied to video memory and presented, then cleared to colour.
void showFrame(uint8_t colour, int rows);
// The whole frame copied to video memory and presented; the frame keeps its contents.
void copyFrame();
