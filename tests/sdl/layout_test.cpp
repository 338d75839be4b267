// The letter printed on a key in the player's layout, from a table of the
// test's own so that the machine's keymap plays no part. (The US and German
// layouts are typed through the whole name entry in tests/gamepad.)
#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "platform/sdl/sdl_layout.h"

namespace {

// French (AZERTY): A and Q, Z and W change places; M sits beside L, a comma
// where the US M is; the digit row's unshifted symbols are not digits.
SDL_Keycode frenchLayout(SDL_Scancode key) {
  switch (key) {
    case SDL_SCANCODE_Q:
      return SDLK_a;
    case SDL_SCANCODE_A:
      return SDLK_q;
    case SDL_SCANCODE_W:
      return SDLK_z;
    case SDL_SCANCODE_Z:
      return SDLK_w;
    case SDL_SCANCODE_SEMICOLON:
      return SDLK_m;
    case SDL_SCANCODE_M:
      return SDLK_COMMA;
    case SDL_SCANCODE_1:
      return SDLK_AMPERSAND;
    case SDL_SCANCODE_2:
      return 0xe9;  // e acute
    case SDL_SCANCODE_MINUS:
      return SDLK_RIGHTPAREN;
    default:
      if (key >= SDL_SCANCODE_A && key <= SDL_SCANCODE_Z) return SDLK_a + (key - SDL_SCANCODE_A);
      return SDLK_UNKNOWN;
  }
}

TEST(Layout, AKeyTypesItsLetterInThePlayersLayoutOrLeavesItToTheGamesTable) {
  setKeyLookup(frenchLayout);
  EXPECT_EQ(keyboard_keychar(SCANCODE_Q), 'A');
  EXPECT_EQ(keyboard_keychar(SCANCODE_A), 'Q');
  EXPECT_EQ(keyboard_keychar(17), 'Z');
  EXPECT_EQ(keyboard_keychar(SCANCODE_Z), 'W');
  EXPECT_EQ(keyboard_keychar(39), 'M');  // beside L, where the game's table has a space
  EXPECT_EQ(keyboard_keychar(24), 'O');
  // No letter or digit on the key: the game's own table decides.
  for (int code : {50, SCANCODE_1, SCANCODE_1 + 1, SCANCODE_MINUS, SCANCODE_BACKSPACE, SCANCODE_TAB,
                   SCANCODE_ENTER, SCANCODE_LEFTSHIFT, SCANCODE_ESCAPE, 0, 127, -1, 200}) {
    EXPECT_EQ(keyboard_keychar(code), 0) << code;
  }
  setKeyLookup(nullptr);
}

}  // namespace
