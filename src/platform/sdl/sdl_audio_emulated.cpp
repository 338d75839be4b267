#include "platform/sdl/sdl_audio_emulated.h"

#include <SDL2/SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr unsigned long kSetFragment = 0xC004500A;   // SNDCTL_DSP_SETFRAGMENT
constexpr unsigned long kSpeed = 0xC0045002;         // SNDCTL_DSP_SPEED
constexpr unsigned long kGetBlockSize = 0xC0045004;  // SNDCTL_DSP_GETBLKSIZE
constexpr int kMaxFragment = 1 << 16;
constexpr uint8_t kSilence = 128;
constexpr milliseconds kProbeTimeout{3000};
// How long SDL's callback waits for a block that is being mixed right now, when
// SDL asks for several blocks in a row.
constexpr milliseconds kCallbackPatience{5};

// The process that started the program: the game. Any other is the forked server.
const pid_t gameProcess = getpid();

struct Output {
  SDL_AudioDeviceID device = 0;
  int rate = 0;
  int fragment = 0;
};

struct EmulatedDsp {
  int fd = -1;  // a descriptor on /dev/null standing for the device
  Output output;
  int rate = 8000;  // the OSS defaults: 8 kHz unsigned 8-bit mono
  int fragment = 128;
  bool outputFailed = false;  // SDL would not open it: the device stays mute
  // The block handed over by the last write, until SDL has taken all of it.
  std::mutex lock;
  std::condition_variable changed;
  uint8_t pending[kMaxFragment];
  int pendingSize = 0;
  int pendingTaken = 0;
};

EmulatedDsp dsp;

bool blockWaiting() {
  return dsp.pendingTaken < dsp.pendingSize;
}

void takePending(uint8_t* stream, int length) {
  std::unique_lock<std::mutex> guard(dsp.lock);
  Clock::time_point giveUp = Clock::now() + kCallbackPatience;
  int filled = 0;
  while (filled < length) {
    if (!blockWaiting() && !dsp.changed.wait_until(guard, giveUp, blockWaiting)) break;
    int count = std::min(length - filled, dsp.pendingSize - dsp.pendingTaken);
    std::memcpy(stream + filled, dsp.pending + dsp.pendingTaken, count);
    filled += count;
    dsp.pendingTaken += count;
    if (!blockWaiting()) dsp.changed.notify_all();
  }
  std::memset(stream + filled, kSilence, length - filled);
}

void onSdlWantsAudio(void* /*unused*/, Uint8* stream, int length) {
  takePending(stream, length);
}

// SDL audio is only ever started in a process that was forked from the game.
bool startSdlAudio() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  return SDL_WasInit(SDL_INIT_AUDIO) || SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

Output openOutput(int rate, int fragment) {
  if (!startSdlAudio()) return Output{};
  SDL_AudioSpec wanted{};
  wanted.freq = rate;
  wanted.format = AUDIO_U8;
  wanted.channels = 1;
  wanted.samples = static_cast<Uint16>(std::min(fragment, 32768));
  wanted.callback = onSdlWantsAudio;
  SDL_AudioSpec obtained{};
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  return device == 0 ? Output{} : Output{device, rate, fragment};
}

// Proves in a throwaway child that SDL finds an output, leaving the game's own SDL untouched.
bool outputExists() {
  pid_t probe = fork();
  if (probe < 0) return false;
  if (probe == 0) _exit(openOutput(dsp.rate, dsp.fragment).device != 0 ? 0 : 1);
  Clock::time_point giveUp = Clock::now() + kProbeTimeout;
  int status = 0;
  for (;;) {
    pid_t done = waitpid(probe, &status, WNOHANG);
    if (done == probe) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (done < 0 && errno != EINTR) return false;
    if (Clock::now() > giveUp) {
      kill(probe, SIGKILL);
      waitpid(probe, &status, 0);
      return false;
    }
    usleep(2000);
  }
}

// The output opens with the first write, when the rate and fragment size are
// settled, and starts playing at once.
bool outputReady() {
  if (dsp.output.device != 0) return true;
  if (dsp.outputFailed) return false;
  dsp.output = openOutput(dsp.rate, dsp.fragment);
  dsp.outputFailed = dsp.output.device == 0;
  if (dsp.outputFailed) return false;
  SDL_PauseAudioDevice(dsp.output.device, 0);
  return true;
}

milliseconds fragmentTime() {
  return milliseconds(1000LL * dsp.fragment / dsp.rate);
}

// Hands one block to SDL and waits until SDL has taken it; a stalled output loses it.
void playBlock(const uint8_t* bytes, int count) {
  std::unique_lock<std::mutex> guard(dsp.lock);
  std::memcpy(dsp.pending, bytes, count);
  dsp.pendingSize = count;
  dsp.pendingTaken = 0;
  dsp.changed.notify_all();
  Clock::time_point giveUp = Clock::now() + std::max(4 * fragmentTime(), milliseconds(200));
  if (!dsp.changed.wait_until(guard, giveUp, [] { return !blockWaiting(); })) {
    dsp.pendingSize = dsp.pendingTaken = 0;
  }
}

void drainAndStop() {
  std::unique_lock<std::mutex> guard(dsp.lock);
  dsp.changed.wait_for(guard, 2 * fragmentTime() + milliseconds(50),
                       [] { return !blockWaiting(); });
  guard.unlock();
  SDL_CloseAudioDevice(dsp.output.device);
  dsp.output = Output{};
}

}  // namespace

int emulatedDspOpen() {
  if (dsp.fd >= 0) {
    errno = EBUSY;
    return -1;
  }
  bool inGame = getpid() == gameProcess;
  if (inGame ? !outputExists() : !startSdlAudio()) {
    errno = ENODEV;
    return -1;
  }
  dsp.fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
  return dsp.fd;
}

bool isEmulatedDsp(int fd) {
  return fd >= 0 && fd == dsp.fd;
}

int emulatedDspIoctl(unsigned long request, int* argument) {
  if (argument == nullptr) {
    errno = EFAULT;
    return -1;
  }
  switch (request) {
    case kSetFragment:
      dsp.fragment = 1 << std::clamp(*argument & 0xFFFF, 4, 16);
      return 0;
    case kSpeed:
      dsp.rate = std::clamp(*argument, 1000, 192000);
      *argument = dsp.rate;
      return 0;
    case kGetBlockSize:
      *argument = dsp.fragment;
      return 0;
    default:
      errno = EINVAL;
      return -1;
  }
}

ssize_t emulatedDspWrite(const void* bytes, size_t count) {
  if (getpid() == gameProcess || !outputReady()) {
    errno = EIO;
    return -1;
  }
  const auto* from = static_cast<const uint8_t*>(bytes);
  for (size_t done = 0; done < count;) {
    int chunk = static_cast<int>(std::min<size_t>(count - done, dsp.fragment));
    playBlock(from + done, chunk);
    done += chunk;
  }
  return static_cast<ssize_t>(count);
}

int emulatedDspClose() {
  if (dsp.output.device != 0) drainAndStop();
  int result = close(dsp.fd);
  dsp.fd = -1;
  return result;
}
