#include "video/frame_buffer.h"

#include <algorithm>
#include <cstring>

#include "platform/vga.h"
#include "video/video_mode.h"

FrameBuffer frameBuffer;

void fillRect(int x1, int y1, int x2, int y2, uint8_t colour) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  x1 = std::max(x1, 0);
  y1 = std::max(y1, 0);
  x2 = std::min(x2, kScreenWidth - 1);
  y2 = std::min(y2, kScreenHeight - 1);
  if (x1 > x2) return;
  for (int y = y1; y <= y2; ++y) {
    std::memset(&frameBuffer.pixels[y * kScreenWidth + x1], colour, x2 - x1 + 1);
  }
}

static int clampRows(int rows) {
  return std::clamp(rows, 0, kScreenHeight);
}

void clearFrame(uint8_t colour, int rows) {
  std::memset(frameBuffer.pixels, colour, clampRows(rows) * kScreenWidth);
}

void showFrame(uint8_t colour, int rows) {
  if (videoMemory) {
    std::memcpy(videoMemory, frameBuffer.pixels, clampRows(rows) * kScreenWidth);
    vga_present();
  }
  clearFrame(colour, rows);
}

void copyFrame() {
  if (videoMemory) {
    std::memcpy(videoMemory, frameBuffer.pixels, kFrameBytes);
    vga_present();
  }
}
