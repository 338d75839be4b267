#include "platform/sdl/argb_picture.h"

#include "platform/vga.h"

uint32_t shownColour(const uint8_t rgb[3]) {
  auto eightBit = [](uint8_t v) { return static_cast<uint32_t>((v * 255 + 31) / 63); };
  return 0xFF000000u | eightBit(rgb[0]) << 16 | eightBit(rgb[1]) << 8 | eightBit(rgb[2]);
}

void convertToArgb(const uint8_t* indices, const uint32_t argb[256], void* pixels, int pitch) {
  for (int y = 0; y < kScreenHeight; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + y * pitch);
    const uint8_t* source = indices + y * kScreenWidth;
    for (int x = 0; x < kScreenWidth; ++x) row[x] = argb[source[x]];
  }
}
