// The game's effects, heard through the real sound server on a FIFO that
// stands in for "/dev/dsp".
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/headless/headless_audio.h"
#include "screens/options_menu.h"
#include "screens/settings.h"
#include "sound/fifo_device.h"
#include "sound/samples.h"
#include "sound/sound_effects.h"
#include "support/test_support.h"

namespace {

constexpr size_t kBlock = FifoDevice::kBlock;

struct Playing {
  int sample;
  size_t offset;  // bytes of it already played before this block
};

// What the server mixes from one-shot effects alone: 128 plus each sound's distance from 128.
Bytes mixOf(const std::vector<Playing>& sounds) {
  Bytes block(kBlock);
  for (size_t i = 0; i < kBlock; ++i) {
    int sum = 128;
    for (const Playing& sound : sounds) {
      const SampleEntry& entry = sampleTable[sound.sample];
      size_t at = sound.offset + i;
      if (at < static_cast<size_t>(entry.length)) sum += entry.data[at] - 128;
    }
    block[i] = static_cast<uint8_t>(std::clamp(sum, 0, 255));
  }
  return block;
}

Bytes thrustLoop(size_t from, size_t count) {
  const SampleEntry& thrust = sampleTable[0];
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = thrust.data[(from + i) % thrust.length];
  return bytes;
}

void resetEffects() {
  settings.effectsOn = 1;
  shipThrusting = 0;
  thrustSoundOn = 0;
  effectChannel = 1;
}

class SoundEffects : public ::testing::Test {
 protected:
  void SetUp() override {
    resetEffects();
    headlessRouteDsp(fifo.path());
    startSound();
    ASSERT_EQ(soundAvailable, 1);
  }
  void TearDown() override {
    fifo.whileDraining(stopSound);
    headlessRouteDsp(nullptr);
    soundAvailable = 0;
  }

  FifoDevice fifo;
};

TEST_F(SoundEffects, TheSampleTableTakesItsLengthsFromTheRecords) {
  const int32_t lengths[] = {1160, 8264, 1796, 1353, 0};
  const int32_t loops[] = {1, 0, 0, 0, 0};
  for (int i = 0; i < kSampleCount; ++i) {
    EXPECT_EQ(sampleTable[i].length, lengths[i]) << "sample " << i;
    EXPECT_EQ(sampleTable[i].loop, loops[i]) << "sample " << i;
  }
  EXPECT_EQ(sampleTable[0].data, recordBytes(thrustRecord));
  EXPECT_EQ(sampleTable[4].data, recordBytes(thrustRecord)) << "silence still has data";
}

TEST_F(SoundEffects, ThrustStartsTheNoiseOnceAndReleasingItSendsOneSilence) {
  fifo.holdServer();
  shipThrusting = 1;
  for (int frame = 0; frame < 3; ++frame) updateThrustSound();
  EXPECT_EQ(thrustSoundOn, 1);
  fifo.releaseServer();
  // One command only: a second would restart the loop in the next block.
  Bytes heard;
  for (const Bytes& block : fifo.readBlocks(30))
    heard.insert(heard.end(), block.begin(), block.end());
  EXPECT_EQ(heard, thrustLoop(0, heard.size()));

  fifo.holdServer();
  shipThrusting = 0;
  for (int frame = 0; frame < 3; ++frame) updateThrustSound();
  EXPECT_EQ(thrustSoundOn, 0);
  fifo.releaseServer();
  for (const Bytes& block : fifo.readBlocks(5)) EXPECT_EQ(block, silentBlock());
}

TEST_F(SoundEffects, EnteringTheOptionsMenuDuringThrustStopsTheNoise) {
  fifo.holdServer();
  shipThrusting = 1;
  updateThrustSound();
  fifo.releaseServer();
  EXPECT_EQ(fifo.readBlock(), thrustLoop(0, kBlock));

  startHeadlessVideo();
  useScript("wait 2\nhold ENTER 1\nwait 10\n");  // Enter leaves the menu
  fifo.holdServer();
  runOptionsMenu();
  fifo.releaseServer();
  EXPECT_EQ(thrustSoundOn, 0);
  for (const Bytes& block : fifo.readBlocks(3)) EXPECT_EQ(block, silentBlock());
}

TEST_F(SoundEffects, WithEffectsOffThrustIsSilentUntilTheyAreOnAgain) {
  settings.effectsOn = 0;
  shipThrusting = 1;
  fifo.holdServer();
  updateThrustSound();
  playEffect(kEffectShipShot);
  EXPECT_EQ(thrustSoundOn, 0);
  EXPECT_EQ(effectChannel, 1) << "a switched-off effect leaves the rotation alone";
  fifo.releaseServer();
  for (const Bytes& block : fifo.readBlocks(3)) EXPECT_EQ(block, silentBlock());

  settings.effectsOn = 1;
  fifo.holdServer();
  updateThrustSound();
  fifo.releaseServer();
  EXPECT_EQ(fifo.readBlock(), thrustLoop(0, kBlock));
}

TEST_F(SoundEffects, EffectsRotateOverChannels1To3AndTheFourthCutsTheFirstOff) {
  fifo.holdServer();
  std::vector<int> channels;
  for (int kind : {kEffectShipShot, kEffectShipShot, kEffectShipShot, kEffectExplosion}) {
    channels.push_back(effectChannel);
    playEffect(kind);
  }
  EXPECT_EQ(channels, (std::vector<int>{1, 2, 3, 1}));
  EXPECT_EQ(effectChannel, 2);
  fifo.releaseServer();
  constexpr int kShot = 2, kExplosion = 1;
  EXPECT_EQ(fifo.readBlock(), mixOf({{kShot, 0}}));
  EXPECT_EQ(fifo.readBlock(), mixOf({{kShot, 128}, {kShot, 0}}));
  EXPECT_EQ(fifo.readBlock(), mixOf({{kShot, 256}, {kShot, 128}, {kShot, 0}}));
  EXPECT_EQ(fifo.readBlock(), mixOf({{kExplosion, 0}, {kShot, 256}, {kShot, 128}}));
}

TEST_F(SoundEffects, AnUnknownKindSendsNothingAndLeavesTheRotationAlone) {
  fifo.holdServer();
  playEffect(kEffectShipShot);
  playEffect(3);
  playEffect(-1);
  EXPECT_EQ(effectChannel, 2);
  playEffect(kEffectTurretShot);
  EXPECT_EQ(effectChannel, 3);
  fifo.releaseServer();
  constexpr int kShot = 2, kTurretShot = 3;
  EXPECT_EQ(fifo.readBlock(), mixOf({{kShot, 0}}));
  EXPECT_EQ(fifo.readBlock(), mixOf({{kShot, 128}, {kTurretShot, 0}}));
}

TEST_F(SoundEffects, TheGameGoesOnAfterTheServerIsKilled) {
  pid_t server = Snd_serverPid();
  ASSERT_EQ(kill(server, SIGKILL), 0);
  auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (processState(server) != 'Z' && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  for (int frame = 0; frame < 50; ++frame) {
    shipThrusting = frame % 2;
    updateThrustSound();
    playEffect(frame % 3);
  }
  stopSound();
  EXPECT_EQ(Snd_serverPid(), 0);
}

TEST(SoundWithoutDevice, TheGameRunsSilentWithTheMessages) {
  resetEffects();
  headlessRouteDsp(nullptr);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  startSound();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Kravix/SndMix: Snd_init(\"/dev/dsp\") error. No sound :( \n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "no access to sound device: No such file or directory\n");
  EXPECT_EQ(soundAvailable, 0);
  EXPECT_EQ(Snd_serverPid(), 0);
  shipThrusting = 1;
  updateThrustSound();
  EXPECT_EQ(thrustSoundOn, 0);
  playEffect(kEffectExplosion);
  EXPECT_EQ(effectChannel, 2) << "the rotation goes on while Snd_play refuses";
  stopSound();
}

}  // namespace
