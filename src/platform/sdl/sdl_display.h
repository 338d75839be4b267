// The SDL2 window behind the video seam, shared by the video and keyboard files.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>

struct SdlDisplay {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* picture = nullptr;  // 320x200, filled from video memory each present
  SDL_Texture* scaled = nullptr;   // the picture at an integer scale, smoothed from there
  int scale = 0;
  uint32_t argb[256] = {};  // the palette as the window shows it
  uint64_t lastPresent = 0;
};

SdlDisplay& sdlDisplay();
void toggleFullscreen();
