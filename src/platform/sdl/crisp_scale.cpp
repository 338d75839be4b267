#include "platform/sdl/crisp_scale.h"

#include <algorithm>
#include <cstring>

#include "platform/vga.h"

namespace {

void prepareAxis(CrispAxis& axis, int source, int size) {
  axis.size = std::clamp(size, 0, kCrispMaxSide);
  for (int i = 0; i < axis.size; ++i) {
    int first = static_cast<int>(static_cast<int64_t>(i) * source / axis.size);
    // The part of the span past the first pixel's far edge, in 1/source of an output pixel.
    int64_t past = static_cast<int64_t>(i + 1) * source - static_cast<int64_t>(first + 1) * size;
    int weight = past <= 0
                     ? 0
                     : static_cast<int>(std::min<int64_t>((past * 256 + source / 2) / source, 256));
    if (first + 1 >= source) weight = 0;
    if (weight == 256) ++first, weight = 0;
    axis.first[i] = static_cast<uint16_t>(first);
    axis.weight[i] = static_cast<uint16_t>(weight);
  }
}

void scaleAcross(const CrispAxis& columns, const uint8_t* source, const uint32_t colours[256],
                 uint32_t* out) {
  for (int x = 0; x < columns.size; ++x) {
    const uint8_t* at = source + columns.first[x];
    uint32_t left = colours[at[0]];
    out[x] = columns.weight[x] ? mixPixels(left, colours[at[1]], columns.weight[x]) : left;
  }
}

const uint32_t* sourceLine(CrispScale& scale, int row, const uint8_t* indices,
                           const uint32_t colours[256]) {
  int slot = row & 1;
  if (scale.lineSource[slot] != row) {
    scaleAcross(scale.columns, indices + row * kScreenWidth, colours, scale.line[slot]);
    scale.lineSource[slot] = row;
  }
  return scale.line[slot];
}

}  // namespace

uint32_t mixPixels(uint32_t first, uint32_t second, uint32_t weight) {
  uint32_t keep = 256 - weight;
  uint32_t redBlue = ((first & 0xFF00FFu) * keep + (second & 0xFF00FFu) * weight) >> 8;
  uint32_t alphaGreen = ((first >> 8 & 0xFF00FFu) * keep + (second >> 8 & 0xFF00FFu) * weight);
  return (redBlue & 0xFF00FFu) | (alphaGreen & 0xFF00FF00u);
}

PictureArea pictureArea(int outputWidth, int outputHeight) {
  int width = outputWidth;
  int height = width * 3 / 4;
  if (height > outputHeight) {
    height = outputHeight;
    width = height * 4 / 3;
  }
  return PictureArea{(outputWidth - width) / 2, (outputHeight - height) / 2, width, height};
}

void prepareCrispScale(CrispScale& scale, int width, int height) {
  prepareAxis(scale.columns, kScreenWidth, width);
  prepareAxis(scale.rows, kScreenHeight, height);
}

void crispScale(CrispScale& scale, const uint8_t* indices, const uint32_t colours[256],
                void* pixels, int pitch) {
  scale.lineSource[0] = scale.lineSource[1] = -1;
  const size_t rowBytes = static_cast<size_t>(scale.columns.size) * sizeof(uint32_t);
  for (int y = 0; y < scale.rows.size; ++y) {
    auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + y * pitch);
    int row = scale.rows.first[y];
    const uint32_t* upper = sourceLine(scale, row, indices, colours);
    uint32_t weight = scale.rows.weight[y];
    if (weight == 0) {
      std::memcpy(out, upper, rowBytes);
      continue;
    }
    const uint32_t* lower = sourceLine(scale, row + 1, indices, colours);
    for (int x = 0; x < scale.columns.size; ++x) out[x] = mixPixels(upper[x], lower[x], weight);
  }
}
