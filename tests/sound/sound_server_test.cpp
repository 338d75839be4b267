// The real sound server, run against a FIFO as its device: the exact bytes it mixes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "sound/fifo_device.h"
#include "sound/sndmix.h"
#include "support/test_support.h"

namespace {

constexpr int kRate = 5000, kChannels = 4;

// Bytes first, first + 1, ... wrapping every span: a block's bytes tell where in the sound it is.
Bytes pattern(size_t length, int first, int span, int step = 1) {
  Bytes bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(first + i * step % span);
  return bytes;
}

const Bytes kShort = pattern(300, 1, 120), kLong = pattern(700, 140, 100);
const Bytes kLoop1160 = pattern(1160, 130, 120, 37), kLoop50 = pattern(50, 200, 50);
const Bytes kLoop128 = pattern(128, 129, 126);
const Bytes k255(2000, 255), k0(2000, 0), k140(2000, 140), k150(2000, 150), k160(2000, 160);

// clang-format off
enum Sample {
  kShortSample, kLongSample, kLoop1160Sample, kLoop50Sample, kLoop128Sample, k255Sample, k0Sample,
  k140Sample, k150Sample, k160Sample, kSilenceSample, kNullSample, kSampleCount
};
// clang-format on

SampleEntry entry(const Bytes& bytes, int32_t loop) {
  return SampleEntry{bytes.data(), static_cast<int32_t>(bytes.size()), loop};
}

const SampleEntry kTable[kSampleCount] = {
    entry(kShort, 0),   entry(kLong, 0), entry(kLoop1160, 1),   entry(kLoop50, 1),
    entry(kLoop128, 1), entry(k255, 0),  entry(k0, 0),          entry(k140, 0),
    entry(k150, 0),     entry(k160, 0),  {kShort.data(), 0, 0}, {nullptr, 10, 0}};

// The first count bytes of a sound played once, then silence; or looped.
Bytes once(const Bytes& sound, size_t count) {
  Bytes part(count, 128);
  std::copy_n(sound.begin(), std::min(count, sound.size()), part.begin());
  return part;
}
Bytes looped(const Bytes& sound, size_t count) {
  Bytes part(count);
  for (size_t i = 0; i < count; ++i) part[i] = sound[i % sound.size()];
  return part;
}

// Blocks each of one value.
Bytes blocksOf(std::initializer_list<int> values) {
  Bytes bytes;
  for (int value : values) bytes.insert(bytes.end(), kBlock, static_cast<uint8_t>(value));
  return bytes;
}
Bytes silence(size_t blocks) {
  return Bytes(blocks * kBlock, 128);
}

class SoundServer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Snd_init(kSampleCount, kTable, kRate, kChannels, fifo.path()), 0);
  }
  FifoDevice fifo;
};

TEST(SoundModule, AnIdleServerMixesSilentBlocksOf128AndEndsWithCode0AtEndOfFile) {
  FifoDevice fifo;
  testing::internal::CaptureStderr();
  ASSERT_EQ(Snd_init(kSampleCount, kTable, kRate, kChannels, fifo.path()), 0);
  // A FIFO answers no sound request, so no block size either; the messages come before the first
  // block.
  EXPECT_EQ(fifo.readBlocks(40), silence(40));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Sound driver ioctl: Inappropriate ioctl for device\n"
            "Sound driver ioctl: Inappropriate ioctl for device\n");

  pid_t server = Snd_serverPid();
  EXPECT_EQ(fifo.shutdownServer(), 0);
  EXPECT_TRUE(WIFEXITED(Snd_serverStatus()) && WEXITSTATUS(Snd_serverStatus()) == 0);
  EXPECT_EQ(processState(server), '?');
  EXPECT_EQ(Snd_shutdown(), 1) << "a second shutdown finds the module stopped";
  // The pipe's old descriptor number now belongs to another file: nothing may reach it.
  int reused = open((std::string(fifo.path()) + ".other").c_str(), O_RDWR | O_CREAT, 0600);
  EXPECT_EQ(Snd_play(kShortSample, 1), 1);
  EXPECT_EQ(lseek(reused, 0, SEEK_END), 0);
  close(reused);
}

TEST(SoundModule, WithoutATableOrADeviceInitReturns1AndStartsNoProcess) {
  EXPECT_EQ(Snd_play(0, 0), 1) << "before init";
  FifoDevice fifo;
  EXPECT_EQ(Snd_init(kSampleCount, nullptr, kRate, kChannels, fifo.path()), 1);
  EXPECT_EQ(Snd_play(0, 0), 1);
  std::string missing = makeTempFolder("missing-device") + "/dsp";
  testing::internal::CaptureStderr();
  EXPECT_EQ(Snd_init(kSampleCount, kTable, kRate, kChannels, missing.c_str()), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "no access to sound device: No such file or directory\n");
  EXPECT_EQ(Snd_play(0, 0), 1);
  EXPECT_EQ(Snd_serverPid(), 0);
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child process exists";
}

TEST_F(SoundServer, PlayRefusesSamplesAndChannelsOutOfRangeAndNullEntries) {
  testing::internal::CaptureStderr();
  for (auto [sample, channel] : {std::pair{-1, 0}, {kSampleCount, 0}, {0, -1}, {0, kChannels}})
    EXPECT_EQ(Snd_play(sample, channel), 1) << sample << ", " << channel;
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Snd_play(kNullSample, 1), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Referencing NULL sound entry\n");
  playAtOnce(fifo, {});
  EXPECT_EQ(fifo.readBlocks(3), silence(3)) << "nothing was sent";
}

TEST_F(SoundServer, AOneShotPlaysExactlyItsLengthThenSilenceOnEveryChannel) {
  // Loop flags count on channel 0 only.
  const struct {
    Sample sample;
    const Bytes& sound;
    int channel;
    size_t blocks;
  } cases[] = {
      {kShortSample, kShort, 0, 6}, {kLongSample, kLong, 2, 8}, {kLoop128Sample, kLoop128, 1, 4}};
  for (const auto& c : cases) {
    playAtOnce(fifo, {{c.sample, c.channel}});
    EXPECT_EQ(fifo.readBlocks(c.blocks), once(c.sound, c.blocks * kBlock))
        << "channel " << c.channel;
  }
}

TEST_F(SoundServer, ALoopOnChannel0RepeatsWithoutGapOrStrayByte) {
  // 1160 and 128 meet every 145 blocks: a wrap falls on a block boundary at block 145.
  // The shorter loops wrap within a block, or exactly at its end.
  const struct {
    Sample sample;
    const Bytes& sound;
    size_t blocks;
  } cases[] = {{kLoop1160Sample, kLoop1160, 300},
               {kLoop50Sample, kLoop50, 10},
               {kLoop128Sample, kLoop128, 10}};
  for (const auto& c : cases) {
    playAtOnce(fifo, {{c.sample, 0}});
    EXPECT_EQ(fifo.readBlocks(c.blocks), looped(c.sound, c.blocks * kBlock)) << c.sound.size();
  }
}

TEST_F(SoundServer, TheSumIsClippedAtBothEnds) {
  playAtOnce(fifo, {{k255Sample, 0}, {k255Sample, 1}});
  EXPECT_EQ(fifo.readBlocks(2), blocksOf({255, 255}));  // then 255 + 127
  playAtOnce(fifo, {{k0Sample, 0}, {k0Sample, 1}});
  EXPECT_EQ(fifo.readBlocks(2), blocksOf({0, 0}));  // then 0 - 128
}

TEST_F(SoundServer, CommandsSentFasterThanBlocksAreTakenOnePerBlockInOrder) {
  playAtOnce(fifo, {{k140Sample, 1}, {k150Sample, 2}, {k160Sample, 0}});
  EXPECT_EQ(fifo.readBlocks(3), blocksOf({140, 128 + 12 + 22, 160 + 12 + 22}));
}

TEST_F(SoundServer, ACommandForABusyChannelRestartsItFromTheNewSamplesFirstByte) {
  playAtOnce(fifo, {{kLongSample, 1}, {kShortSample, 1}});
  EXPECT_EQ(fifo.readBlocks(1), once(kLong, kBlock));
  EXPECT_EQ(fifo.readBlocks(4), once(kShort, 4 * kBlock));
  playAtOnce(fifo, {{kShortSample, 0}, {kShortSample, 0}});
  EXPECT_EQ(fifo.readBlocks(2), looped(once(kShort, kBlock), 2 * kBlock));
}

TEST_F(SoundServer, AnEntryOfLength0SilencesChannel0FromTheNextBlock) {
  playAtOnce(fifo, {{kLoop1160Sample, 0}});
  EXPECT_EQ(fifo.readBlocks(1), once(kLoop1160, kBlock));
  playAtOnce(fifo, {{kSilenceSample, 0}});
  EXPECT_EQ(fifo.readBlocks(12), silence(12));
}

}  // namespace
