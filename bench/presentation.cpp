// The SDL backend's presentation without a window: the 64000 palette indices
// of video memory converted to ARGB pixels through the shown palette, as each
// present does before the picture is scaled, beside the clear-and-copy yardstick.
#include <benchmark/benchmark.h>

#include <vector>

#include "frame_baseline.h"
#include "platform/sdl/argb_picture.h"
#include "video/palette.h"

namespace {

void BM_PaletteConversion(benchmark::State& state) {
  uint32_t argb[256];
  for (int i = 0; i < 256; ++i) argb[i] = shownColour(defaultPalette.rgb[i]);
  std::vector<uint8_t> indices(64000);
  for (size_t i = 0; i < indices.size(); ++i)
    indices[i] = static_cast<uint8_t>((i * 31) ^ (i >> 7));
  std::vector<uint32_t> pixels(64000);
  for (auto _ : state) {
    convertToArgb(indices.data(), argb, pixels.data(), 320 * 4);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PaletteConversion);

}  // namespace
