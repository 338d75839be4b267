// The player's keys file on the SDL2 keyboard: a bound key holds its action's
// code and a key bound away no longer does. (Typing a name, which reads every
// key as itself, is tested through the name entry in tests/gamepad.)
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/keyboard.h"
#include "platform/sdl/keys_file.h"
#include "platform/vga.h"

namespace {

class PlayerKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / ("kravix-keys-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder + "/kravix");
    std::ofstream(folder + "/kravix/keys.conf") << "thrust = W\nturn_left = J Left\n";
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    forgetPlayerKeyBindings();
    ASSERT_EQ(vga_setmode(G320x200x256), 0);
    keyboard_init();
    keyboard_translatekeys(TRANSLATE_CURSORKEYS);
    keyboard_update();
  }
  void TearDown() override {
    keyboard_close();
    vga_setmode(TEXT);
    forgetPlayerKeyBindings();
    std::filesystem::remove_all(folder);
  }
  static void key(SDL_Scancode code, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.scancode = code;
    SDL_PushEvent(&event);
    keyboard_update();
  }
  std::string folder;
};

TEST_F(PlayerKeys, ABoundKeyHoldsItsActionAndAKeyBoundAwayNoLonger) {
  key(SDL_SCANCODE_W, true);
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_RIGHTSHIFT));
  key(SDL_SCANCODE_W, false);
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_RIGHTSHIFT));
  key(SDL_SCANCODE_RSHIFT, true);
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_RIGHTSHIFT));
  key(SDL_SCANCODE_RSHIFT, false);
  key(SDL_SCANCODE_A, true);
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_A));
  key(SDL_SCANCODE_A, false);
  // The cursor key bound to turning still moves the menus' selection too.
  key(SDL_SCANCODE_LEFT, true);
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_A));
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_CURSORLEFT));
  key(SDL_SCANCODE_LEFT, false);
  key(SDL_SCANCODE_S, true);  // not in the file: its default stands
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_S));
}

}  // namespace
