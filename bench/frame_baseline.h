// The yardstick every benchmark is reported against: clearing the 64000-byte
// frame and copying it to video memory, as each frame of the game does once.
// Include it in a benchmark program to measure it in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include "platform/headless/headless.h"
#include "platform/vga.h"
#include "video/frame_buffer.h"
#include "video/video_mode.h"

inline void enterHeadlessVideo() {
  headlessReset();
  vga_setmode(G320x200x256);
  videoMemory = vga_getgraphmem();
}

inline void BM_ClearAndCopyFrame(benchmark::State& state) {
  enterHeadlessVideo();
  for (auto _ : state) {
    showFrame(0, kScreenHeight);
    benchmark::DoNotOptimize(frameBuffer.pixels[0]);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ClearAndCopyFrame);
