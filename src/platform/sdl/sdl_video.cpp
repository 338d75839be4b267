// The picture in a resizable window at the original display's 4:3 shape:
// drawn crisply at an integer scale, smoothed from there to the window and
// letterboxed. Presents follow vsync and never come faster than 70 a second.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include "platform/sdl/argb_picture.h"
#include "platform/sdl/sdl_display.h"
#include "platform/vga.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr int kMaxScale = 8;
constexpr double kMinPresentSeconds = 1.0 / 70.0;

uint8_t videoMemory[kWidth * kHeight];
uint8_t palette[256][3];

void closeDisplay() {
  SdlDisplay& display = sdlDisplay();
  if (display.scaled) SDL_DestroyTexture(display.scaled);
  if (display.picture) SDL_DestroyTexture(display.picture);
  if (display.renderer) SDL_DestroyRenderer(display.renderer);
  if (display.window) SDL_DestroyWindow(display.window);
  display = SdlDisplay{};
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SDL_Renderer* createRenderer(SDL_Window* window) {
  SDL_Renderer* renderer =
      SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  return renderer;
}

// SDL falls back to drivers that show nothing when no display can be opened;
// those count as a missing mode unless asked for by name (as tests do).
bool showsNothing(const char* driver) {
  const char* requested = std::getenv("SDL_VIDEODRIVER");
  bool invisible = driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
                   std::strcmp(driver, "dummy") == 0;
  return invisible && (requested == nullptr || std::strcmp(requested, driver) != 0);
}

// Without a GPU, SDL's OpenGL renderer runs on a software OpenGL that takes
// over 50 MB and 100 ms to start; SDL's own software renderer draws the same
// picture for a fraction of both. A renderer asked for by name still wins.
void preferSoftwareWithoutGpu() {
  if (access("/dev/dri", F_OK) == 0 || std::getenv("SDL_RENDER_DRIVER") != nullptr) return;
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

bool openDisplay() {
  preferSoftwareWithoutGpu();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  if (showsNothing(SDL_GetCurrentVideoDriver())) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  SdlDisplay& display = sdlDisplay();
  display.window = SDL_CreateWindow("Kravix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 960,
                                    720, SDL_WINDOW_RESIZABLE);
  if (display.window) display.renderer = createRenderer(display.window);
  if (display.renderer) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    display.picture = SDL_CreateTexture(display.renderer, SDL_PIXELFORMAT_ARGB8888,
                                        SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
  }
  if (!display.picture) {
    closeDisplay();
    return false;
  }
  std::memset(videoMemory, 0, sizeof videoMemory);
  return true;
}

// The largest rectangle of the 4:3 shape that fits the window, centred.
SDL_Rect letterbox(int outputWidth, int outputHeight) {
  int width = outputWidth;
  int height = width * 3 / 4;
  if (height > outputHeight) {
    height = outputHeight;
    width = height * 4 / 3;
  }
  return SDL_Rect{(outputWidth - width) / 2, (outputHeight - height) / 2, width, height};
}

// The integer pre-scale covering the output, kept as a render target smoothed when drawn.
SDL_Texture* scaledPicture(SdlDisplay& display, const SDL_Rect& area) {
  int wanted =
      std::clamp(static_cast<int>(std::ceil(area.h / static_cast<double>(kHeight))), 1, kMaxScale);
  if (display.scaled && display.scale == wanted) return display.scaled;
  if (display.scaled) SDL_DestroyTexture(display.scaled);
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  display.scaled = SDL_CreateTexture(display.renderer, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_TARGET, kWidth * wanted, kHeight * wanted);
  display.scale = display.scaled ? wanted : 0;
  return display.scaled;
}

void fillPicture(SdlDisplay& display) {
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(display.picture, nullptr, &pixels, &pitch) != 0) return;
  convertToArgb(videoMemory, display.argb, pixels, pitch);
  SDL_UnlockTexture(display.picture);
}

void drawPicture(SdlDisplay& display) {
  int outputWidth = 0, outputHeight = 0;
  SDL_GetRendererOutputSize(display.renderer, &outputWidth, &outputHeight);
  SDL_Rect area = letterbox(outputWidth, outputHeight);
  SDL_Texture* scaled = scaledPicture(display, area);
  if (scaled && SDL_SetRenderTarget(display.renderer, scaled) == 0) {
    SDL_RenderCopy(display.renderer, display.picture, nullptr, nullptr);
    SDL_SetRenderTarget(display.renderer, nullptr);
  } else {
    scaled = display.picture;
  }
  SDL_SetRenderDrawColor(display.renderer, 0, 0, 0, 255);
  SDL_RenderClear(display.renderer);
  SDL_RenderCopy(display.renderer, scaled, nullptr, &area);
  SDL_RenderPresent(display.renderer);
}

// Keeps screens that count their passes at the original display's speed.
void pace(SdlDisplay& display) {
  double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
  double elapsed = (SDL_GetPerformanceCounter() - display.lastPresent) / frequency;
  if (display.lastPresent != 0 && elapsed < kMinPresentSeconds) {
    SDL_Delay(static_cast<uint32_t>((kMinPresentSeconds - elapsed) * 1000.0 + 0.5));
  }
  display.lastPresent = SDL_GetPerformanceCounter();
}

}  // namespace

SdlDisplay& sdlDisplay() {
  static SdlDisplay display;
  return display;
}

void toggleFullscreen() {
  SDL_Window* window = sdlDisplay().window;
  if (!window) return;
  bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
  SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_ShowCursor(full ? SDL_ENABLE : SDL_DISABLE);
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
  return 0;
}

void vga_present() {
  SdlDisplay& display = sdlDisplay();
  if (!display.renderer) return;
  fillPicture(display);
  drawPicture(display);
  pace(display);
}
