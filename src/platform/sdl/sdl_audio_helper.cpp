#include "platform/sdl/sdl_audio_helper.h"

#include <SDL2/SDL.h>
#include <sys/socket.h>
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

constexpr uint8_t kSilence = 128;
// How long SDL's callback waits for a block that is on its way, when SDL asks
// for several in a row.
constexpr milliseconds kCallbackPatience{5};

// The block received last, until SDL has taken all of it.
struct Pending {
  std::mutex lock;
  std::condition_variable changed;
  uint8_t bytes[kAudioMaxFragment];
  int size = 0;
  int taken = 0;
  bool waiting() const { return taken < size; }
};

void onSdlWantsAudio(void* userdata, Uint8* stream, int length) {
  Pending& pending = *static_cast<Pending*>(userdata);
  std::unique_lock<std::mutex> guard(pending.lock);
  Clock::time_point giveUp = Clock::now() + kCallbackPatience;
  int filled = 0;
  while (filled < length) {
    if (!pending.waiting() &&
        !pending.changed.wait_until(guard, giveUp, [&] { return pending.waiting(); })) {
      break;
    }
    int count = std::min(length - filled, pending.size - pending.taken);
    std::memcpy(stream + filled, pending.bytes + pending.taken, count);
    filled += count;
    pending.taken += count;
    if (!pending.waiting()) pending.changed.notify_all();
  }
  std::memset(stream + filled, kSilence, length - filled);
}

SDL_AudioDeviceID openOutput(Pending& pending, int rate, int fragment) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  SDL_AudioSpec wanted{};
  wanted.freq = std::clamp(rate, 1000, 192000);
  wanted.format = AUDIO_U8;
  wanted.channels = 1;
  // SDL's buffer, and the audio server's request that follows it, is one whole
  // block: the device's second fragment. Half a block heard sounds 20 ms sooner
  // but left gaps on a busy machine (tools/pulse_check, README).
  wanted.samples = static_cast<Uint16>(std::clamp(fragment, 16, 32768));
  wanted.callback = onSdlWantsAudio;
  wanted.userdata = &pending;
  SDL_AudioSpec obtained{};
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device != 0) SDL_PauseAudioDevice(device, 0);
  return device;
}

void answer(uint8_t value) {
  send(kAudioHelperSocket, &value, 1, MSG_NOSIGNAL);
}

// Puts the block where SDL's callback takes it and waits until it has.
void handOver(Pending& pending, const uint8_t* bytes, int count, milliseconds patience) {
  std::unique_lock<std::mutex> guard(pending.lock);
  std::memcpy(pending.bytes, bytes, count);
  pending.size = count;
  pending.taken = 0;
  pending.changed.notify_all();
  if (!pending.changed.wait_for(guard, patience, [&] { return !pending.waiting(); })) {
    pending.size = pending.taken = 0;
  }
}

[[noreturn]] void probe() {
  static Pending pending;
  answer(openOutput(pending, 8000, 128) != 0 ? kAudioYes : kAudioNo);
  // Ends without closing SDL: nothing of the probe's output is ever flushed.
  _exit(0);
}

[[noreturn]] void serve() {
  static Pending pending;
  static uint8_t packet[1 + kAudioMaxFragment];
  SDL_AudioDeviceID device = 0;
  milliseconds patience{200};
  for (;;) {
    ssize_t got = recv(kAudioHelperSocket, packet, sizeof packet, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    if (packet[0] == kAudioConfigure && got == 1 + 2 * static_cast<ssize_t>(sizeof(int32_t))) {
      int32_t settings[2];
      std::memcpy(settings, packet + 1, sizeof settings);
      if (device == 0) device = openOutput(pending, settings[0], settings[1]);
      patience = std::max(milliseconds(4000LL * settings[1] / std::max(settings[0], 1)),
                          milliseconds(200));
      answer(device != 0 ? kAudioYes : kAudioNo);
    } else if (packet[0] == kAudioBlock && device != 0) {
      handOver(pending, packet + 1, static_cast<int>(got - 1), patience);
      answer(kAudioTaken);
    }
  }
  // End of file: the last block has been taken; SDL lets its buffer go.
  if (device != 0) SDL_CloseAudioDevice(device);
  _exit(0);
}

}  // namespace

void runAudioHelper(const char* role) {
  if (std::strcmp(role, kAudioHelperProbe) == 0) probe();
  if (std::strcmp(role, kAudioHelperServe) == 0) serve();
  _exit(2);
}
