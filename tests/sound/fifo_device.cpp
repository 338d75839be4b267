#include "sound/fifo_device.h"

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
#include <thread>

#include "sound/sndmix.h"
#include "support/test_support.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(10);

}  // namespace

FifoDevice::FifoDevice() {
  static int made = 0;
  folder_ = makeTempFolder("fifo-device-" + std::to_string(made++));
  path_ = folder_ + "/dsp";
  EXPECT_EQ(mkfifo(path_.c_str(), 0600), 0);
  reader_ = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  keeper_ = open(path_.c_str(), O_WRONLY | O_CLOEXEC);
  EXPECT_GE(reader_, 0);
  EXPECT_GE(keeper_, 0);
  fcntl(reader_, F_SETFL, fcntl(reader_, F_GETFL) & ~O_NONBLOCK);
  EXPECT_EQ(fcntl(reader_, F_SETPIPE_SZ, 4096), 4096);
}

FifoDevice::~FifoDevice() {
  shutdownServer();
  close(reader_);
  close(keeper_);
  std::filesystem::remove_all(folder_);
}

Bytes FifoDevice::read(size_t count) {
  Bytes bytes(count);
  size_t got = 0;
  Clock::time_point giveUp = Clock::now() + kPatience;
  while (got < count && Clock::now() < giveUp) {
    pollfd readable{reader_, POLLIN, 0};
    if (poll(&readable, 1, 100) <= 0) continue;
    ssize_t n = ::read(reader_, bytes.data() + got, count - got);
    if (n > 0) got += static_cast<size_t>(n);
  }
  EXPECT_EQ(got, count) << "the sound server wrote too little";
  bytes.resize(got);
  return bytes;
}

std::vector<Bytes> FifoDevice::readBlocks(int count) {
  std::vector<Bytes> blocks;
  for (int i = 0; i < count; ++i) blocks.push_back(readBlock());
  return blocks;
}

size_t FifoDevice::queued() const {
  int bytes = 0;
  ioctl(reader_, FIONREAD, &bytes);
  return static_cast<size_t>(bytes);
}

void FifoDevice::holdServer() {
  pid_t server = Snd_serverPid();
  ASSERT_NE(server, 0);
  Clock::time_point giveUp = Clock::now() + kPatience;
  // The server sleeps only in its device write: once it has written and is seen
  // sleeping twice in a row, it waits for the reader to empty the FIFO's one page.
  for (int sleepingPolls = 0; sleepingPolls < 2;) {
    ASSERT_LT(Clock::now(), giveUp) << "the sound server never blocked on its device";
    bool blocked = queued() > 0 && processState(server) == 'S';
    sleepingPolls = blocked ? sleepingPolls + 1 : 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void FifoDevice::releaseServer() {
  read(queued() + kBlock);
}

void FifoDevice::whileDraining(const std::function<void()>& action) {
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

int FifoDevice::shutdownServer() {
  if (Snd_serverPid() == 0) return 1;
  int result = 1;
  whileDraining([&] { result = Snd_shutdown(); });
  return result;
}

Bytes silentBlock() {
  return Bytes(FifoDevice::kBlock, 128);
}

char processState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return '?';
  size_t afterName = line.rfind(')');
  return afterName == std::string::npos || afterName + 2 >= line.size() ? '?' : line[afterName + 2];
}
