#include "screens/screen_checks.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "app/game_state.h"
#include "app/level_state.h"
#include "input/controls.h"
#include "screens/settings.h"
#include "screens/title_logo.h"
#include "sound/sound_effects.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "video/text.h"

namespace {

unsigned char pixelAt(const unsigned char* screen, int x, int y) {
  if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight) return 0;
  return screen[y * kScreenWidth + x];
}

}  // namespace

::testing::AssertionResult showsText(const unsigned char* screen, int x, int y, uint8_t colour,
                                     const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t* glyph = fontGlyphs.rows[static_cast<unsigned char>(text[i]) & 127];
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 4; ++column) {
        bool set = column < 3 && (glyph[row] & (4 >> column)) != 0;
        int px = x + 4 * static_cast<int>(i) + column, py = y + row;
        if ((pixelAt(screen, px, py) == colour) != set) {
          return ::testing::AssertionFailure()
                 << "\"" << text << "\" in colour " << int(colour) << ": pixel (" << px << ", "
                 << py << ") is " << int(pixelAt(screen, px, py));
        }
      }
    }
  }
  return ::testing::AssertionSuccess();
}

uint8_t cellColour(const unsigned char* screen, int x, int y) {
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 4; ++column) {
      if (uint8_t c = pixelAt(screen, x + column, y + row)) return c;
    }
  }
  return 0;
}

::testing::AssertionResult bandShowsLogo(const unsigned char* screen, uint32_t angle) {
  FrameBuffer saved = frameBuffer;
  clearFrame(0, kScreenHeight);
  drawTitleLogo(angle);
  FrameBuffer expected = frameBuffer;
  frameBuffer = saved;
  for (int i = 0; i < 90 * kScreenWidth; ++i) {
    if (screen[i] != expected.pixels[i]) {
      return ::testing::AssertionFailure()
             << "the band differs from the logo at angle " << angle << " at (" << i % kScreenWidth
             << ", " << i / kScreenWidth << ")";
    }
  }
  return ::testing::AssertionSuccess();
}

std::vector<unsigned char> readShot(const std::string& folder, const std::string& name) {
  std::ifstream file(folder + "/" + name + ".idx", std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

void resetScreenState() {
  startHeadlessVideo();
  controls = {};
  gameState = {};
  levelState = {};
  levelState.shipY = 550;
  levelState.craftColour = 29;
  settings = {1, 0, 1, 0, 0, 50};
  soundAvailable = 0;
  shipThrusting = 0;
}
