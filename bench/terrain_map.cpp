// The terrain and the overview map of level 7, the level with the most boxes,
// drawn at several camera positions; compare with BM_ClearAndCopyFrame of the
// same run (target: at most twice its time).
#include <benchmark/benchmark.h>

#include "frame_baseline.h"
#include "state/level_state.h"
#include "world/level_data.h"
#include "world/terrain.h"

namespace {

constexpr int kLevelSeven = 6;

void BM_TerrainAndMapLevel7(benchmark::State& state) {
  enterHeadlessVideo();
  buildLevel(kLevelSeven, 1);
  levelState.cameraX = static_cast<int>(state.range(0));
  levelState.cameraY = static_cast<int>(state.range(1));
  for (auto _ : state) {
    drawTerrain();
    drawMap();
    benchmark::DoNotOptimize(frameBuffer.pixels[0]);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TerrainAndMapLevel7)
    ->Args({1040, 450})    // the ship's start, over the maze's roof
    ->Args({700, 1000})    // mid-maze
    ->Args({1560, 1290})   // the ball's gallery
    ->Args({0, 1200})      // the west edge, where the view meets the pocket
    ->Args({2080, 2200});  // the solid bottom, every row a band across the view

}  // namespace
