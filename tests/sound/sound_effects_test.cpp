// The game's effects and its four sounds, heard through the real sound server
// on a FIFO that stands in for "/dev/dsp".
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cstdlib>

#include "platform/headless/headless_audio.h"
#include "screens/options_menu.h"
#include "screens/settings.h"
#include "sound/fifo_device.h"
#include "sound/samples.h"
#include "sound/sound_effects.h"
#include "support/test_support.h"

namespace {

constexpr int kExplosion = 1, kShot = 2, kTurretShot = 3;

struct Playing {
  int sample;
  size_t offset;  // bytes of it played before this block
};

// A block of one-shot effects alone: 128 plus each sound's distance from 128.
Bytes mixOf(const std::vector<Playing>& sounds) {
  Bytes block(kBlock);
  for (size_t i = 0; i < kBlock; ++i) {
    int sum = 128;
    for (auto [sample, offset] : sounds) {
      if (offset + i < static_cast<size_t>(sampleTable[sample].length))
        sum += sampleTable[sample].data[offset + i] - 128;
    }
    block[i] = static_cast<uint8_t>(std::clamp(sum, 0, 255));
  }
  return block;
}

Bytes thrustLoop(size_t count) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = sampleTable[0].data[i % sampleTable[0].length];
  return bytes;
}

void resetEffects() {
  settings.effectsOn = 1;
  shipThrusting = thrustSoundOn = 0;
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

  // Sets the thrust key and runs the per-frame update a few times while the server is held.
  void thrustFor3Frames(uint8_t thrusting) {
    fifo.holdServer();
    shipThrusting = thrusting;
    for (int frame = 0; frame < 3; ++frame) updateThrustSound();
    fifo.releaseServer();
  }

  FifoDevice fifo;
};

TEST_F(SoundEffects, TheFourSoundsHaveTheirLengthsAndRangesAndTheTableReadsTheRecords) {
  const struct {
    const uint8_t* record;
    int32_t stored, played, loop;
    int low, high;
  } sounds[] = {{thrustRecord, 2320, 1160, 1, 100, 140},
                {explosionRecord, 8264, 8264, 0, 60, 213},
                {shipShotRecord, 1796, 1796, 0, 47, 193},
                {turretShotRecord, 1353, 1353, 0, 0, 255}};
  for (int i = 0; i < 4; ++i) {
    const uint8_t* bytes = recordBytes(sounds[i].record);
    int32_t length = recordLength(sounds[i].record);
    ASSERT_EQ(length, sounds[i].stored) << "sound " << i;
    EXPECT_EQ(*std::min_element(bytes, bytes + length), sounds[i].low) << "sound " << i;
    EXPECT_EQ(*std::max_element(bytes, bytes + length), sounds[i].high) << "sound " << i;
    EXPECT_EQ(sampleTable[i].data, bytes);
    EXPECT_EQ(sampleTable[i].length, sounds[i].played);
    EXPECT_EQ(sampleTable[i].loop, sounds[i].loop);
    if (i > 0) {  // the one-shots begin and end at rest
      EXPECT_TRUE(bytes[0] == 127 || bytes[0] == 128) << "sound " << i;
      EXPECT_TRUE(bytes[length - 1] == 127 || bytes[length - 1] == 128) << "sound " << i;
    }
  }
  EXPECT_EQ(sampleTable[4].length, 0) << "silence";
  EXPECT_NE(sampleTable[4].data, nullptr) << "silence still has data";

  // The thrust loop runs on from its last byte into its first without a click.
  const uint8_t* thrust = recordBytes(thrustRecord);
  int largestStep = 0;
  for (int i = 1; i < 1160; ++i)
    largestStep = std::max(largestStep, std::abs(thrust[i] - thrust[i - 1]));
  EXPECT_LE(std::abs(thrust[0] - thrust[1159]), largestStep);
  EXPECT_LE(std::abs(thrust[0] - 128), 2);
}

TEST_F(SoundEffects, ThrustStartsTheNoiseOnceAndReleasingItSendsOneSilence) {
  thrustFor3Frames(1);
  EXPECT_EQ(thrustSoundOn, 1);
  // One command only: a second would restart the loop in the next block.
  EXPECT_EQ(fifo.readBlocks(30), thrustLoop(30 * kBlock));
  thrustFor3Frames(0);
  EXPECT_EQ(thrustSoundOn, 0);
  EXPECT_EQ(fifo.readBlocks(5), Bytes(5 * kBlock, 128));
}

TEST_F(SoundEffects, EnteringTheOptionsMenuDuringThrustStopsTheNoise) {
  thrustFor3Frames(1);
  EXPECT_EQ(fifo.readBlocks(1), thrustLoop(kBlock));
  startHeadlessVideo();
  useScript("wait 2\nhold ENTER 1\nwait 10\n");  // Enter leaves the menu
  fifo.holdServer();
  runOptionsMenu();
  fifo.releaseServer();
  EXPECT_EQ(thrustSoundOn, 0);
  EXPECT_EQ(fifo.readBlocks(3), Bytes(3 * kBlock, 128));
}

TEST_F(SoundEffects, WithEffectsOffNothingPlaysUntilTheyAreOnAgain) {
  settings.effectsOn = 0;
  fifo.holdServer();
  shipThrusting = 1;
  updateThrustSound();
  playEffect(kEffectShipShot);
  EXPECT_EQ(thrustSoundOn, 0);
  EXPECT_EQ(effectChannel, 1) << "a switched-off effect leaves the rotation alone";
  fifo.releaseServer();
  EXPECT_EQ(fifo.readBlocks(3), Bytes(3 * kBlock, 128));
  settings.effectsOn = 1;
  thrustFor3Frames(1);
  EXPECT_EQ(fifo.readBlocks(1), thrustLoop(kBlock));
}

TEST_F(SoundEffects, EffectsRotateOverChannels1To3AndUnknownKindsSendNothing) {
  fifo.holdServer();
  std::vector<int> channels;
  for (int kind : {kEffectShipShot, 3, kEffectTurretShot, -1, kEffectShipShot, kEffectExplosion}) {
    channels.push_back(effectChannel);
    playEffect(kind);
  }
  EXPECT_EQ(channels, (std::vector<int>{1, 2, 2, 3, 3, 1}));
  EXPECT_EQ(effectChannel, 2);
  fifo.releaseServer();
  // One command a block; the fourth effect cuts the first off on channel 1.
  EXPECT_EQ(fifo.readBlocks(1), mixOf({{kShot, 0}}));
  EXPECT_EQ(fifo.readBlocks(1), mixOf({{kShot, 128}, {kTurretShot, 0}}));
  EXPECT_EQ(fifo.readBlocks(1), mixOf({{kShot, 256}, {kTurretShot, 128}, {kShot, 0}}));
  EXPECT_EQ(fifo.readBlocks(1), mixOf({{kExplosion, 0}, {kTurretShot, 256}, {kShot, 128}}));
}

TEST_F(SoundEffects, TheGameGoesOnAfterTheServerIsKilled) {
  pid_t server = Snd_serverPid();
  ASSERT_EQ(kill(server, SIGKILL), 0);
  ASSERT_TRUE(eventually([&] { return processState(server) == 'Z'; }));
  for (int frame = 0; frame < 50; ++frame) {
    shipThrusting = frame % 2;
    updateThrustSound();
    playEffect(frame % 3);
  }
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0) << "no SIGPIPE is left waiting";
  stopSound();
  EXPECT_EQ(Snd_serverPid(), 0);
}

TEST(SoundWithoutDevice, TheGameRunsSilentWithTheMessages) {
  resetEffects();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  startSound();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Kravix/SndMix: Snd_init(\"/dev/dsp\") error. No sound :( \n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "no access to sound device: No such file or directory\n");
  EXPECT_EQ(soundAvailable, 0);
  shipThrusting = 1;
  updateThrustSound();
  EXPECT_EQ(thrustSoundOn, 0);
  playEffect(kEffectExplosion);
  EXPECT_EQ(effectChannel, 2) << "the rotation goes on while Snd_play refuses";
}

}  // namespace
