// A FIFO that stands in for the sound server's audio device, so tests read the
// exact blocks it mixes. Its capacity is one page: a server that runs ahead
// soon blocks in its write, and holding it there fixes the block in which a
// command takes effect.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "sound/sndmix.h"
#include "support/test_support.h"

using Bytes = std::vector<uint8_t>;
constexpr size_t kBlock = 128;

// Process state letter from /proc (R, S, Z, ...), or '?' when the process is gone.
inline char processState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line) || line.rfind(')') + 2 >= line.size()) return '?';
  return line[line.rfind(')') + 2];
}

// Polls until the condition holds; false after ten seconds.
inline bool eventually(const std::function<bool()>& condition) {
  auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

class FifoDevice {
 public:
  FifoDevice() : folder_(makeTempFolder("fifo-device-" + std::to_string(made_++))) {
    EXPECT_EQ(mkfifo(path(), 0600), 0);
    reader_ = open(path(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    keeper_ = open(path(), O_WRONLY | O_CLOEXEC);  // the reader never sees end of file
    fcntl(reader_, F_SETFL, fcntl(reader_, F_GETFL) & ~O_NONBLOCK);
    EXPECT_EQ(fcntl(reader_, F_SETPIPE_SZ, 4096), 4096);
  }
  ~FifoDevice() {
    shutdownServer();
    close(reader_);
    close(keeper_);
    std::filesystem::remove_all(folder_);
  }
  FifoDevice(const FifoDevice&) = delete;
  FifoDevice& operator=(const FifoDevice&) = delete;

  const char* path() const { return path_.c_str(); }

  // Exactly count bytes; fails the test (and returns what it has) after a few seconds.
  Bytes read(size_t count) {
    Bytes bytes(count);
    size_t got = 0;
    eventually([&] {
      pollfd readable{reader_, POLLIN, 0};
      if (got < count && poll(&readable, 1, 100) > 0)
        got += std::max<ssize_t>(0, ::read(reader_, bytes.data() + got, count - got));
      return got == count;
    });
    EXPECT_EQ(got, count) << "the sound server wrote too little";
    bytes.resize(got);
    return bytes;
  }
  Bytes readBlocks(size_t count) { return read(count * kBlock); }

  // Waits until the server sits blocked on the full FIFO (seen sleeping twice
  // in a row with data queued). Commands sent while it is held take effect in
  // the first block read after releaseServer.
  void holdServer() {
    int sleepingPolls = 0;
    ASSERT_TRUE(eventually([&] {
      bool blocked = queued() > 0 && processState(Snd_serverPid()) == 'S';
      sleepingPolls = blocked ? sleepingPolls + 1 : 0;
      return sleepingPolls >= 2;
    })) << "the sound server never blocked on its device";
  }
  // Reads what was mixed before the commands: what waits in the FIFO and the blocked write.
  void releaseServer() { read(queued() + kBlock); }

  // Runs action (which ends the server) while the FIFO is kept drained.
  void whileDraining(const std::function<void()>& action) {
    std::atomic<bool> done{false};
    std::thread drainer([&] {
      uint8_t sink[4096];
      while (!done) {
        pollfd readable{reader_, POLLIN, 0};
        if (poll(&readable, 1, 10) > 0 && ::read(reader_, sink, sizeof sink) < 0) break;
      }
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

  static inline int made_ = 0;
  std::string folder_;
  std::string path_ = folder_ + "/dsp";
  int reader_ = -1;
  int keeper_ = -1;
};

// Sends the commands while the server is held, so the first lands in the next block read.
inline void playAtOnce(FifoDevice& fifo, const std::vector<std::pair<int, int>>& commands) {
  fifo.holdServer();
  for (auto [sample, channel] : commands) EXPECT_EQ(Snd_play(sample, channel), 0);
  fifo.releaseServer();
}
