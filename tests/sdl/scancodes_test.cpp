// SDL's scancodes as the game's set-one codes, cursor keys translated and not:
// the whole table pinned by a digest.
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
}

}  // namespace
