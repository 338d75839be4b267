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
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_cycle.h"
#include "platform/headless/headless.h"
#include "screens/settings.h"
#include "sound/sound_effects.h"
#include "support/test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;
constexpr size_t kBlock = 128;
constexpr double kFragmentMs = 1000.0 * kBlock / 5000;  // 25.6

struct Arrival {
  size_t end;  // bytes of output received so far
  Clock::time_point at;
};

// SDL's disk output file, made a FIFO and read as the data arrive.
class DiskOutput {
 public:
  explicit DiskOutput(const std::string& folder) : path_(folder + "/sdl-output.raw") {
    EXPECT_EQ(mkfifo(path_.c_str(), 0600), 0);
    reader_ = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    keeper_ = open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
  }
  ~DiskOutput() {
    close(reader_);
    close(keeper_);
  }

  // Reads until `count` more arrivals have been seen, or the time is up.
  void waitForArrivals(size_t count, std::chrono::milliseconds patience) {
    size_t wanted = arrivals.size() + count;
    Clock::time_point giveUp = Clock::now() + patience;
    while (arrivals.size() < wanted && Clock::now() < giveUp) readSome(50);
  }
  void readFor(std::chrono::milliseconds span) {
    Clock::time_point until = Clock::now() + span;
    while (Clock::now() < until) readSome(20);
  }

  Bytes bytes;
  std::vector<Arrival> arrivals;

 private:
  void readSome(int timeoutMs) {
    pollfd readable{reader_, POLLIN, 0};
    if (poll(&readable, 1, timeoutMs) <= 0) return;
    uint8_t chunk[65536];
    ssize_t got = read(reader_, chunk, sizeof chunk);
    if (got <= 0) return;
    bytes.insert(bytes.end(), chunk, chunk + got);
    arrivals.push_back({bytes.size(), Clock::now()});
  }

  std::string path_;
  int reader_ = -1;
  int keeper_ = -1;
};

// Where the sound's first `count` bytes stand in the output, or npos.
size_t findSound(const Bytes& output, const SampleEntry& sound, size_t count) {
  auto at = std::search(output.begin(), output.end(), sound.data, sound.data + count);
  return at == output.end() ? std::string::npos : static_cast<size_t>(at - output.begin());
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

TEST(EmulatedDevice, AShotReachesSdlWithinTwoFragmentsOfPlayEffect) {
  DiskOutput output(makeTempFolder("emulated-device"));
  settings.effectsOn = 1;
  startSound();
  ASSERT_EQ(soundAvailable, 1);

  output.waitForArrivals(2, std::chrono::seconds(10));
  ASSERT_EQ(output.arrivals.size(), 2u) << "SDL's disk output is not running";
  Arrival anchor = output.arrivals.back();
  Clock::time_point fired = Clock::now();
  playEffect(kEffectShipShot);
  output.waitForArrivals(2, std::chrono::seconds(10));
  ASSERT_EQ(output.arrivals.size(), 4u);
  stopSound();

  const SampleEntry& shot = sampleTable[2];
  size_t start = findSound(output.bytes, shot, static_cast<size_t>(shot.length));
  ASSERT_NE(start, std::string::npos) << "the whole shot, byte for byte, is in SDL's output";
  EXPECT_EQ(start % kBlock, 0u) << "sounds start on block boundaries";
  ASSERT_GE(start, anchor.end);

  // The chunk ending at anchor.end was flushed by SDL taking the block that starts there.
  Arrival next = output.arrivals[2];
  double blockMs = millisecondsBetween(anchor.at, next.at) / ((next.end - anchor.end) / kBlock);
  double firedAfterAnchor = millisecondsBetween(anchor.at, fired);
  double blocksAfterAnchor = static_cast<double>((start - anchor.end) / kBlock);
  double latencyMs = blocksAfterAnchor * blockMs - firedAfterAnchor;
  std::printf("SDL takes a block every %.2f ms; playEffect to SDL took %.1f ms (%.0f blocks)\n",
              blockMs, latencyMs, blocksAfterAnchor);
  RecordProperty("latency_ms", std::to_string(latencyMs));

  // SDL takes one block now; the server's blocked block follows; the shot's block comes next.
  double blockAtFiring = std::floor(firedAfterAnchor / blockMs);
  EXPECT_LE(blocksAfterAnchor - blockAtFiring, 2.0);
  EXPECT_LE(latencyMs, 2 * std::max(blockMs, kFragmentMs) + 5.0);
}

TEST(EmulatedDevice, WithoutAnyOutputTheGameRunsSilentWithTheMessages) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  settings.effectsOn = 1;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  startSound();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Kravix/SndMix: Snd_init(\"/dev/dsp\") error. No sound :( \n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "cannot open sound device: No such device\n");
  EXPECT_EQ(soundAvailable, 0);
}

// Plays the game from the title: Enter starts a game, Enter at the intro starts
// the level, Enter in the level fires.
TEST(EmulatedDevice, AShotFiredInTheGameReachesSdl) {
  std::string folder = makeTempFolder("emulated-device-game");
  DiskOutput output(folder);
  setenv("HOME", folder.c_str(), 1);
  headlessReset();
  // Enter held turns the title's logo faster until it has turned (about 33 frames);
  // still held, it starts the level at the intro and fires. The later presses make
  // sure of each step whatever the frame counts.
  useScript(
      "wait 5\n"
      "hold ENTER 45\n"
      "wait 10\n"
      "hold ENTER 2\n"
      "wait 10\n"
      "hold ENTER 2\n"
      "wait 30\n");  // then F12 ends the program
  EXPECT_EQ(kravixMain(), 0);
  output.readFor(std::chrono::milliseconds(300));
  const SampleEntry& shot = sampleTable[2];
  EXPECT_NE(findSound(output.bytes, shot, kBlock), std::string::npos)
      << "the shot's first block is in SDL's output";
}

}  // namespace
