// The real sound server, run against a FIFO that stands in for its audio
// device: the exact bytes it mixes, for its own cases and for the game's effects,
// and the built-in sounds, pinned by digests of their stored bytes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <tuple>

#include "platform/headless/headless_audio.h"
#include "screens/options_menu.h"
#include "sound/samples.h"
#include "sound/sndmix.h"
#include "sound/sound_effects.h"
#include "state/settings.h"
#include "support/test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kBlock = 128;

// The device: a FIFO of one page, so a server that runs ahead soon blocks in its
// write; holding it there fixes the block in which a command takes effect.
class FifoDevice {
 public:
  FifoDevice() {
    EXPECT_EQ(mkfifo(path(), 0600), 0);
    reader_ = open(path(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    keeper_ = open(path(), O_WRONLY | O_CLOEXEC);  // the reader never sees end of file
    fcntl(reader_, F_SETFL, 0);
    EXPECT_EQ(fcntl(reader_, F_SETPIPE_SZ, 4096), 4096);
  }
  ~FifoDevice() {
    shutdownServer();
    close(reader_);
    close(keeper_);
  }
  const char* path() const { return path_.c_str(); }

  Bytes read(size_t count) {
    Bytes bytes(count);
    size_t got = 0;
    pollfd readable{reader_, POLLIN, 0};
    while (got < count && poll(&readable, 1, 10000) > 0)
      got += std::max<ssize_t>(0, ::read(reader_, bytes.data() + got, count - got));
    EXPECT_EQ(got, count) << "the sound server wrote too little";
    return bytes;
  }

  // Runs the action while the server sits blocked on the full FIFO (seen sleeping
  // twice in a row with data queued), then reads what was mixed before: what
  // waits in the FIFO and the blocked write. The action's commands take effect
  // from the next block read.
  void whileHeld(const std::function<void()>& action) {
    auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int sleepingPolls = 0; sleepingPolls < 2;) {
      ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "the server never blocked";
      bool blocked = queued() > 0 && processState(Snd_serverPid()) == 'S';
      sleepingPolls = blocked ? sleepingPolls + 1 : 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    action();
    read(queued() + kBlock);
  }

  // Runs the action (which ends the server) while the FIFO is kept drained.
  void whileDraining(const std::function<void()>& action) {
    std::atomic<bool> done{false};
    std::thread drainer([&] {
      uint8_t sink[4096];
      for (pollfd readable{reader_, POLLIN, 0}; !done;)
        if (poll(&readable, 1, 10) > 0 && ::read(reader_, sink, sizeof sink) < 0) break;
    });
    action();
    done = true;
    drainer.join();
  }
  // Ends the server through Snd_shutdown, if it still runs; returns Snd_shutdown's result.
  int shutdownServer() {
    int result = 1;
    if (Snd_serverPid() != 0) whileDraining([&] { result = Snd_shutdown(); });
    return result;
  }

 private:
  size_t queued() const {
    int bytes = 0;
    ioctl(reader_, FIONREAD, &bytes);
    return static_cast<size_t>(bytes);
  }

  std::string path_ = makeTempFolder("fifo-device") + "/dsp";
  int reader_ = -1, keeper_ = -1;
};

Bytes silence(size_t blocks) {
  return Bytes(blocks * kBlock, 128);
}
Bytes blocksOf(std::initializer_list<int> values) {
  Bytes bytes;
  for (int value : values) bytes.insert(bytes.end(), kBlock, static_cast<uint8_t>(value));
  return bytes;
}
// The first blocks heard of a sound played once, then silence; or looped.
Bytes heard(const Bytes& sound, size_t blocks, bool loop = false) {
  Bytes part = silence(blocks);
  for (size_t i = 0; i < part.size() && (loop || i < sound.size()); ++i)
    part[i] = sound[i % sound.size()];
  return part;
}
Bytes operator+(Bytes first, const Bytes& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// Sounds whose bytes tell where in the sound a block is (none holds 128), and constant ones.
Bytes pattern(size_t length, int first, int span, int step = 1) {
  Bytes bytes(length);
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(first + i * step % span);
  return bytes;
}
const Bytes kShort = pattern(300, 1, 120), kLong = pattern(700, 140, 100);
const Bytes kLoop1160 = pattern(1160, 130, 120, 37), kLoop45 = pattern(45, 200, 45);
const Bytes kLoop128 = pattern(128, 129, 126);
const Bytes k255(2000, 255), k0(2000, 0), k140(2000, 140), k150(2000, 150), k160(2000, 160);

// clang-format off
enum Sample {
  kShortSample, kLongSample, kLoop1160Sample, kLoop45Sample, kLoop128Sample, k255Sample, k0Sample,
  k140Sample, k150Sample, k160Sample, kSilenceSample, kNullSample, kTestSamples
};
// clang-format on
constexpr int kRate = 5000, kChannels = 4;

SampleEntry entry(const Bytes& bytes, int32_t loop) {
  return SampleEntry{bytes.data(), static_cast<int32_t>(bytes.size()), loop};
}
const SampleEntry kTable[kTestSamples] = {
    entry(kShort, 0),   entry(kLong, 0), entry(kLoop1160, 1),   entry(kLoop45, 1),
    entry(kLoop128, 1), entry(k255, 0),  entry(k0, 0),          entry(k140, 0),
    entry(k150, 0),     entry(k160, 0),  {kShort.data(), 0, 0}, {nullptr, 10, 0}};

class SoundServer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Snd_init(kTestSamples, kTable, kRate, kChannels, fifo.path()), 0);
  }
  FifoDevice fifo;
};

TEST_F(SoundServer, EachMixerCaseGivesItsExactBytes) {
  // In order on one server: each row's commands are sent at once, while the
  // server is held, and what follows is read. Loops on channel 0 play on into the next row.
  const struct {
    const char* what;
    std::vector<std::pair<int, int>> play;  // (sample, channel)
    Bytes heard;
  } cases[] = {
      {"a one-shot on channel 0, then silence", {{kShortSample, 0}}, heard(kShort, 6)},
      {"a one-shot on an adding channel", {{kLongSample, 2}}, heard(kLong, 8)},
      {"a loop flag beside channel 0", {{kLoop128Sample, 1}}, heard(kLoop128, 4)},
      {"a loop of 1160, wrapping on a block boundary at block 145",
       {{kLoop1160Sample, 0}},
       heard(kLoop1160, 300, true)},
      {"a loop shorter than a block", {{kLoop45Sample, 0}}, heard(kLoop45, 40, true)},
      {"a loop of one block", {{kLoop128Sample, 0}}, heard(kLoop128, 10, true)},
      {"an entry of length 0 silences channel 0", {{kSilenceSample, 0}}, silence(12)},
      {"the sum clipped at 255", {{k255Sample, 0}, {k255Sample, 1}}, blocksOf({255, 255})},
      {"the sum clipped at 0", {{k0Sample, 0}, {k0Sample, 1}}, blocksOf({0, 0})},
      {"commands faster than blocks, one a block in order",
       {{k140Sample, 1}, {k150Sample, 2}, {k160Sample, 0}},
       blocksOf({140, 128 + 12 + 22, 160 + 12 + 22})},
      {"a busy channel restarts from the new sample's first byte (channel 0 alike)",
       {{kLongSample, 1}, {kShortSample, 1}},
       heard(kLong, 1) + heard(kShort, 4)},
  };
  for (const auto& c : cases) {
    fifo.whileHeld([&] {
      for (auto [sample, channel] : c.play) EXPECT_EQ(Snd_play(sample, channel), 0);
    });
    EXPECT_EQ(fifo.read(c.heard.size()), c.heard) << c.what;
  }
}

TEST_F(SoundServer, PlayRefusesSamplesAndChannelsOutOfRangeAndNullEntries) {
  testing::internal::CaptureStderr();
  for (auto [sample, channel] : {std::pair{-1, 0}, {kTestSamples, 0}, {0, -1}, {0, kChannels}})
    EXPECT_EQ(Snd_play(sample, channel), 1) << sample << ", " << channel;
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  fifo.whileHeld([] { EXPECT_EQ(Snd_play(kNullSample, 1), 1); });
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Referencing NULL sound entry\n");
  EXPECT_EQ(fifo.read(3 * kBlock), silence(3)) << "nothing was sent";
}

// Runs the action on a thread of its own; true when it ends within the limit.
// One that does not is left to the caller to unblock.
bool endsWithin(std::chrono::seconds limit, const std::function<void()>& action) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread([action, done] { action(), *done = true; }).detach();
  for (auto end = std::chrono::steady_clock::now() + limit;
       !*done && std::chrono::steady_clock::now() < end;)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return *done;
}

void stopProcess(pid_t pid) {
  kill(pid, SIGSTOP);
  while (processState(pid) != 'T') std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST_F(SoundServer, AStoppedServerNeitherBlocksPlayNorShutdown) {
  const pid_t server = Snd_serverPid();
  stopProcess(server);
  std::atomic<int> dropped{0};
  // Far more commands than the pipe holds: the ones that do not fit are dropped.
  bool played = endsWithin(std::chrono::seconds(30), [&] {
    for (int i = 0; i < 20000; ++i) dropped += Snd_play(kShortSample, 1);
  });
  EXPECT_TRUE(played) << "Snd_play blocked on the full pipe";
  EXPECT_GT(dropped, 0);
  int result = -1;
  bool ended = endsWithin(std::chrono::seconds(30), [&] { result = Snd_shutdown(); });
  EXPECT_TRUE(ended) << "Snd_shutdown waited for the stopped server";
  if (!played || !ended) kill(server, SIGKILL);  // frees the blocked thread
  ASSERT_TRUE(ended);
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(WIFSIGNALED(Snd_serverStatus()) && WTERMSIG(Snd_serverStatus()) == SIGKILL);
  EXPECT_EQ(processState(server), '?');
}

TEST(SoundModule, TheServerDiesWithTheGameEvenWhenStopped) {
  FifoDevice fifo;
  testing::internal::CaptureStderr();  // the server's ioctl messages
  EXPECT_TRUE(diesWithItsParent(
      [&fifo] {
        return Snd_init(kTestSamples, kTable, kRate, kChannels, fifo.path()) == 0 ? Snd_serverPid()
                                                                                  : 0;
      },
      [&](pid_t server) {
        fifo.read(kBlock);    // the server runs its loop, so its start-up is done
        stopProcess(server);  // it would never see the end of the pipe
      }));
  testing::internal::GetCapturedStderr();
}

TEST(SoundModule, InitNeedsATableAndADeviceAndAnIdleServerEndsWithCode0AtEndOfFile) {
  EXPECT_EQ(Snd_play(0, 0), 1) << "before init";
  FifoDevice fifo;
  EXPECT_EQ(Snd_init(kTestSamples, nullptr, kRate, kChannels, fifo.path()), 1);
  EXPECT_EQ(Snd_play(0, 0), 1);
  std::string missing = makeTempFolder("missing-device") + "/dsp";
  testing::internal::CaptureStderr();
  EXPECT_EQ(Snd_init(kTestSamples, kTable, kRate, kChannels, missing.c_str()), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "no access to sound device: No such file or directory\n");
  EXPECT_EQ(Snd_play(0, 0), 1);
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child process exists";
  // With both, the server mixes silent blocks of 128 while idle.
  testing::internal::CaptureStderr();
  ASSERT_EQ(Snd_init(kTestSamples, kTable, kRate, kChannels, fifo.path()), 0);
  // A FIFO answers no sound request, so gives no block size; the messages come first.
  EXPECT_EQ(fifo.read(40 * kBlock), silence(40));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Sound driver ioctl: Inappropriate ioctl for device\n"
            "Sound driver ioctl: Inappropriate ioctl for device\n");
  EXPECT_EQ(fifo.shutdownServer(), 0);
  EXPECT_TRUE(WIFEXITED(Snd_serverStatus()) && WEXITSTATUS(Snd_serverStatus()) == 0);
  EXPECT_EQ(Snd_shutdown(), 1) << "a second shutdown finds the module stopped";
  // The pipe's old descriptor number now belongs to another file: nothing may reach it.
  int reused = open((std::string(fifo.path()) + ".other").c_str(), O_RDWR | O_CREAT, 0600);
  EXPECT_EQ(Snd_play(kShortSample, 1), 1);
  EXPECT_EQ(lseek(reused, 0, SEEK_END), 0);
  close(reused);
}

// The game's side: "/dev/dsp" opens the FIFO.
class SoundEffects : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.effectsOn = 1;
    shipThrusting = thrustSoundOn = 0;
    effectChannel = 1;
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

constexpr int kThrust = 0, kExplosion = 1, kShot = 2, kTurretShot = 3;

TEST_F(SoundEffects, TheGameSendsWhatItsFramesAskForAndGoesOnAfterTheServerIsKilled) {
  auto thrustFor3Frames = [](uint8_t thrusting) {
    shipThrusting = thrusting;
    for (int frame = 0; frame < 3; ++frame) updateThrustSound();
  };
  const Bytes thrust(sampleTable[kThrust].data, sampleTable[kThrust].data + 1160);
  settings.effectsOn = 0;  // nothing plays
  fifo.whileHeld([&] { thrustFor3Frames(1), playEffect(kEffectShipShot); });
  EXPECT_EQ(fifo.read(3 * kBlock), silence(3));
  EXPECT_EQ(effectChannel, 1) << "a switched-off effect leaves the rotation alone";

  settings.effectsOn = 1;  // thrust starts the noise once: a second command would restart it
  fifo.whileHeld([&] { thrustFor3Frames(1); });
  EXPECT_EQ(fifo.read(30 * kBlock), heard(thrust, 30, true));
  fifo.whileHeld([&] { thrustFor3Frames(0); });  // releasing it sends one silence
  EXPECT_EQ(fifo.read(5 * kBlock), silence(5));

  fifo.whileHeld([&] {  // entering the options menu during thrust stops the noise
    thrustFor3Frames(1);
    startHeadlessVideo();
    useScript("wait 2\nhold ENTER 1\nwait 10\n");  // Enter leaves the menu
    runOptionsMenu();
  });
  EXPECT_EQ(fifo.read(4 * kBlock), heard(thrust, 1, true) + silence(3));

  std::vector<int> channels;  // effects rotate over channels 1 to 3; unknown kinds send nothing
  fifo.whileHeld([&] {
    for (int kind : {kEffectShipShot, 3, kEffectTurretShot, -1, kEffectShipShot, kEffectExplosion})
      channels.push_back(effectChannel), playEffect(kind);
  });
  EXPECT_EQ(channels, (std::vector<int>{1, 2, 2, 3, 3, 1}));
  Bytes fromEffects = fifo.read(4 * kBlock);
  // The same sounds sent by hand to channels 1, 2, 3, 1: the fourth cuts the first off.
  fifo.whileHeld([] {
    for (auto [sample, channel] :
         {std::pair{kShot, 1}, {kTurretShot, 2}, {kShot, 3}, {kExplosion, 1}})
      Snd_play(sample, channel);
  });
  EXPECT_EQ(fromEffects, fifo.read(4 * kBlock));

  // The game goes on after the server is killed.
  siginfo_t death{};
  ASSERT_EQ(kill(Snd_serverPid(), SIGKILL), 0);
  waitid(P_PID, Snd_serverPid(), &death, WEXITED | WNOWAIT);  // dead, not yet reaped
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

TEST(Samples, TheSoundsKeepTheirBytes) {
  const std::tuple<const uint8_t*, int, uint64_t> sounds[] = {
      {shipShotRecord, 1796, 10698153966051884995u},
      {turretShotRecord, 1353, 262149252770017755u},
      {explosionRecord, 8264, 436232437472183067u},
      {thrustRecord, 2320, 13623707177337737945u}};
  for (const auto& [record, length, digest] : sounds) {
    ASSERT_EQ(recordLength(record), length);
    EXPECT_EQ(digestOf(recordBytes(record), length), digest) << length;
  }
}

}  // namespace
