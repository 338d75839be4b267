// The SDL2 backend's keyboard, fed with events as SDL would deliver them,
// under SDL's dummy video driver, with the default keys and with a keys file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/keyboard.h"
#include "platform/sdl/keys_file.h"
#include "platform/sdl/sdl_display.h"
#include "platform/vga.h"

namespace {

class SdlKeyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(vga_setmode(G320x200x256), 0);
    keyboard_init();
    keyboard_translatekeys(TRANSLATE_CURSORKEYS);
    keyboard_update();
  }
  void TearDown() override {
    keyboard_close();
    vga_setmode(TEXT);
    forgetPlayerKeyBindings();
  }

  static void key(SDL_Scancode code, bool down, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.scancode = code;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
  }
  static void window(SDL_WindowEventID what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    SDL_PushEvent(&event);
  }
};

TEST_F(SdlKeyboard, AKeyIsHeldTillReleasedATapForOneUpdateAndLosingFocusReleasesAll) {
  key(SDL_SCANCODE_RSHIFT, true);
  keyboard_update();
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_RIGHTSHIFT));
  key(SDL_SCANCODE_RETURN, true);
  key(SDL_SCANCODE_RETURN, false);  // a tap between two updates
  key(SDL_SCANCODE_A, true);
  key(SDL_SCANCODE_UP, true);
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_ENTER) && keyboard_keypressed(SCANCODE_RIGHTSHIFT));
  key(SDL_SCANCODE_RSHIFT, false);
  keyboard_update();
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_RIGHTSHIFT) || keyboard_keypressed(SCANCODE_ENTER));
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_A) && keyboard_keypressed(SCANCODE_CURSORUP));
  window(SDL_WINDOWEVENT_FOCUS_LOST);
  keyboard_update();
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_A) || keyboard_keypressed(SCANCODE_CURSORUP));
}

TEST_F(SdlKeyboard, AltEnterSwitchesFullscreenInsteadOfFiring) {
  key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
  keyboard_update();
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_ENTER));
}

// Last: from a quit on, F12 stays held for the rest of the process (that it is
// still held at later polls: SdlWindow.ClosingTheWindowWhileItIsAwayEndsTheWait).
TEST_F(SdlKeyboard, ClosingTheWindowHoldsF12AtOnce) {
  window(SDL_WINDOWEVENT_CLOSE);
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_F12));
}

// The player's keys file: a bound key holds its action's code and a key bound
// away no longer does. (Typing a name reads every key as itself: tests/gamepad.)
class PlayerKeys : public SdlKeyboard {
 protected:
  void SetUp() override {
    const std::string config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::create_directories(config + "/kravix");
    std::ofstream(config + "/kravix/keys.conf") << "thrust = W\nturn_left = J Left\n";
    forgetPlayerKeyBindings();
    SdlKeyboard::SetUp();
  }
  void TearDown() override {
    SdlKeyboard::TearDown();
    std::filesystem::remove(std::string(std::getenv("XDG_CONFIG_HOME")) + "/kravix/keys.conf");
  }
  static bool heldAfter(SDL_Scancode code, bool down, int read) {
    key(code, down);
    keyboard_update();
    return keyboard_keypressed(read);
  }
};

TEST_F(PlayerKeys, ABoundKeyHoldsItsActionAndAKeyBoundAwayNoLonger) {
  EXPECT_TRUE(heldAfter(SDL_SCANCODE_W, true, SCANCODE_RIGHTSHIFT));
  EXPECT_FALSE(heldAfter(SDL_SCANCODE_W, false, SCANCODE_RIGHTSHIFT));
  EXPECT_FALSE(heldAfter(SDL_SCANCODE_RSHIFT, true, SCANCODE_RIGHTSHIFT));
  EXPECT_FALSE(heldAfter(SDL_SCANCODE_A, true, SCANCODE_A));
  // The cursor key bound to turning still moves the menus' selection too.
  EXPECT_TRUE(heldAfter(SDL_SCANCODE_LEFT, true, SCANCODE_A));
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_CURSORLEFT));
  EXPECT_TRUE(heldAfter(SDL_SCANCODE_S, true, SCANCODE_S)) << "not in the file: its default stands";
}

}  // namespace
