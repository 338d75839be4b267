#include "platform/sdl/sdl_audio_emulated.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sdl/sdl_audio_helper.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr unsigned long kSetFragment = 0xC004500A;   // SNDCTL_DSP_SETFRAGMENT
constexpr unsigned long kSpeed = 0xC0045002;         // SNDCTL_DSP_SPEED
constexpr unsigned long kGetBlockSize = 0xC0045004;  // SNDCTL_DSP_GETBLKSIZE
constexpr milliseconds kAnswerPatience{3000};

struct EmulatedDsp {
  int fd = -1;      // a descriptor on /dev/null standing for the device
  int rate = 8000;  // the OSS defaults: 8 kHz unsigned 8-bit mono
  int fragment = 128;
  pid_t helper = 0;  // started with the first write, when rate and fragment are settled
  int socket = -1;
  bool outputFailed = false;  // SDL would not play: the device stays mute
};

EmulatedDsp dsp;

// Waits for one byte from the helper; false when none comes in time.
bool receiveAnswer(int socket, uint8_t* answer, milliseconds patience) {
  Clock::time_point giveUp = Clock::now() + patience;
  for (;;) {
    auto left = std::chrono::duration_cast<milliseconds>(giveUp - Clock::now()).count();
    pollfd readable{socket, POLLIN, 0};
    int ready = poll(&readable, 1, static_cast<int>(std::max<long long>(left, 0)));
    if (ready > 0) return recv(socket, answer, 1, 0) == 1;
    if (ready == 0 || errno != EINTR) return false;
  }
}

// Reaps the helper; one that does not end in time is killed.
void endHelper(pid_t helper, milliseconds patience) {
  Clock::time_point giveUp = Clock::now() + patience;
  int status = 0;
  while (waitpid(helper, &status, WNOHANG) == 0) {
    if (Clock::now() > giveUp) {
      kill(helper, SIGKILL);
      waitpid(helper, &status, 0);
      return;
    }
    usleep(2000);
  }
}

// The program executed afresh as the audio helper, on the other end of a socket
// pair; it keeps no other descriptor of ours.
pid_t startHelper(const char* role, int* socket) {
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], kAudioHelperSocket);
  posix_spawn_file_actions_addclosefrom_np(&actions, kAudioHelperSocket + 1);
  if (std::strcmp(role, kAudioHelperProbe) == 0) {
    // The audio libraries' complaints while SDL looks for an output are not ours to show.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    if (std::strncmp(*entry, kAudioHelperVariable, std::strlen(kAudioHelperVariable)) != 0) {
      environment.emplace_back(*entry);
    }
  }
  environment.push_back(std::string(kAudioHelperVariable) + "=" + role);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  char name[] = "kravix-audio";
  char* argv[] = {name, nullptr};
  pid_t helper = -1;
  if (posix_spawn(&helper, "/proc/self/exe", &actions, nullptr, argv, envp.data()) != 0) {
    helper = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  if (helper < 0) {
    close(ends[0]);
    return -1;
  }
  *socket = ends[0];
  return helper;
}

// A helper that opens SDL's output at the OSS defaults, answers and ends.
bool outputExists() {
  int socket = -1;
  pid_t probe = startHelper(kAudioHelperProbe, &socket);
  if (probe < 0) return false;
  uint8_t answer = 0;
  bool playing = receiveAnswer(socket, &answer, kAnswerPatience) && answer == kAudioYes;
  close(socket);
  endHelper(probe, kAnswerPatience);
  return playing;
}

void stopHelper() {
  if (dsp.helper > 0) {
    shutdown(dsp.socket, SHUT_WR);  // the helper plays out what it holds, then ends
    endHelper(dsp.helper, milliseconds(1000));
  }
  if (dsp.socket >= 0) close(dsp.socket);
  dsp.helper = 0;
  dsp.socket = -1;
}

bool outputReady() {
  if (dsp.helper > 0) return true;
  if (dsp.outputFailed) return false;
  dsp.helper = startHelper(kAudioHelperServe, &dsp.socket);
  dsp.outputFailed = dsp.helper < 0;
  if (dsp.outputFailed) return false;
  uint8_t configuration[1 + 2 * sizeof(int32_t)] = {kAudioConfigure};
  int32_t settings[2] = {dsp.rate, dsp.fragment};
  std::memcpy(configuration + 1, settings, sizeof settings);
  uint8_t answer = 0;
  dsp.outputFailed = send(dsp.socket, configuration, sizeof configuration, MSG_NOSIGNAL) < 0 ||
                     !receiveAnswer(dsp.socket, &answer, kAnswerPatience) || answer != kAudioYes;
  if (dsp.outputFailed) stopHelper();
  return !dsp.outputFailed;
}

milliseconds fragmentTime() {
  return milliseconds(1000LL * dsp.fragment / dsp.rate);
}

// Hands one block over and waits until SDL has taken it; a stalled output loses it.
bool playBlock(const uint8_t* bytes, int count) {
  uint8_t stale = 0;
  while (recv(dsp.socket, &stale, 1, MSG_DONTWAIT) == 1) {
  }
  static uint8_t message[1 + kAudioMaxFragment];
  message[0] = kAudioBlock;
  std::memcpy(message + 1, bytes, count);
  if (send(dsp.socket, message, 1 + count, MSG_NOSIGNAL) < 0) return false;
  uint8_t answer = 0;
  receiveAnswer(dsp.socket, &answer, std::max(4 * fragmentTime(), milliseconds(200)));
  return true;
}

}  // namespace

// Executed as the audio helper, the program becomes the helper before anything
// else of it runs (before main and the other static initialisers). A stray
// variable without the helper's socket is ignored: the game starts as usual.
__attribute__((constructor(101))) static void becomeAudioHelperIfAsked() {
  const char* role = std::getenv(kAudioHelperVariable);
  if (role == nullptr) return;
  struct stat descriptor {};
  bool startedAsHelper =
      fstat(kAudioHelperSocket, &descriptor) == 0 && S_ISSOCK(descriptor.st_mode);
  if (startedAsHelper) runAudioHelper(role);
  unsetenv(kAudioHelperVariable);
}

int emulatedDspOpen() {
  if (dsp.fd >= 0) {
    errno = EBUSY;
    return -1;
  }
  if (!outputExists()) {
    errno = ENODEV;
    return -1;
  }
  dsp.outputFailed = false;
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
  if (!outputReady()) {
    errno = EIO;
    return -1;
  }
  const auto* from = static_cast<const uint8_t*>(bytes);
  for (size_t done = 0; done < count;) {
    int chunk = static_cast<int>(std::min<size_t>(count - done, dsp.fragment));
    if (!playBlock(from + done, chunk)) {
      errno = EIO;
      return -1;
    }
    done += chunk;
  }
  return static_cast<ssize_t>(count);
}

int emulatedDspClose() {
  stopHelper();
  int result = close(dsp.fd);
  dsp.fd = -1;
  return result;
}
