#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "platform/sdl/sdl_scancodes.h"

namespace {

TEST(SdlScanCodes, EveryKeyTheGameReadsHasItsSetOneCode) {
  std::vector<std::pair<SDL_Scancode, int>> keys = {
      {SDL_SCANCODE_RETURN, 28},    {SDL_SCANCODE_F1, 59},        {SDL_SCANCODE_F2, 60},
      {SDL_SCANCODE_F3, 61},        {SDL_SCANCODE_F4, 62},        {SDL_SCANCODE_F5, 63},
      {SDL_SCANCODE_F6, 64},        {SDL_SCANCODE_F12, 88},       {SDL_SCANCODE_ESCAPE, 1},
      {SDL_SCANCODE_RSHIFT, 54},    {SDL_SCANCODE_SPACE, 57},     {SDL_SCANCODE_KP_8, 72},
      {SDL_SCANCODE_KP_6, 77},      {SDL_SCANCODE_KP_4, 75},      {SDL_SCANCODE_KP_2, 80},
      {SDL_SCANCODE_BACKSPACE, 14}, {SDL_SCANCODE_TAB, 15},       {SDL_SCANCODE_LCTRL, 29},
      {SDL_SCANCODE_LSHIFT, 42},    {SDL_SCANCODE_MINUS, 12},     {SDL_SCANCODE_EQUALS, 13},
      {SDL_SCANCODE_0, 11},         {SDL_SCANCODE_APPLICATION, 0}};
  // Letters follow the keyboard's rows, digits 1-9 the codes 2-10.
  const std::pair<const char*, int> rows[] = {
      {"QWERTYUIOP", 16}, {"ASDFGHJKL", 30}, {"ZXCVBNM", 44}};
  for (auto [letters, start] : rows) {
    for (int i = 0; letters[i]; ++i)
      keys.push_back({static_cast<SDL_Scancode>(SDL_SCANCODE_A + letters[i] - 'A'), start + i});
  }
  for (int d = 1; d <= 9; ++d)
    keys.push_back({static_cast<SDL_Scancode>(SDL_SCANCODE_1 + d - 1), 1 + d});
  for (auto [sdl, code] : keys) EXPECT_EQ(setOneScanCode(sdl, true), code) << static_cast<int>(sdl);
  EXPECT_NE(setOneScanCode(SDL_SCANCODE_KP_ENTER, true), 28);
}

TEST(SdlScanCodes, TheCursorBlockReadsAsTheKeypadArrowsOnlyWhenTranslated) {
  EXPECT_EQ(setOneScanCode(SDL_SCANCODE_UP, true), SCANCODE_CURSORUP);
  EXPECT_EQ(setOneScanCode(SDL_SCANCODE_LEFT, true), SCANCODE_CURSORLEFT);
  EXPECT_EQ(setOneScanCode(SDL_SCANCODE_RIGHT, true), SCANCODE_CURSORRIGHT);
  EXPECT_EQ(setOneScanCode(SDL_SCANCODE_DOWN, true), SCANCODE_CURSORDOWN);
  EXPECT_EQ(setOneScanCode(SDL_SCANCODE_UP, false), SCANCODE_CURSORBLOCKUP);
  EXPECT_EQ(setOneScanCode(SDL_SCANCODE_DOWN, false), SCANCODE_CURSORBLOCKDOWN);
}

}  // namespace
