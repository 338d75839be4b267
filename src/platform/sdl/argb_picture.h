// The SDL backend's conversion of video memory into the window's picture:
// palette entries to 32-bit ARGB colours, and 320x200 palette indices to ARGB
// pixels. Free of SDL, so the benchmarks can measure it without a window.
#pragma once

#include <cstdint>

// A 6-bit palette entry as shown: each component round(v x 255 / 63), opaque.
uint32_t shownColour(const uint8_t rgb[3]);
// The 64000 indices through the 256 ARGB colours into rows `pitch` bytes apart.
void convertToArgb(const uint8_t* indices, const uint32_t argb[256], void* pixels, int pitch);
