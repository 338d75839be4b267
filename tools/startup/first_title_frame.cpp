// Wrappers linked in with --wrap around three calls of the SDL2 game: the
// video mode switch (the window opens), the sound start and the present. The
// first present that shows the title's fixed text (white, colour 15, where its
// key lines stand) and the first that shows the turning logo (the red ramp,
// palette entries 180..243, in the logo band) are noted; at the latter one line
// goes to standard output, once: the wall clock in nanoseconds when the mode
// switch began and ended, when the sound start began and ended, and at those two
// presents. The game runs on.
#include <time.h>
#include <unistd.h>

#include <cstdio>

#include "platform/vga.h"

extern "C" int __real__Z11vga_setmodei(int mode);
extern "C" void __real__Z10startSoundv();
extern "C" void __real__Z11vga_presentv();

namespace {

long long videoStart, videoEnd, soundStart, soundEnd, titleShown;
bool stamped = false;

long long now() {
  timespec clock{};
  clock_gettime(CLOCK_REALTIME, &clock);
  return static_cast<long long>(clock.tv_sec) * 1000000000LL + clock.tv_nsec;
}

bool showsTitleText() {
  const unsigned char* shown = vga_getgraphmem();
  for (int i = 165 * kScreenWidth; i < 173 * kScreenWidth; ++i) {
    if (shown[i] == 15) return true;
  }
  return false;
}

bool showsTitleLogo() {
  const unsigned char* shown = vga_getgraphmem();
  for (int i = 0; i < kScreenWidth * 90; ++i) {
    if (shown[i] >= 180 && shown[i] <= 243) return true;
  }
  return false;
}

}  // namespace

extern "C" int __wrap__Z11vga_setmodei(int mode) {
  const long long start = now();
  const int result = __real__Z11vga_setmodei(mode);
  if (mode == G320x200x256 && videoStart == 0) videoStart = start, videoEnd = now();
  return result;
}

extern "C" void __wrap__Z10startSoundv() {
  soundStart = now();
  __real__Z10startSoundv();
  soundEnd = now();
}

extern "C" void __wrap__Z11vga_presentv() {
  __real__Z11vga_presentv();
  if (titleShown == 0 && showsTitleText()) titleShown = now();
  if (stamped || !showsTitleLogo()) return;
  stamped = true;
  char line[128];
  const int length = std::snprintf(line, sizeof line, "%lld %lld %lld %lld %lld %lld\n", videoStart,
                                   videoEnd, soundStart, soundEnd, titleShown, now());
  if (write(STDOUT_FILENO, line, static_cast<size_t>(length)) < 0) return;
}
