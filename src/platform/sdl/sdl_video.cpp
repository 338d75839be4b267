// The picture in a resizable window at the original display's 4:3 shape,
// crisp and letterboxed. Presents follow vsync where the renderer has it;
// otherwise they are paced by deadlines at 70 a second. The window opens where
// the player left it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "platform/sdl/argb_picture.h"
#include "platform/sdl/sdl_display.h"
#include "platform/vga.h"

namespace {

constexpr int kMaxScale = 8;
constexpr int kMinWindowWidth = 320, kMinWindowHeight = 240;

uint8_t videoMemory[kFrameBytes];
uint8_t palette[256][3];
CrispScale crisp;

// SDL falls back to drivers that show nothing when no display can be opened;
// those count as a missing mode unless asked for by name (as tests do).
bool showsNothing(const char* driver) {
  const char* requested = std::getenv("SDL_VIDEODRIVER");
  bool invisible = driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
                   std::strcmp(driver, "dummy") == 0;
  return invisible && (requested == nullptr || std::strcmp(requested, driver) != 0);
}

// Without a GPU every renderer of SDL's scales on the CPU, and its OpenGL runs
// on a software OpenGL that takes over 50 MB and 100 ms to start; the crisp
// pass into the window's own surface costs far less. A renderer asked for by
// name still wins.
bool wantsSurface() {
  if (std::getenv("SDL_RENDER_DRIVER") != nullptr) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  bool noGpuDriver =
      driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
  return noGpuDriver || access("/dev/dri", F_OK) != 0;
}

// A remembered position counts only while some display still shows part of the window.
bool onSomeDisplay(const WindowPlace& place) {
  SDL_Rect window{place.x, place.y, place.width, place.height};
  for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) == 0 && SDL_HasIntersection(&window, &bounds)) return true;
  }
  return false;
}

SDL_Window* createWindow(SdlDisplay& display) {
  WindowPlace place = readWindowConf();
  if (place.placed && !onSomeDisplay(place)) place.placed = false;
  int x = place.placed ? place.x : SDL_WINDOWPOS_CENTERED;
  int y = place.placed ? place.y : SDL_WINDOWPOS_CENTERED;
  uint32_t flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  if (place.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  display.windowed = place;
  SDL_Window* window = SDL_CreateWindow("Kravix", x, y, place.width, place.height, flags);
  if (window) SDL_SetWindowMinimumSize(window, kMinWindowWidth, kMinWindowHeight);
  return window;
}

bool openRenderer(SdlDisplay& display) {
  if (access("/dev/dri", F_OK) != 0 && std::getenv("SDL_RENDER_DRIVER") == nullptr)
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  display.renderer =
      SDL_CreateRenderer(display.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!display.renderer)
    display.renderer = SDL_CreateRenderer(display.window, -1, SDL_RENDERER_SOFTWARE);
  if (!display.renderer) return false;
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(display.renderer, &info);
  display.vsync =
      (info.flags & SDL_RENDERER_ACCELERATED) && (info.flags & SDL_RENDERER_PRESENTVSYNC);
  // SDL's software renderer only imitates vsync with a delay of its own, which
  // would come on top of the deadlines.
  if (!display.vsync) SDL_RenderSetVSync(display.renderer, 0);
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  display.picture = SDL_CreateTexture(display.renderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
  return display.picture != nullptr;
}

void rememberPlace(SdlDisplay& display) {
  WindowPlace place = display.windowed;
  place.fullscreen = (SDL_GetWindowFlags(display.window) & SDL_WINDOW_FULLSCREEN) != 0;
  if (!place.fullscreen) {
    SDL_GetWindowSize(display.window, &place.width, &place.height);
    SDL_GetWindowPosition(display.window, &place.x, &place.y);
    place.placed = true;
  }
  writeWindowConf(place);
}

void closeDisplay() {
  SdlDisplay& display = sdlDisplay();
  if (display.window) {
    unwatchWindow(display);
    rememberPlace(display);
  }
  if (display.staging) SDL_FreeSurface(display.staging);
  if (display.scaled) SDL_DestroyTexture(display.scaled);
  if (display.picture) SDL_DestroyTexture(display.picture);
  if (display.renderer) SDL_DestroyRenderer(display.renderer);
  if (display.window) SDL_DestroyWindow(display.window);
  display = SdlDisplay{};
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool openDisplay() {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  if (showsNothing(SDL_GetCurrentVideoDriver())) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  SdlDisplay& display = sdlDisplay();
  display.window = createWindow(display);
  bool ready = false;
  if (display.window) {
    display.onSurface = wantsSurface() && SDL_GetWindowSurface(display.window) != nullptr;
    ready = display.onSurface || openRenderer(display);
  }
  if (!ready) {
    closeDisplay();
    return false;
  }
  std::memset(videoMemory, 0, sizeof videoMemory);
  watchWindow();
  return true;
}

// The renderer path: the integer pre-scale covering the output, kept as a render target
// smoothed when drawn.
SDL_Texture* scaledPicture(SdlDisplay& display, const PictureArea& area) {
  int wanted = std::clamp(
      static_cast<int>(std::ceil(area.height / static_cast<double>(kScreenHeight))), 1, kMaxScale);
  if (display.scaled && display.scale == wanted) return display.scaled;
  if (display.scaled) SDL_DestroyTexture(display.scaled);
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  display.scaled =
      SDL_CreateTexture(display.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                        kScreenWidth * wanted, kScreenHeight * wanted);
  display.scale = display.scaled ? wanted : 0;
  return display.scaled;
}

void drawWithRenderer(SdlDisplay& display) {
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(display.picture, nullptr, &pixels, &pitch) == 0) {
    convertToArgb(videoMemory, display.argb, pixels, pitch);
    SDL_UnlockTexture(display.picture);
  }
  int outputWidth = 0, outputHeight = 0;
  SDL_GetRendererOutputSize(display.renderer, &outputWidth, &outputHeight);
  PictureArea area = pictureArea(outputWidth, outputHeight);
  SDL_Rect target{area.x, area.y, area.width, area.height};
  SDL_Texture* scaled = scaledPicture(display, area);
  if (scaled && SDL_SetRenderTarget(display.renderer, scaled) == 0) {
    SDL_RenderCopy(display.renderer, display.picture, nullptr, nullptr);
    SDL_SetRenderTarget(display.renderer, nullptr);
  } else {
    scaled = display.picture;
  }
  SDL_SetRenderDrawColor(display.renderer, 0, 0, 0, 255);
  SDL_RenderClear(display.renderer);
  SDL_RenderCopy(display.renderer, scaled, nullptr, &target);
}

// The surface path: set up again whenever SDL hands out a new surface (after a
// resize) or the window's contents were lost (expose).
SDL_Surface* drawingSurface(SdlDisplay& display, SDL_Surface* window) {
  if (window->format->BytesPerPixel == 4) return window;
  if (!display.staging || display.staging->w != window->w || display.staging->h != window->h) {
    if (display.staging) SDL_FreeSurface(display.staging);
    display.staging =
        SDL_CreateRGBSurfaceWithFormat(0, window->w, window->h, 32, SDL_PIXELFORMAT_XRGB8888);
  }
  return display.staging;
}

void mapPalette(SdlDisplay& display, const SDL_PixelFormat* format) {
  for (int i = 0; i < 256; ++i) {
    uint32_t argb = display.argb[i];
    display.surfaceColours[i] =
        SDL_MapRGB(format, argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF);
  }
  display.paletteChanged = false;
}

void drawOnSurface(SdlDisplay& display) {
  SDL_Surface* window = SDL_GetWindowSurface(display.window);
  if (!window) return;
  SDL_Surface* target = drawingSurface(display, window);
  if (!target) return;
  PictureArea area = pictureArea(target->w, target->h);
  if (takeLostContents()) display.wholeWindowStale = true;
  if (window != display.surface || display.wholeWindowStale ||
      crisp.columns.size != std::min(area.width, kCrispMaxSide) ||
      crisp.rows.size != std::min(area.height, kCrispMaxSide)) {
    display.surface = window;
    display.wholeWindowStale = true;
    display.paletteChanged = true;
    prepareCrispScale(crisp, area.width, area.height);
    SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
  }
  if (display.paletteChanged) mapPalette(display, target->format);
  if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
  auto* corner = static_cast<uint8_t*>(target->pixels) + area.y * target->pitch + area.x * 4;
  crispScale(crisp, videoMemory, display.surfaceColours, corner, target->pitch);
  if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
  display.changed = SDL_Rect{area.x, area.y, crisp.columns.size, crisp.rows.size};
  if (target != window) SDL_BlitSurface(target, &display.changed, window, &display.changed);
}

void sendOnSurface(SdlDisplay& display) {
  if (display.wholeWindowStale) {
    SDL_UpdateWindowSurface(display.window);
  } else {
    SDL_UpdateWindowSurfaceRects(display.window, &display.changed, 1);
  }
  display.wholeWindowStale = false;
}

void drawPicture(SdlDisplay& display) {
  if (display.onSurface) {
    drawOnSurface(display);
  } else if (display.renderer) {
    drawWithRenderer(display);
  }
}

void sendPicture(SdlDisplay& display) {
  if (display.onSurface) {
    sendOnSurface(display);
  } else if (display.renderer) {
    SDL_RenderPresent(display.renderer);
  }
}

}  // namespace

SdlDisplay& sdlDisplay() {
  static SdlDisplay display;
  return display;
}

void showPicture(SdlDisplay& display) {
  drawPicture(display);
  sendPicture(display);
}

void outputSize(SdlDisplay& display, int& width, int& height) {
  width = height = 0;
  if (display.renderer) {
    SDL_GetRendererOutputSize(display.renderer, &width, &height);
  } else if (SDL_Surface* surface = SDL_GetWindowSurface(display.window)) {
    width = surface->w;
    height = surface->h;
  }
}

void toggleFullscreen() {
  SDL_Window* window = sdlDisplay().window;
  if (!window) return;
  bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN;
  if (!full) {
    WindowPlace& place = sdlDisplay().windowed;
    SDL_GetWindowSize(window, &place.width, &place.height);
    SDL_GetWindowPosition(window, &place.x, &place.y);
    place.placed = true;
  }
  SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  sdlDisplay().wholeWindowStale = true;
}

int vga_setmode(int mode) {
  if (mode == G320x200x256) {
    if (sdlDisplay().window) return 0;
    return openDisplay() ? 0 : 1;
  }
  if (mode == TEXT) {
    if (sdlDisplay().window) closeDisplay();
    return 0;
  }
  return 1;
}

unsigned char* vga_getgraphmem() {
  return videoMemory;
}

int vga_setpalette(int index, int red, int green, int blue) {
  if (index < 0 || index > 255) return -1;
  palette[index][0] = static_cast<uint8_t>(red & 63);
  palette[index][1] = static_cast<uint8_t>(green & 63);
  palette[index][2] = static_cast<uint8_t>(blue & 63);
  sdlDisplay().argb[index] = shownColour(palette[index]);
  sdlDisplay().paletteChanged = true;
  return 0;
}

// Without vsync, presents keep the original display's 70 a second, so the
// screens that count their passes keep their speed and the CPU idles between.
// The picture is drawn before the wait, so it goes out on time.
void vga_present() {
  SdlDisplay& display = sdlDisplay();
  if (!display.window) return;
  drawPicture(display);
  if (!display.vsync) sleepUntil(takePresentTime(display.pacer, monotonicNanoseconds()));
  sendPicture(display);
  display.presentedSincePoll = true;
  ++display.presents;
}
