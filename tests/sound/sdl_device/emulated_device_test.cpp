// The OSS device emulated on SDL audio, end to end: the game (headless screen,
// keys and clock, SDL audio) with SDL's disk driver writing into a FIFO that
// the test reads. SDL writes that file through stdio, in page-sized chunks, each
// flushed by the write of the block after it: the chunks' arrival times pin the
// output's time line, and the position of a sound in it tells when SDL took it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "app/main_cycle.h"
#include "platform/headless/headless.h"
#include "sound/sound_effects.h"
#include "state/settings.h"
#include "support/test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;
constexpr size_t kBlock = 128;

class EmulatedDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string path = makeTempFolder("emulated-device") + "/sdl-output.raw";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    reader = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    keeper = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    settings.effectsOn = 1;
  }
  void TearDown() override {
    close(reader);
    close(keeper);
  }

  // Reads SDL's output until `count` more chunks have come (or for all the span when 0).
  void readChunks(size_t count, std::chrono::milliseconds span) {
    size_t wanted = chunks.size() + count;
    for (Clock::time_point until = Clock::now() + span;
         (count == 0 || chunks.size() < wanted) && Clock::now() < until;) {
      pollfd readable{reader, POLLIN, 0};
      uint8_t chunk[65536];
      ssize_t got = poll(&readable, 1, 20) > 0 ? read(reader, chunk, sizeof chunk) : 0;
      if (got <= 0) continue;
      output.insert(output.end(), chunk, chunk + got);
      chunks.push_back({output.size(), Clock::now()});
    }
  }
  // Where the ship shot's first count bytes stand in the output, or npos.
  size_t findShot(size_t count) const {
    const uint8_t* shot = sampleTable[2].data;
    auto at = std::search(output.begin(), output.end(), shot, shot + count);
    return at == output.end() ? std::string::npos : static_cast<size_t>(at - output.begin());
  }

  int reader = -1, keeper = -1;
  std::vector<uint8_t> output;
  struct Chunk {
    size_t end;  // bytes of output received so far
    Clock::time_point arrival;
  };
  std::vector<Chunk> chunks;
};

TEST_F(EmulatedDevice, AShotReachesSdlWithinTwoFragmentsOfPlayEffect) {
  startSound();
  ASSERT_EQ(soundAvailable, 1);
  readChunks(2, std::chrono::seconds(10));
  ASSERT_EQ(chunks.size(), 2u) << "SDL's disk output is not running";
  Clock::time_point fired = Clock::now();
  playEffect(kEffectShipShot);
  readChunks(2, std::chrono::seconds(10));
  ASSERT_EQ(chunks.size(), 4u);
  stopSound();

  size_t start = findShot(static_cast<size_t>(sampleTable[2].length));
  ASSERT_NE(start, std::string::npos) << "the whole shot, byte for byte, is in SDL's output";
  EXPECT_EQ(start % kBlock, 0u) << "sounds start on block boundaries";
  // The second chunk was flushed by SDL taking the block that starts where it ends.
  auto [anchor, next] = std::pair(chunks[1], chunks[2]);
  ASSERT_GE(start, anchor.end);
  double blockMs = Milliseconds(next.arrival - anchor.arrival).count() /
                   static_cast<double>((next.end - anchor.end) / kBlock);
  double firedAfter = Milliseconds(fired - anchor.arrival).count();
  double blocksAfter = static_cast<double>((start - anchor.end) / kBlock);
  double latencyMs = blocksAfter * blockMs - firedAfter;
  // SDL takes one block now; the server's blocked block follows; the shot's block comes next.
  EXPECT_LE(blocksAfter - std::floor(firedAfter / blockMs), 2.0);
  EXPECT_LE(latencyMs, 2 * std::max(blockMs, 1000.0 * kBlock / 5000) + 5.0);
}

TEST_F(EmulatedDevice, AShotFiredInTheGameReachesSdl) {
  setenv("HOME", makeTempFolder("emulated-device-home").c_str(), 1);
  headlessReset();
  // Enter held turns the title's logo faster until it has turned (about 33 frames);
  // still held, it starts the level at the intro and fires. The later presses make
  // sure of each step whatever the frame counts; then F12 ends the program.
  useScript("wait 5\nhold ENTER 45\nwait 10\nhold ENTER 2\nwait 10\nhold ENTER 2\nwait 30\n");
  EXPECT_EQ(kravixMain(), 0);
  readChunks(0, std::chrono::milliseconds(300));
  EXPECT_NE(findShot(kBlock), std::string::npos) << "the shot's first block is in SDL's output";
}

TEST_F(EmulatedDevice, WithoutAnyOutputTheGameRunsSilentWithTheMessages) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  startSound();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Kravix/SndMix: Snd_init(\"/dev/dsp\") error. No sound :( \n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "cannot open sound device: No such device\n");
  EXPECT_EQ(soundAvailable, 0);
}

}  // namespace
