// The real sound server, run against a FIFO as its device: the exact blocks it mixes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "sound/fifo_device.h"
#include "sound/sndmix.h"
#include "support/test_support.h"

namespace {

constexpr int kRate = 5000;
constexpr int kChannels = 4;

Bytes pattern(size_t length, int (*valueAt)(size_t)) {
  Bytes bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(valueAt(i));
  return bytes;
}

// Sounds whose bytes tell where in the sound a block is; none of them holds 128.
const Bytes kOneShot = pattern(300, [](size_t i) { return 1 + static_cast<int>(i % 120); });
const Bytes kOtherShot = pattern(700, [](size_t i) { return 140 + static_cast<int>(i % 100); });
const Bytes kLoop1160 =
    pattern(1160, [](size_t i) { return 130 + static_cast<int>(i * 37 % 120); });
const Bytes kLoop50 = pattern(50, [](size_t i) { return 200 + static_cast<int>(i); });
const Bytes kLoop128 = pattern(128, [](size_t i) { return 129 + static_cast<int>(i % 126); });
const Bytes kLoop1 = Bytes(1, 77);
const Bytes k255 = Bytes(2000, 255);
const Bytes k0 = Bytes(2000, 0);
const Bytes k250 = Bytes(2000, 250);
const Bytes k200 = Bytes(2000, 200);
const Bytes k10 = Bytes(2000, 10);

enum Sample {
  kOneShotSample,
  kOtherShotSample,
  kLoop1160Sample,
  kLoop50Sample,
  kLoop128Sample,
  kLoop1Sample,
  k255Sample,
  k0Sample,
  k250Sample,
  k200Sample,
  k10Sample,
  kSilenceSample,
  kNullSample,
  kSampleCount
};

SampleEntry entry(const Bytes& bytes, int32_t loop) {
  return SampleEntry{bytes.data(), static_cast<int32_t>(bytes.size()), loop};
}

const SampleEntry kTable[kSampleCount] = {
    entry(kOneShot, 0), entry(kOtherShot, 0), entry(kLoop1160, 1), entry(kLoop50, 1),
    entry(kLoop128, 1), entry(kLoop1, 1),     entry(k255, 0),      entry(k0, 0),
    entry(k250, 0),     entry(k200, 0),       entry(k10, 0),       {kOneShot.data(), 0, 0},
    {nullptr, 10, 0}};

// Bytes [from, from + count) of a sound, then silence where the sound has ended.
Bytes partOf(const Bytes& sound, size_t from, size_t count) {
  Bytes part(count, 128);
  for (size_t i = 0; i < count && from + i < sound.size(); ++i) part[i] = sound[from + i];
  return part;
}

Bytes looped(const Bytes& sound, size_t from, size_t count) {
  Bytes part(count);
  for (size_t i = 0; i < count; ++i) part[i] = sound[(from + i) % sound.size()];
  return part;
}

Bytes concatenated(const std::vector<Bytes>& blocks) {
  Bytes all;
  for (const Bytes& block : blocks) all.insert(all.end(), block.begin(), block.end());
  return all;
}

class SoundServer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Snd_init(kSampleCount, kTable, kRate, kChannels, fifo.path()), 0);
  }

  // Sends the commands while the server is held, so the first of them lands in the next block read.
  void playAtOnce(const std::vector<std::pair<int, int>>& commands) {
    fifo.holdServer();
    for (auto [sample, channel] : commands) ASSERT_EQ(Snd_play(sample, channel), 0);
    fifo.releaseServer();
  }

  FifoDevice fifo;
};

TEST_F(SoundServer, AnIdleServerWritesBlocksOf128SilentBytes) {
  for (const Bytes& block : fifo.readBlocks(40)) EXPECT_EQ(block, silentBlock());
}

TEST_F(SoundServer, AOneShotOnChannel0PlaysExactlyItsLengthThenSilence) {
  playAtOnce({{kOneShotSample, 0}});
  Bytes played = concatenated(fifo.readBlocks(6));
  EXPECT_EQ(played, partOf(kOneShot, 0, played.size()));
}

TEST_F(SoundServer, AOneShotOnAnAddingChannelPlaysExactlyItsLength) {
  playAtOnce({{kOtherShotSample, 2}});
  Bytes played = concatenated(fifo.readBlocks(8));
  EXPECT_EQ(played, partOf(kOtherShot, 0, played.size()));
}

TEST_F(SoundServer, ALoopOf1160RepeatsWithoutGapOrStrayByteAcrossBlockBoundaryWraps) {
  playAtOnce({{kLoop1160Sample, 0}});
  // 128 and 1160 meet every 145 blocks: a wrap falls exactly on a block boundary at block 145.
  Bytes played = concatenated(fifo.readBlocks(300));
  EXPECT_EQ(played, looped(kLoop1160, 0, played.size()));
}

TEST_F(SoundServer, LoopsShorterThanABlockOrOfExactlyOneBlockRepeatSeamlessly) {
  playAtOnce({{kLoop50Sample, 0}});
  Bytes played = concatenated(fifo.readBlocks(10));
  EXPECT_EQ(played, looped(kLoop50, 0, played.size()));
  playAtOnce({{kLoop128Sample, 0}});
  played = concatenated(fifo.readBlocks(10));
  EXPECT_EQ(played, looped(kLoop128, 0, played.size()));
  playAtOnce({{kLoop1Sample, 0}});
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 77));
}

TEST_F(SoundServer, LoopFlagsAreIgnoredBesideChannel0) {
  playAtOnce({{kLoop128Sample, 1}});
  EXPECT_EQ(fifo.readBlock(), kLoop128);
  for (const Bytes& block : fifo.readBlocks(3)) EXPECT_EQ(block, silentBlock());
}

TEST_F(SoundServer, TheSumIsClippedAt255) {
  playAtOnce({{k255Sample, 0}, {k255Sample, 1}});
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 255));
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 255));  // 255 + 127 = 382
  playAtOnce({{k250Sample, 0}, {k200Sample, 3}});
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 250));
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 255));  // 250 + 72 = 322
}

TEST_F(SoundServer, TheSumIsClippedAt0) {
  playAtOnce({{k0Sample, 0}, {k0Sample, 1}, {k0Sample, 2}});
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 0));
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 0));  // 0 - 128 = -128
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 0));  // 0 - 128 - 128 = -256
  playAtOnce({{k10Sample, 0}, {k10Sample, 1}, {k10Sample, 3}});
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 10));
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 0));  // 10 - 118 = -108
  EXPECT_EQ(fifo.readBlock(), Bytes(128, 0));  // 10 - 118 - 118 = -226
}

TEST_F(SoundServer, ACommandForABusyChannelRestartsItWithTheNewSampleFromItsFirstByte) {
  playAtOnce({{kOtherShotSample, 1}, {kOneShotSample, 1}});
  EXPECT_EQ(fifo.readBlock(), partOf(kOtherShot, 0, 128));
  Bytes played = concatenated(fifo.readBlocks(4));
  EXPECT_EQ(played, partOf(kOneShot, 0, played.size()));
  playAtOnce({{kOneShotSample, 0}, {kOneShotSample, 0}});
  EXPECT_EQ(fifo.readBlock(), partOf(kOneShot, 0, 128));
  EXPECT_EQ(fifo.readBlock(), partOf(kOneShot, 0, 128));
}

TEST_F(SoundServer, AnEntryOfLength0SilencesChannel0FromTheNextBlock) {
  playAtOnce({{kLoop1160Sample, 0}});
  EXPECT_EQ(fifo.readBlock(), looped(kLoop1160, 0, 128));
  playAtOnce({{kSilenceSample, 0}});
  for (const Bytes& block : fifo.readBlocks(12)) EXPECT_EQ(block, silentBlock());
}

TEST_F(SoundServer, CommandsSentFasterThanBlocksAreTakenOnePerBlockInOrder) {
  playAtOnce({{kOneShotSample, 1}, {kOtherShotSample, 2}, {kLoop128Sample, 0}});
  Bytes first = fifo.readBlock(), second = fifo.readBlock(), third = fifo.readBlock();
  Bytes one = partOf(kOneShot, 0, 384), other = partOf(kOtherShot, 0, 256);
  for (size_t i = 0; i < 128; ++i) {
    EXPECT_EQ(first[i], one[i]);
    EXPECT_EQ(second[i], std::clamp(128 + (one[128 + i] - 128) + (other[i] - 128), 0, 255));
    EXPECT_EQ(third[i],
              std::clamp(kLoop128[i] + (one[256 + i] - 128) + (other[128 + i] - 128), 0, 255));
  }
}

TEST_F(SoundServer, TheServerEndsWithCode0AtEndOfFile) {
  pid_t server = Snd_serverPid();
  EXPECT_EQ(fifo.shutdownServer(), 0);
  EXPECT_TRUE(WIFEXITED(Snd_serverStatus()));
  EXPECT_EQ(WEXITSTATUS(Snd_serverStatus()), 0);
  EXPECT_EQ(processState(server), '?');
  EXPECT_EQ(Snd_shutdown(), 1) << "a second shutdown finds the module stopped";
}

TEST(SoundModule, WithoutABlockSizeFromTheDeviceTheServerSaysSoAndMixesBlocksOf128) {
  FifoDevice fifo;
  testing::internal::CaptureStderr();
  ASSERT_EQ(Snd_init(kSampleCount, kTable, kRate, kChannels, fifo.path()), 0);
  // A FIFO answers no sound request; the server's messages are out before its first block.
  EXPECT_EQ(fifo.readBlock(), silentBlock());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Sound driver ioctl: Inappropriate ioctl for device\n"
            "Sound driver ioctl: Inappropriate ioctl for device\n");
  EXPECT_EQ(fifo.shutdownServer(), 0);
}

TEST_F(SoundServer, PlayRefusesSamplesAndChannelsOutOfRangeAndNullEntries) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(Snd_play(-1, 0), 1);
  EXPECT_EQ(Snd_play(kSampleCount, 0), 1);
  EXPECT_EQ(Snd_play(0, -1), 1);
  EXPECT_EQ(Snd_play(0, kChannels), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Snd_play(kNullSample, 1), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Referencing NULL sound entry\n");
  playAtOnce({});
  for (const Bytes& block : fifo.readBlocks(3)) EXPECT_EQ(block, silentBlock());
}

TEST_F(SoundServer, TheGameGoesOnAfterTheServerIsKilled) {
  pid_t server = Snd_serverPid();
  ASSERT_EQ(kill(server, SIGKILL), 0);
  auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (processState(server) != 'Z' && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_EQ(processState(server), 'Z');
  for (int i = 0; i < 100; ++i) EXPECT_EQ(Snd_play(kOneShotSample, i % kChannels), 0);
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0) << "no SIGPIPE is left waiting";
  EXPECT_EQ(fifo.shutdownServer(), 0);
  EXPECT_TRUE(WIFSIGNALED(Snd_serverStatus()));
}

TEST(SoundModule, InitWithANullTableReturns1AndStartsNoProcess) {
  FifoDevice fifo;
  EXPECT_EQ(Snd_init(kSampleCount, nullptr, kRate, kChannels, fifo.path()), 1);
  EXPECT_EQ(Snd_serverPid(), 0);
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child process exists";
  EXPECT_EQ(errno, ECHILD);
  EXPECT_EQ(Snd_play(0, 0), 1);
}

TEST(SoundModule, PlayBeforeInitAndAfterShutdownReturns1AndWritesNothing) {
  EXPECT_EQ(Snd_play(0, 0), 1);
  EXPECT_EQ(Snd_shutdown(), 1);
  FifoDevice fifo;
  ASSERT_EQ(Snd_init(kSampleCount, kTable, kRate, kChannels, fifo.path()), 0);
  EXPECT_EQ(fifo.shutdownServer(), 0);
  // The pipe's old descriptor number now belongs to another file: nothing may reach it.
  std::string other = std::string(fifo.path()) + ".other";
  int reused = open(other.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
  EXPECT_EQ(Snd_play(kOneShotSample, 1), 1);
  EXPECT_EQ(lseek(reused, 0, SEEK_END), 0);
  close(reused);
}

TEST(SoundModule, InitReportsADeviceItCannotReach) {
  std::string missing = makeTempFolder("missing-device") + "/dsp";
  testing::internal::CaptureStderr();
  EXPECT_EQ(Snd_init(kSampleCount, kTable, kRate, kChannels, missing.c_str()), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "no access to sound device: No such file or directory\n");
  EXPECT_EQ(Snd_serverPid(), 0);
  EXPECT_EQ(Snd_play(0, 0), 1);
}

}  // namespace
