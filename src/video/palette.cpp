#include "video/palette.h"

#include "platform/vga.h"

namespace {

// The sixteen text colours: bit 0 blue, bit 1 green, bit 2 red, bit 3 intensity.
constexpr void buildTextColours(PaletteTable& p) {
  for (int i = 0; i < 16; ++i) {
    int bright = (i >> 3) & 1;
    p.rgb[i][0] = static_cast<uint8_t>(42 * ((i >> 2) & 1) + 21 * bright);
    p.rgb[i][1] = static_cast<uint8_t>(42 * ((i >> 1) & 1) + 21 * bright);
    p.rgb[i][2] = static_cast<uint8_t>(42 * (i & 1) + 21 * bright);
  }
  p.rgb[6][1] = 21;  // brown, not dark yellow
}

constexpr void buildGreyRamp(PaletteTable& p) {
  constexpr uint8_t kGrey[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
  for (int i = 0; i < 16; ++i) p.rgb[16 + i][0] = p.rgb[16 + i][1] = p.rgb[16 + i][2] = kGrey[i];
}

// One circle of 24 hues from blue through magenta, red, yellow, green and cyan back to blue.
constexpr void buildHueCircle(PaletteTable& p, int first, const uint8_t (&level)[5]) {
  for (int k = 0; k < 24; ++k) {
    int j = k % 4;
    uint8_t up = level[j], down = level[4 - j], low = level[0], high = level[4];
    uint8_t r = 0, g = 0, b = 0;
    switch (k / 4) {
      case 0:
        r = up, g = low, b = high;
        break;
      case 1:
        r = high, g = low, b = down;
        break;
      case 2:
        r = high, g = up, b = low;
        break;
      case 3:
        r = down, g = high, b = low;
        break;
      case 4:
        r = low, g = high, b = up;
        break;
      default:
        r = low, g = down, b = high;
        break;
    }
    p.rgb[first + k][0] = r;
    p.rgb[first + k][1] = g;
    p.rgb[first + k][2] = b;
  }
}

constexpr PaletteTable buildDefaultPalette() {
  constexpr uint8_t kCircleLevels[9][5] = {
      {0, 16, 31, 47, 63}, {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
      {0, 7, 14, 21, 28},  {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
      {0, 4, 8, 12, 16},   {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16},
  };
  PaletteTable p{};
  buildTextColours(p);
  buildGreyRamp(p);
  for (int c = 0; c < 9; ++c) buildHueCircle(p, 32 + 24 * c, kCircleLevels[c]);
  return p;  // entries 248..255 stay black
}

}  // namespace

constinit const PaletteTable defaultPalette = buildDefaultPalette();

void loadPalette(int count, const PaletteTable& table) {
  for (int i = 0; i < count && i < 256; ++i) {
    vga_setpalette(i, table.rgb[i][0], table.rgb[i][1], table.rgb[i][2]);
  }
}

void setPaletteEntry(int index, int red, int green, int blue) {
  vga_setpalette(index, red, green, blue);
}
