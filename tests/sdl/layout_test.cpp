// Typing a name on the player's own layout: the letter printed on a key comes
// from the key's symbol in the layout, stood in here by tables of our own so
// that the machine's keymap plays no part.
#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "platform/sdl/sdl_layout.h"

namespace {

SDL_Keycode usLayout(SDL_Scancode key) {
  if (key >= SDL_SCANCODE_A && key <= SDL_SCANCODE_Z) return SDLK_a + (key - SDL_SCANCODE_A);
  if (key >= SDL_SCANCODE_1 && key <= SDL_SCANCODE_9) return SDLK_1 + (key - SDL_SCANCODE_1);
  switch (key) {
    case SDL_SCANCODE_0:
      return SDLK_0;
    case SDL_SCANCODE_MINUS:
      return SDLK_MINUS;
    case SDL_SCANCODE_EQUALS:
      return SDLK_EQUALS;
    case SDL_SCANCODE_LEFTBRACKET:
      return SDLK_LEFTBRACKET;
    case SDL_SCANCODE_SEMICOLON:
      return SDLK_SEMICOLON;
    case SDL_SCANCODE_COMMA:
      return SDLK_COMMA;
    case SDL_SCANCODE_RETURN:
      return SDLK_RETURN;
    default:
      return SDLK_UNKNOWN;
  }
}

SDL_Keycode germanLayout(SDL_Scancode key) {
  switch (key) {
    case SDL_SCANCODE_Y:
      return SDLK_z;
    case SDL_SCANCODE_Z:
      return SDLK_y;
    case SDL_SCANCODE_MINUS:
      return 0xdf;  // sharp s
    case SDL_SCANCODE_SEMICOLON:
      return 0xf6;  // o umlaut
    case SDL_SCANCODE_LEFTBRACKET:
      return 0xfc;  // u umlaut
    default:
      return usLayout(key);
  }
}

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
    default:
      return usLayout(key);
  }
}

class Layout : public ::testing::Test {
 protected:
  void TearDown() override { setKeyLookup(nullptr); }
};

TEST_F(Layout, EachKeyTypesTheLetterPrintedOnItInThePlayersLayout) {
  setKeyLookup(usLayout);
  EXPECT_EQ(keyboard_keychar(21), 'Y');
  EXPECT_EQ(keyboard_keychar(44), 'Z');
  EXPECT_EQ(keyboard_keychar(SCANCODE_Q), 'Q');
  EXPECT_EQ(keyboard_keychar(SCANCODE_A), 'A');
  EXPECT_EQ(keyboard_keychar(50), 'M');
  EXPECT_EQ(keyboard_keychar(SCANCODE_1), '1');
  EXPECT_EQ(keyboard_keychar(11), '0');

  setKeyLookup(germanLayout);
  EXPECT_EQ(keyboard_keychar(21), 'Z');
  EXPECT_EQ(keyboard_keychar(44), 'Y');
  EXPECT_EQ(keyboard_keychar(SCANCODE_Q), 'Q');

  setKeyLookup(frenchLayout);
  EXPECT_EQ(keyboard_keychar(SCANCODE_Q), 'A');
  EXPECT_EQ(keyboard_keychar(SCANCODE_A), 'Q');
  EXPECT_EQ(keyboard_keychar(17), 'Z');
  EXPECT_EQ(keyboard_keychar(44), 'W');
  EXPECT_EQ(keyboard_keychar(39), 'M');  // beside L
}

TEST_F(Layout, KeysShowingNoLetterOrDigitLeaveTheCharacterToTheGamesTable) {
  setKeyLookup(germanLayout);
  for (int code : {SCANCODE_MINUS, SCANCODE_EQUAL, 26, 39, SCANCODE_BACKSPACE, SCANCODE_TAB,
                   SCANCODE_ENTER, SCANCODE_LEFTSHIFT, SCANCODE_ESCAPE, 0, 127, -1, 200}) {
    EXPECT_EQ(keyboard_keychar(code), 0) << code;
  }
  setKeyLookup(frenchLayout);
  EXPECT_EQ(keyboard_keychar(50), 0);          // a comma
  EXPECT_EQ(keyboard_keychar(SCANCODE_1), 0);  // an ampersand
}

}  // namespace
