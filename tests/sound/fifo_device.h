// A FIFO that stands in for the audio device of the real sound server, so
// tests read the exact blocks it mixes. Its capacity is shrunk to one page, so
// a server that runs ahead soon blocks in its write; holding it there makes the
// block in which a command takes effect known.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

class FifoDevice {
 public:
  FifoDevice();
  ~FifoDevice();
  FifoDevice(const FifoDevice&) = delete;
  FifoDevice& operator=(const FifoDevice&) = delete;

  const char* path() const { return path_.c_str(); }
  // Reads exactly count bytes; fails the test (and returns what it has) after a few seconds.
  Bytes read(size_t count);
  Bytes readBlock() { return read(kBlock); }
  std::vector<Bytes> readBlocks(int count);

  // Waits until the server sits blocked on the full FIFO. Commands sent while it is
  // held take effect in the first block read after releaseServer.
  void holdServer();
  // Reads what was mixed before the commands: what waits in the FIFO and the blocked write.
  void releaseServer();
  size_t queued() const;

  // Runs action (which ends the server) while the FIFO is kept drained.
  void whileDraining(const std::function<void()>& action);
  // Ends the server through Snd_shutdown, if it still runs; returns Snd_shutdown's result.
  int shutdownServer();

  static constexpr size_t kBlock = 128;

 private:
  std::string folder_;
  std::string path_;
  int reader_ = -1;
  int keeper_ = -1;  // a writer held open, so the reader never sees end of file
};

// The bytes of a block in which every channel is idle.
Bytes silentBlock();
// Process state letter from /proc (R, S, Z, ...), or '?' when the process is gone.
char processState(pid_t pid);
