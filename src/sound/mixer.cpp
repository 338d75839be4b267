#include "sound/mixer.h"

#include <algorithm>

namespace {

constexpr int32_t kSilence = 128;

// Copies count bytes from the channel's position into to[], advancing the position.
void copyBytes(MixChannel& channel, int32_t* to, int32_t count) {
  for (int32_t i = 0; i < count; ++i) to[i] = channel.pos[i];
  channel.pos += count;
}

// Takes up to count bytes of what is left of the sound; returns how many it took.
int32_t takeBytes(MixChannel& channel, int32_t* to, int32_t count) {
  int32_t taken = std::min(count, channel.remaining);
  if (taken <= 0) return 0;
  copyBytes(channel, to, taken);
  channel.remaining -= taken;
  return taken;
}

// A looping sound fills the whole block, wrapping to its first byte as often as needed.
void fillLooping(MixChannel& channel, int32_t* accum, int32_t size) {
  if (channel.remaining == 0) {
    channel.pos = channel.start;
    channel.remaining = channel.length;
  }
  if (channel.remaining >= size) {
    takeBytes(channel, accum, size);
    return;
  }
  int32_t done = channel.remaining;
  copyBytes(channel, accum, done);
  int32_t rest = size - done;
  while (rest > channel.length) {
    channel.pos = channel.start;
    copyBytes(channel, accum + done, channel.length);
    done += channel.length;
    rest -= channel.length;
  }
  channel.pos = channel.start;
  copyBytes(channel, accum + done, rest);
  channel.remaining = channel.length - rest;
}

// Channel 0 stores into the accumulator; 128 where it has nothing to play.
void setFromFirstChannel(MixChannel& channel, int32_t* accum, int32_t size) {
  // A looping sound without bytes would wrap forever: it plays as silence.
  if (channel.loop != 0 && channel.length > 0) {
    fillLooping(channel, accum, size);
    return;
  }
  int32_t taken = takeBytes(channel, accum, size);
  std::fill(accum + taken, accum + size, kSilence);
}

void addChannel(MixChannel& channel, int32_t* accum, int32_t size) {
  int32_t count = std::min(size, channel.remaining);
  for (int32_t i = 0; i < count; ++i) accum[i] += channel.pos[i] - kSilence;
  if (count > 0) {
    channel.pos += count;
    channel.remaining -= count;
  }
}

uint8_t clip(int32_t value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

void startChannel(MixChannel& channel, const SampleEntry& entry) {
  channel.start = entry.data;
  channel.pos = entry.data;
  channel.length = entry.length;
  channel.remaining = entry.length;
  channel.loop = entry.loop;
}

void mixBlock(MixChannel* channels, int channelCount, MixBuffer& buffer) {
  int32_t size = buffer.size;
  if (channelCount > 0) {
    setFromFirstChannel(channels[0], buffer.accum, size);
  } else {
    std::fill(buffer.accum, buffer.accum + size, kSilence);
  }
  for (int c = 1; c < channelCount; ++c) addChannel(channels[c], buffer.accum, size);
  for (int32_t i = 0; i < size; ++i) buffer.out[i] = clip(buffer.accum[i]);
}
