// The SDL2 backend's keyboard, fed with events as SDL would deliver them,
// with the default keys, with a keys file, and while a name is typed.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/sdl/keys_file.h"
#include "platform/sdl/sdl_layout.h"
#include "platform/sdl/sdl_scancodes.h"
#include "sdl_session.h"

namespace {

// The whole table pinned by a digest, cursor keys translated and not.
TEST(SdlScanCodes, EveryKeyHasItsSetOneCode) {
  for (auto [translated, wanted] :
       {std::pair{true, 947643982768541304u}, {false, 7585969908843245892u}}) {
    uint64_t digest = 14695981039346656037ull;
    for (int sdl = 0; sdl < SDL_NUM_SCANCODES; ++sdl)
      digest = (digest ^
                static_cast<uint8_t>(setOneScanCode(static_cast<SDL_Scancode>(sdl), translated))) *
               1099511628211ull;
    EXPECT_EQ(digest, wanted);
  }
}

using SdlKeyboard = SdlSession;

// From a quit on, F12 stays held for the rest of the process (that it is still
// held at later polls: SdlWindow.WhileTheWindowIsAway...).
TEST_F(SdlKeyboard, AKeyIsHeldTillReleasedATapForOneUpdateLosingFocusReleasesAllClosingHoldsF12) {
  pushKey(SDL_SCANCODE_RSHIFT, true);
  keyboard_update();
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_RIGHTSHIFT));
  pushKey(SDL_SCANCODE_RETURN, true);
  pushKey(SDL_SCANCODE_RETURN, false);  // a tap between two updates
  pushKey(SDL_SCANCODE_A, true);
  pushKey(SDL_SCANCODE_UP, true);
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_ENTER) && keyboard_keypressed(SCANCODE_RIGHTSHIFT));
  pushKey(SDL_SCANCODE_RSHIFT, false);
  keyboard_update();
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_RIGHTSHIFT) || keyboard_keypressed(SCANCODE_ENTER));
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_A) && keyboard_keypressed(SCANCODE_CURSORUP));
  pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  pushKey(SDL_SCANCODE_RETURN, true, KMOD_LALT);  // switches fullscreen instead of firing
  keyboard_update();
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_A) || keyboard_keypressed(SCANCODE_CURSORUP));
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_ENTER) || keyboard_keypressed(SCANCODE_F12));
  pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_F12));
}

// The player's keys file: a bound key holds its action's code and a key bound
// away no longer does, unless a name is typed.
class PlayerKeys : public SdlSession {
 protected:
  void SetUp() override {
    const std::string config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::create_directories(config + "/kravix");
    std::ofstream(config + "/kravix/keys.conf") << "thrust = W\nturn_left = J Left\n";
    forgetPlayerKeyBindings();
    SdlSession::SetUp();
  }
  void TearDown() override {
    SdlSession::TearDown();
    forgetPlayerKeyBindings();
    std::filesystem::remove(std::string(std::getenv("XDG_CONFIG_HOME")) + "/kravix/keys.conf");
  }
  static bool heldAfter(SDL_Scancode code, bool down, int read) {
    pushKey(code, down);
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

// Each key types the letter printed on it in the player's layout (a German one
// here, Y and Z changed places), bound or not.
TEST_F(PlayerKeys, WhileANameIsTypedEachKeyIsItselfAndTypesItsLetterInThePlayersLayout) {
  setKeyLookup([](SDL_Scancode key) -> SDL_Keycode {
    return key == SDL_SCANCODE_Y ? SDLK_z : key == SDL_SCANCODE_Z ? SDLK_y : SDLK_a;
  });
  keyboard_typing(1);
  EXPECT_TRUE(heldAfter(SDL_SCANCODE_W, true, SCANCODE_Q + 1));
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_RIGHTSHIFT));
  EXPECT_TRUE(heldAfter(SDL_SCANCODE_A, true, SCANCODE_A));
  EXPECT_EQ(keyboard_keychar(SCANCODE_Q + 5), 'Z');
  EXPECT_EQ(keyboard_keychar(SCANCODE_Z), 'Y');
  EXPECT_EQ(keyboard_keychar(SCANCODE_A), 'A');
  keyboard_typing(0);
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_RIGHTSHIFT));
  setKeyLookup(nullptr);
}

}  // namespace
