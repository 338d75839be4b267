// The sound server's mixer: channels of unsigned 8-bit samples summed into
// one block of output. Channel 0 sets the block (and alone may loop), the
// others add their distance from 128, and the sum is clipped to 0..255.
// Used by the server in sndmix.cpp (and the benchmark); it never does I/O.
#pragma once

#include <cstdint>

#include "sound/sndmix.h"

struct MixChannel {
  const uint8_t* start;
  const uint8_t* pos;
  int32_t length;
  int32_t remaining;  // before the end, or for a looping sound before the next wrap
  int32_t loop;
};

struct MixBuffer {
  uint8_t* out;    // the block written to the device
  int32_t* accum;  // running sum for each output sample
  int32_t size;    // B, the device's block size in bytes
};

// Drops whatever the channel played and starts the entry from its first byte.
void startChannel(MixChannel& channel, const SampleEntry& entry);
// Mixes the next block of every channel into buffer.out.
void mixBlock(MixChannel* channels, int channelCount, MixBuffer& buffer);
