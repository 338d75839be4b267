// The window's events as the display needs them, and what happens at every
// keyboard poll: a poll that follows no present presents the current picture
// again (paced like a frame, so waits repaint and cost a frame, not a core);
// while the window is unfocused or minimised the poll waits, repainting on
// expose, and the clock stands still; the cursor hides when idle over the picture.
#include "platform/sdl/sdl_window.h"

#include <atomic>

#include "platform/sdl/sdl_display.h"
#include "platform/vga.h"

namespace {

constexpr uint64_t kCursorIdleTicks = 2000;
constexpr uint32_t kAwayCheckMs = 20;

uint64_t awayNanoseconds = 0;  // for the whole process, as the clock runs on across windows

// Set as SDL queues the events, which may happen on another thread (SDL_PushEvent).
struct WindowState {
  std::atomic<bool> focused{true}, minimised{false}, closeRequested{false}, contentsLost{false};
  std::atomic<uint64_t> lastPointerMove{0};  // SDL ticks
};
WindowState state;
// The wait starts at the poll after the one that saw the window go, so that
// poll has taken the focus loss (and released the keys) first.
bool awayAtLastPoll = false;

void takeWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
      state.focused = false;
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      state.focused = true;
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      state.minimised = true;
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      state.minimised = false;
      state.contentsLost = true;
      break;
    case SDL_WINDOWEVENT_CLOSE:
      state.closeRequested = true;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      state.contentsLost = true;
      break;
    default:
      break;
  }
}

// Runs as SDL queues each event, so the keyboard still takes every one of them.
int watchEvent(void* /*unused*/, SDL_Event* event) {
  if (event->type == SDL_QUIT) state.closeRequested = true;
  if (event->type == SDL_MOUSEMOTION) state.lastPointerMove = SDL_GetTicks64();
  if (event->type == SDL_WINDOWEVENT) takeWindowEvent(event->window);
  return 0;
}

bool away() {
  return (!state.focused || state.minimised) && !state.closeRequested;
}

void waitUntilBack(SdlDisplay& display) {
  uint64_t start = monotonicNanoseconds();
  while (away()) {
    SDL_Delay(kAwayCheckMs);
    SDL_PumpEvents();
    SDL_FlushEvent(SDL_MOUSEMOTION);
    if (!state.minimised && takeLostContents()) {
      display.wholeWindowStale = true;
      showPicture(display);
    }
  }
  awayNanoseconds += monotonicNanoseconds() - start;
  display.pacer = FramePacer{};
}

bool pointerOverPicture(SdlDisplay& display) {
  if (SDL_GetMouseFocus() != display.window) return false;
  int x = 0, y = 0, width = 0, height = 0, pixelsWide = 0, pixelsHigh = 0;
  SDL_GetMouseState(&x, &y);
  SDL_GetWindowSize(display.window, &width, &height);
  outputSize(display, pixelsWide, pixelsHigh);
  if (width <= 0 || height <= 0) return false;
  PictureArea area = pictureArea(pixelsWide, pixelsHigh);
  int px = x * pixelsWide / width, py = y * pixelsHigh / height;
  return px >= area.x && px < area.x + area.width && py >= area.y && py < area.y + area.height;
}

void tidyCursor(SdlDisplay& display) {
  bool fullscreen = (SDL_GetWindowFlags(display.window) & SDL_WINDOW_FULLSCREEN) != 0;
  bool idle = SDL_GetTicks64() - state.lastPointerMove >= kCursorIdleTicks;
  bool hide = fullscreen || (idle && pointerOverPicture(display));
  if (hide == display.cursorHidden) return;
  SDL_ShowCursor(hide ? SDL_DISABLE : SDL_ENABLE);
  display.cursorHidden = hide;
}

}  // namespace

void watchWindow() {
  state.focused = true;
  state.minimised = state.closeRequested = false;
  state.contentsLost = true;
  awayAtLastPoll = false;
  state.lastPointerMove = SDL_GetTicks64();
  SDL_AddEventWatch(watchEvent, nullptr);
}

void unwatchWindow(SdlDisplay& display) {
  SDL_DelEventWatch(watchEvent, nullptr);
  if (display.cursorHidden) SDL_ShowCursor(SDL_ENABLE);
}

void attendWindowAtPoll() {
  SdlDisplay& display = sdlDisplay();
  if (!display.window) return;
  if (!display.presentedSincePoll) vga_present();
  display.presentedSincePoll = false;
  if (awayAtLastPoll && away()) waitUntilBack(display);
  awayAtLastPoll = away();
  tidyCursor(display);
}

bool takeLostContents() {
  return state.contentsLost.exchange(false);
}

uint64_t windowAwayNanoseconds() {
  return awayNanoseconds;
}
