// plain-stretch: the yardstick for the game's present cost. A plain SDL2
// program that fills a 320x200 streaming texture through a palette each frame
// and lets SDL's software renderer scale it linearly into the 4:3 area of the
// window, 70 times a second by deadlines, as most ports of such games do.
//   plain-stretch WIDTH HEIGHT [fullscreen|idle]
// Prints the figures of present_log.h to standard error after 2 + 6 s. With
// "idle" it only keeps the deadlines, which shows what the machine's own
// wake-ups add to the intervals.
#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "present_log.h"

namespace {

constexpr uint64_t kPeriod = 1'000'000'000 / 70;

// Deadlines 1/70 s apart, started afresh after a stall: the game's own pacing.
void keepDeadline(uint64_t& deadline) {
  if (presentLogClock(CLOCK_MONOTONIC) > deadline + kPeriod / 4)
    deadline = presentLogClock(CLOCK_MONOTONIC);
  timespec until{static_cast<time_t>(deadline / 1'000'000'000u),
                 static_cast<long>(deadline % 1'000'000'000u)};
  clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
  deadline += kPeriod;
}

void fillPicture(SDL_Texture* texture, const uint32_t palette[256], int frame) {
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return;
  for (int y = 0; y < 200; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + y * pitch);
    for (int x = 0; x < 320; ++x) row[x] = palette[((x + frame) * 31 ^ y * 7) & 0xFF];
  }
  SDL_UnlockTexture(texture);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: plain-stretch WIDTH HEIGHT [fullscreen]\n");
    return 2;
  }
  int width = std::atoi(argv[1]), height = std::atoi(argv[2]);
  bool fullscreen = argc > 3 && std::strcmp(argv[3], "fullscreen") == 0;
  bool idle = argc > 3 && std::strcmp(argv[3], "idle") == 0;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window =
      SDL_CreateWindow("plain-stretch", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                       height, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
  SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                      SDL_TEXTUREACCESS_STREAMING, 320, 200)
                                  : nullptr;
  if (!texture) return 1;
  SDL_RenderSetVSync(renderer, 0);  // paced by the deadlines alone, as the game is
  uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010305);
  PresentLog log;
  if (const char* seconds = std::getenv("KRAVIX_PROBE_SECONDS")) log.seconds = std::atof(seconds);
  uint64_t deadline = presentLogClock(CLOCK_MONOTONIC);
  for (int frame = 0;; ++frame) {
    if (idle) {
      keepDeadline(deadline);
      if (logPresent(log)) break;
      continue;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    fillPicture(texture, palette, frame);
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    SDL_Rect area{0, 0, w, w * 3 / 4};
    if (area.h > h) area.h = h, area.w = h * 4 / 3;
    area.x = (w - area.w) / 2;
    area.y = (h - area.h) / 2;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, &area);
    keepDeadline(deadline);
    SDL_RenderPresent(renderer);
    if (logPresent(log)) break;
  }
  printPresentLog(log, idle ? "idle" : "plain", stderr);
  SDL_Quit();
  return 0;
}
