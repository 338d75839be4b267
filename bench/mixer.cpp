// Mixing one 128-byte block with every channel busy: the thrust loop on
// channel 0 and three one-shot effects, against the frame yardstick.
#include <benchmark/benchmark.h>

#include "frame_baseline.h"
#include "sound/mixer.h"
#include "sound/samples.h"

namespace {

SampleEntry entryOf(const uint8_t* record, int32_t length, int32_t loop) {
  return SampleEntry{recordBytes(record), length, loop};
}

void BM_MixOneBlockOfFourChannels(benchmark::State& state) {
  const SampleEntry thrust = entryOf(thrustRecord, recordLength(thrustRecord) / 2, 1);
  const SampleEntry effects[] = {entryOf(explosionRecord, recordLength(explosionRecord), 0),
                                 entryOf(shipShotRecord, recordLength(shipShotRecord), 0),
                                 entryOf(turretShotRecord, recordLength(turretShotRecord), 0)};
  MixChannel channels[4] = {};
  uint8_t out[128];
  int32_t accum[128];
  MixBuffer buffer{out, accum, 128};
  startChannel(channels[0], thrust);
  for (auto _ : state) {
    // Keep the one-shots playing: restart any that has run out.
    for (int c = 1; c < 4; ++c) {
      if (channels[c].remaining <= 0) startChannel(channels[c], effects[c - 1]);
    }
    mixBlock(channels, 4, buffer);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MixOneBlockOfFourChannels);

}  // namespace
