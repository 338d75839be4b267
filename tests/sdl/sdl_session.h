// What the SDL tests share: SDL's dummy video driver, a configuration folder of
// the test program's own (never the player's), events pushed as SDL delivers
// them, and the picture mode and keyboard opened as the game opens them.
#pragma once

#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/keyboard.h"
#include "platform/vga.h"

inline const bool kSdlTestEnvironmentSet = [] {
  const std::string folder =
      std::filesystem::temp_directory_path() / ("kravix-sdl-config-" + std::to_string(getpid()));
  return setenv("XDG_CONFIG_HOME", folder.c_str(), 1) == 0 &&
         setenv("SDL_VIDEODRIVER", "dummy", 1) == 0;
}();

inline void pushKey(SDL_Scancode code, bool down, Uint16 mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.keysym.scancode = code;
  event.key.keysym.mod = mod;
  SDL_PushEvent(&event);
}

inline void pushWindowEvent(SDL_WindowEventID what) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = what;
  SDL_PushEvent(&event);
}

class SdlSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(vga_setmode(G320x200x256), 0);
    startKeys();
  }
  void TearDown() override {
    keyboard_close();
    vga_setmode(TEXT);
  }
  static void startKeys() {
    keyboard_init();
    keyboard_translatekeys(TRANSLATE_CURSORKEYS);
    keyboard_update();
  }
};
