#include "sound/sound_effects.h"

#include <cstdio>

#include "sound/samples.h"
#include "state/settings.h"

SampleEntry sampleTable[kSampleCount];
uint8_t soundAvailable = 0;
uint8_t shipThrusting = 0;
uint8_t thrustSoundOn = 0;
int8_t effectChannel = 1;

namespace {

constexpr int kThrustSample = 0;
constexpr int kExplosionSample = 1;
constexpr int kShipShotSample = 2;
constexpr int kTurretShotSample = 3;
constexpr int kSilenceSample = 4;
constexpr int kThrustChannel = 0;
constexpr int kSampleRate = 5000;
constexpr int kChannels = 4;
constexpr char kDevicePath[] = "/dev/dsp";

SampleEntry entryOf(const uint8_t* record, int32_t length, int32_t loop) {
  return SampleEntry{recordBytes(record), length, loop};
}

// The lengths come from the records; only the first half of the thrust is looped.
void fillSampleTable() {
  sampleTable[kThrustSample] = entryOf(thrustRecord, recordLength(thrustRecord) / 2, 1);
  sampleTable[kExplosionSample] = entryOf(explosionRecord, recordLength(explosionRecord), 0);
  sampleTable[kShipShotSample] = entryOf(shipShotRecord, recordLength(shipShotRecord), 0);
  sampleTable[kTurretShotSample] = entryOf(turretShotRecord, recordLength(turretShotRecord), 0);
  // Silence needs a data pointer all the same: Snd_play refuses null entries.
  sampleTable[kSilenceSample] = entryOf(thrustRecord, 0, 0);
}

int sampleOfEffect(int kind) {
  switch (kind) {
    case kEffectShipShot:
      return kShipShotSample;
    case kEffectExplosion:
      return kExplosionSample;
    case kEffectTurretShot:
      return kTurretShotSample;
    default:
      return -1;
  }
}

}  // namespace

void startSound() {
  fillSampleTable();
  if (Snd_init(kSampleCount, sampleTable, kSampleRate, kChannels, kDevicePath) == 0) {
    soundAvailable = 1;
    return;
  }
  soundAvailable = 0;
  std::fputs("Kravix/SndMix: Snd_init(\"/dev/dsp\") error. No sound :( \n", stdout);
}

void stopSound() {
  if (soundAvailable) Snd_shutdown();
}

void playEffect(int kind) {
  if (!settings.effectsOn) return;
  int sample = sampleOfEffect(kind);
  if (sample >= 0) {
    Snd_play(sample, effectChannel);
    ++effectChannel;
  }
  if (effectChannel > 3) effectChannel = 1;
}

void silenceThrust() {
  shipThrusting = 0;
  updateThrustSound();
}

void updateThrustSound() {
  if (!soundAvailable) return;
  if (shipThrusting && settings.effectsOn) {
    if (!thrustSoundOn) Snd_play(kThrustSample, kThrustChannel);
    thrustSoundOn = 1;
  } else {
    if (thrustSoundOn) Snd_play(kSilenceSample, kThrustChannel);
    thrustSoundOn = 0;
  }
}
