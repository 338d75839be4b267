#include "sound/sndmix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/audio_device.h"
#include "sound/mixer.h"

namespace {

constexpr unsigned long kSetFragment = 0xC004500A;   // SNDCTL_DSP_SETFRAGMENT
constexpr unsigned long kSpeed = 0xC0045002;         // SNDCTL_DSP_SPEED
constexpr unsigned long kGetBlockSize = 0xC0045004;  // SNDCTL_DSP_GETBLKSIZE
constexpr int kTwoFragmentsOf128 = 0x20007;
constexpr int kFallbackBlockSize = 128;
// Far longer than a server at end of file takes to play out its two queued fragments.
constexpr int kShutdownWaitMs = 2000;

struct SndModule {
  int started = 0;
  int sampleCount = 0;
  const SampleEntry* table = nullptr;
  int sampleRate = 0;
  int channels = 0;
  const char* devicePath = nullptr;
  int device = -1;
  int pipeRead = -1;
  int pipeWrite = -1;
  pid_t server = 0;
  int serverStatus = 0;
};

SndModule module;

// The server shares the game's stdio buffers: it writes its messages straight to the descriptor.
void sayUnbuffered(int fd, const char* text) {
  ssize_t ignored = write(fd, text, std::strlen(text));
  (void)ignored;
}

// A write into a pipe that has lost its reader raises SIGPIPE, which would end the
// game: the signal is held back for the write and taken away if the write raised it.
// The pipe never blocks the game: a write that does not fit is refused whole.
bool writeHoldingSigpipe(int fd, const void* bytes, size_t count) {
  sigset_t pipeSignal, previous, pending;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  sigpending(&pending);
  bool wasPending = sigismember(&pending, SIGPIPE) == 1;
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  ssize_t written = write(fd, bytes, count);
  if (written < 0 && errno == EPIPE && !wasPending) {
    timespec noWait{0, 0};
    sigtimedwait(&pipeSignal, nullptr, &noWait);
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return written == static_cast<ssize_t>(count);
}

bool commandWaiting(int fd) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(fd, &readable);
  timeval noWait{0, 0};
  return select(fd + 1, &readable, nullptr, nullptr, &noWait) > 0 && FD_ISSET(fd, &readable);
}

bool validCommand(int32_t sample, int32_t channel) {
  return sample >= 0 && sample < module.sampleCount && channel >= 0 && channel < module.channels;
}

[[noreturn]] void endServerAtEndOfFile(MixBuffer& buffer, MixChannel* channels) {
  std::free(buffer.out);
  std::free(buffer.accum);
  std::free(channels);
  close(module.pipeRead);
  // What an exiting process does to its device anyway: the device plays out what it holds.
  dsp_close(module.device);
  _exit(0);
}

// One command per pass at most; a torn or out-of-range command is passed over.
void takeCommand(MixChannel* channels, MixBuffer& buffer) {
  int32_t sample = 0, channel = 0;
  ssize_t got = read(module.pipeRead, &sample, sizeof sample);
  if (got == 0) endServerAtEndOfFile(buffer, channels);
  ssize_t gotChannel = read(module.pipeRead, &channel, sizeof channel);
  if (got != sizeof sample || gotChannel != sizeof channel || !validCommand(sample, channel))
    return;
  startChannel(channels[channel], module.table[sample]);
}

// The device write paces the server; a device that refuses a block is waited out
// for that block's time instead of being asked again at once.
void writeBlock(const MixBuffer& buffer) {
  if (dsp_write(module.device, buffer.out, buffer.size) >= 0 || errno == EINTR) return;
  int rate = module.sampleRate > 0 ? module.sampleRate : 8000;
  usleep(static_cast<useconds_t>(1000000LL * buffer.size / rate));
}

int deviceBlockSize() {
  int fragments = kTwoFragmentsOf128;
  dsp_ioctl(module.device, kSetFragment, &fragments);
  if (dsp_ioctl(module.device, kSpeed, &module.sampleRate) == -1) perror("Sound driver ioctl");
  int blockSize = 0;
  if (dsp_ioctl(module.device, kGetBlockSize, &blockSize) == -1) perror("Sound driver ioctl");
  return blockSize > 0 ? blockSize : kFallbackBlockSize;
}

// The server never outlives the game, even stopped or stuck in its device write,
// where the end of the pipe would never be seen.
void endWithTheGame(pid_t game) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != game) _exit(0);  // the game ended before the request took hold
}

[[noreturn]] void runServer(pid_t game) {
  endWithTheGame(game);
  // The game's signal handlers act on the game's keyboard and window: the server
  // takes the defaults, and like any pipe writer ends when its device reader goes.
  for (int inherited : {SIGALRM, SIGINT, SIGTERM, SIGPIPE}) signal(inherited, SIG_DFL);
  auto* channels = static_cast<MixChannel*>(
      std::calloc(module.channels > 0 ? module.channels : 1, sizeof(MixChannel)));
  module.device = dsp_open(module.devicePath, O_WRONLY);
  if (module.device < 0) {
    perror("Cannot open sound device");
    _exit(1);
  }
  MixBuffer buffer{};
  buffer.size = deviceBlockSize();
  buffer.out = static_cast<uint8_t*>(std::calloc(buffer.size, 1));
  buffer.accum = static_cast<int32_t*>(std::calloc(buffer.size, sizeof(int32_t)));
  if (!channels || !buffer.out || !buffer.accum) {
    sayUnbuffered(STDOUT_FILENO, "Unable to allocate memory for mixer buffer.\n");
    _exit(-1);
  }
  close(module.pipeWrite);
  for (;;) {
    if (commandWaiting(module.pipeRead)) takeCommand(channels, buffer);
    mixBlock(channels, module.channels, buffer);
    writeBlock(buffer);
  }
}

int startServer() {
  module.device = -1;
  if (dsp_access(module.devicePath, W_OK) != 0) {
    perror("no access to sound device");
    return 1;
  }
  int proof = dsp_open(module.devicePath, O_WRONLY);
  if (proof < 0) {
    perror("cannot open sound device");
    return 1;
  }
  dsp_close(proof);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) < 0) {
    perror("cannot create pipe for sound control");
    return 1;
  }
  module.pipeRead = ends[0];
  module.pipeWrite = ends[1];
  fcntl(module.pipeWrite, F_SETFL, O_NONBLOCK);
  pid_t game = getpid();
  pid_t child = fork();
  if (child < 0) {
    perror("cannot fork sound driver\n");
    return 1;
  }
  if (child == 0) runServer(game);
  module.server = child;
  close(module.pipeRead);
  module.pipeRead = -1;
  return 0;
}

// Only the server is waited for, so no other child of the game is taken by mistake.
// A server that has not ended in time (stopped, or stuck in its device) is killed.
int waitForServer(pid_t server) {
  int status = 0;
  for (int waited = 0; waited < kShutdownWaitMs; ++waited) {
    pid_t done = waitpid(server, &status, WNOHANG);
    if (done == server || (done < 0 && errno != EINTR)) return status;
    usleep(1000);
  }
  kill(server, SIGKILL);
  while (waitpid(server, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace

int Snd_init(int sampleCount, const SampleEntry* table, int sampleRate, int channels,
             const char* devicePath) {
  module.sampleCount = sampleCount;
  module.table = table;
  module.sampleRate = sampleRate;
  module.channels = channels;
  module.devicePath = devicePath;
  if (table == nullptr) return 1;
  module.started = startServer() == 0 ? 1 : 0;
  return module.started ? 0 : 1;
}

int Snd_play(int sample, int channel) {
  if (!module.started || module.table == nullptr) return 1;
  if (sample < 0 || sample >= module.sampleCount) return 1;
  if (channel < 0 || channel >= module.channels) return 1;
  if (module.table[sample].data == nullptr) {
    std::fputs("Referencing NULL sound entry\n", stderr);
    return 1;
  }
  // One write of both fields: a pipe takes it whole or, when full, not at all,
  // so a stalled server loses commands but never receives half of one.
  int32_t command[2] = {sample, channel};
  return writeHoldingSigpipe(module.pipeWrite, command, sizeof command) ? 0 : 1;
}

int Snd_shutdown() {
  if (!module.started) return 1;
  close(module.pipeWrite);
  if (module.pipeRead >= 0) close(module.pipeRead);
  module.pipeWrite = module.pipeRead = -1;
  module.serverStatus = waitForServer(module.server);
  module.server = 0;
  module.started = 0;
  return 0;
}

pid_t Snd_serverPid() {
  return module.server;
}

int Snd_serverStatus() {
  return module.serverStatus;
}
