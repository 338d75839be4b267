// SDL's scancodes as the game's set-one codes: the whole table pinned by a
// digest, with the keys the game reads most as spot values.
#include <gtest/gtest.h>

#include <vector>

#include "platform/keyboard.h"
#include "platform/sdl/sdl_scancodes.h"

namespace {

uint64_t tableDigest(bool translated) {
  uint64_t digest = 14695981039346656037ull;
  for (int sdl = 0; sdl < SDL_NUM_SCANCODES; ++sdl)
    digest = (digest ^
              static_cast<uint8_t>(setOneScanCode(static_cast<SDL_Scancode>(sdl), translated))) *
             1099511628211ull;
  return digest;
}

TEST(SdlScanCodes, EveryKeyHasItsSetOneCode) {
  EXPECT_EQ(tableDigest(true), 947643982768541304u);
  EXPECT_EQ(tableDigest(false), 7585969908843245892u);
  const std::pair<SDL_Scancode, int> spots[] = {
      {SDL_SCANCODE_RETURN, 28}, {SDL_SCANCODE_RSHIFT, 54}, {SDL_SCANCODE_A, 30},
      {SDL_SCANCODE_S, 31},      {SDL_SCANCODE_F12, 88},    {SDL_SCANCODE_UP, SCANCODE_CURSORUP}};
  for (auto [sdl, code] : spots) EXPECT_EQ(setOneScanCode(sdl, true), code) << int(sdl);
  EXPECT_EQ(setOneScanCode(SDL_SCANCODE_UP, false), SCANCODE_CURSORBLOCKUP);
  EXPECT_NE(setOneScanCode(SDL_SCANCODE_KP_ENTER, true), 28);
}

}  // namespace
