// Reading the runner's screen shots: texts in the game's font, rings drawn
// with the game's own circle routine, and counts of colours.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "video/draw.h"
#include "video/frame_buffer.h"
#include "video/text.h"

using ShotPixels = std::vector<unsigned char>;

inline uint8_t shotPixel(const ShotPixels& shot, int x, int y) {
  if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight) return 0;
  return shot[static_cast<size_t>(y * kScreenWidth + x)];
}

// Every set pixel of the text's glyphs has the colour in the shot.
inline bool shotShowsText(const ShotPixels& shot, int x, int y, uint8_t colour,
                          const std::string& text) {
  if (shot.size() != kFrameBytes) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t* rows = fontGlyphs.rows[static_cast<unsigned char>(text[i])];
    for (int r = 0; r < 5; ++r) {
      for (int k = 0; k < 3; ++k) {
        if (((rows[r] >> (2 - k)) & 1) &&
            shotPixel(shot, x + 4 * static_cast<int>(i) + k, y + r) != colour) {
          return false;
        }
      }
    }
  }
  return true;
}

inline bool shotShowsNumber(const ShotPixels& shot, int x, int y, uint8_t colour, int value) {
  const std::string digits = std::to_string(value);
  return shotShowsText(shot, x - 4 * (static_cast<int>(digits.size()) - 1), y, colour, digits);
}

inline int countColours(const ShotPixels& shot, std::initializer_list<int> colours) {
  int count = 0;
  for (unsigned char pixel : shot) {
    for (int colour : colours) count += pixel == colour ? 1 : 0;
  }
  return count;
}

inline int countColoursIn(const ShotPixels& shot, int x1, int y1, int x2, int y2,
                          std::initializer_list<int> colours) {
  int count = 0;
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) {
      for (int colour : colours) count += shotPixel(shot, x, y) == colour ? 1 : 0;
    }
  }
  return count;
}

// Whether a whole circle of this radius and colour, as the game draws it, is in the shot.
inline bool shotHasRing(const ShotPixels& shot, int cx, int cy, int radius, uint8_t colour) {
  clearFrame(0, kScreenHeight);
  drawCircle(cx, cy, radius, 255);
  bool whole = true;
  for (int i = 0; i < kFrameBytes && whole; ++i) {
    if (frameBuffer.pixels[i] == 255 && shot[static_cast<size_t>(i)] != colour) whole = false;
  }
  clearFrame(0, kScreenHeight);
  return whole;
}

// The radius of the largest ring of this colour centred near the middle of the view, or 0.
inline int largestRingNearCentre(const ShotPixels& shot, uint8_t colour) {
  for (int radius = 45; radius >= 6; --radius) {
    for (int cy = 70; cy <= 150; ++cy) {
      for (int cx = 140; cx <= 180; ++cx) {
        if (shotPixel(shot, cx, cy - radius) == colour &&
            shotHasRing(shot, cx, cy, radius, colour)) {
          return radius;
        }
      }
    }
  }
  return 0;
}
