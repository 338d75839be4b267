// The SDL2 window behind the video seam, shared by the video, window and
// keyboard files. Without a GPU the picture goes through the crisp pass
// straight into the window's surface; with one, through SDL's accelerated
// renderer (integer pre-scale, smoothed from there).
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>

#include "platform/sdl/crisp_scale.h"
#include "platform/sdl/frame_pacer.h"
#include "platform/sdl/window_conf.h"

struct SdlDisplay {
  SDL_Window* window = nullptr;
  // The renderer path.
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* picture = nullptr;  // 320x200, filled from video memory each present
  SDL_Texture* scaled = nullptr;   // the picture at an integer scale, smoothed from there
  int scale = 0;
  bool vsync = false;       // the renderer waits for the display's refresh
  uint32_t argb[256] = {};  // the palette as the window shows it
  // The window surface path.
  bool onSurface = false;
  SDL_Surface* surface = nullptr;  // the window surface the pass was last set up for
  SDL_Surface* staging = nullptr;  // a 32-bit picture for window surfaces of other depths
  bool wholeWindowStale = true;    // bars and picture to be redrawn and sent
  SDL_Rect changed{};              // the picture's area, drawn and waiting to be sent
  bool paletteChanged = true;
  uint32_t surfaceColours[256] = {};  // the palette in the surface's pixel format
  // Pacing and the poll's rules.
  FramePacer pacer;
  uint64_t presents = 0;
  bool presentedSincePoll = false;
  bool cursorHidden = false;
  WindowPlace windowed;  // the place to remember, kept while fullscreen
};

SdlDisplay& sdlDisplay();
void toggleFullscreen();
// Draws the current video memory into the window at once, without pacing.
void showPicture(SdlDisplay& display);
// The window's size in pixels (more than its size in points on high-DPI displays).
void outputSize(SdlDisplay& display, int& width, int& height);

// The window's events (sdl_window.cpp), watched from the window's opening to its closing.
void watchWindow();
void unwatchWindow(SdlDisplay& display);
// True once after the window lost its contents (exposed, resized, restored).
bool takeLostContents();
