// The SDL backend's crisp pass without a window: the 320x200 indexed picture
// scaled through the palette into the picture area of a 960x720 window and of
// a 1920x1080 screen (1440x1080 inside its bars), reported per output megapixel,
// beside the clear-and-copy yardstick.
#include "platform/sdl/crisp_scale.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "frame_baseline.h"
#include "platform/sdl/argb_picture.h"
#include "video/palette.h"

namespace {

void BM_CrispScale(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  uint32_t colours[256];
  for (int i = 0; i < 256; ++i) colours[i] = shownColour(defaultPalette.rgb[i]);
  std::vector<uint8_t> indices(64000);
  for (size_t i = 0; i < indices.size(); ++i)
    indices[i] = static_cast<uint8_t>((i * 31) ^ (i >> 7));
  auto scale = std::make_unique<CrispScale>();
  prepareCrispScale(*scale, width, height);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (auto _ : state) {
    crispScale(*scale, indices.data(), colours, pixels.data(), width * 4);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  const double megapixels = width * static_cast<double>(height) / 1e6;
  state.counters["per_megapixel"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * megapixels,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CrispScale)->Args({960, 720})->Args({1440, 1080});

}  // namespace
