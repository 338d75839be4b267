// The crisp pass: the 320x200 indexed picture scaled into a rectangle of 32-bit
// pixels, palette lookup included. Output column i covers the source span
// [i*320/W, (i+1)*320/W); it takes the source pixel the span starts in, blended
// with the next one by the share of the span that lies in it (rows alike). So
// each source pixel is repeated the largest whole number of times and only the
// output rows and columns that straddle two source pixels are mixed. Free of SDL.
#pragma once

#include <cstdint>

constexpr int kCrispMaxSide = 8192;

struct PictureArea {
  int x = 0, y = 0, width = 0, height = 0;
};

// Source pixel and the weight (0..255, of 256) of the one after it, per output row or column.
struct CrispAxis {
  int size = 0;
  uint16_t first[kCrispMaxSide];
  uint16_t weight[kCrispMaxSide];
};

struct CrispScale {
  CrispAxis columns, rows;
  int lineSource[2] = {-1, -1};     // which source row each line below holds
  uint32_t line[2][kCrispMaxSide];  // source rows scaled across
};

// The largest rectangle of the original display's 4:3 shape that fits the output, centred.
PictureArea pictureArea(int outputWidth, int outputHeight);
// Sets the pass up for an output of width x height pixels (each at most kCrispMaxSide).
void prepareCrispScale(CrispScale& scale, int width, int height);
// The 64000 indices through `colours` into rows `pitch` bytes apart, from `pixels` on.
void crispScale(CrispScale& scale, const uint8_t* indices, const uint32_t colours[256],
                void* pixels, int pitch);
// The two pixels mixed byte by byte, `weight`/256 of the second.
uint32_t mixPixels(uint32_t first, uint32_t second, uint32_t weight);
