// Checks on pictures of the screens: a presented screen, a shot written by the
// headless backend, or the frame buffer; each is 64000 palette indices.
#pragma once

#include <gtest/gtest.h>

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

inline uint8_t pixelAt(const unsigned char* screen, int x, int y) {
  return screen[y * kScreenWidth + x];
}

// The 4-pixel cells of text at (x, y) show colour exactly where the font's glyphs are set.
inline ::testing::AssertionResult showsText(const unsigned char* screen, int x, int y,
                                            uint8_t colour, const std::string& text) {
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

// Rows 0..89 show the title logo at this angle and nothing else.
inline ::testing::AssertionResult bandShowsLogo(const unsigned char* screen, uint32_t angle) {
  FrameBuffer saved = frameBuffer;
  clearFrame(0, kScreenHeight);
  drawTitleLogo(angle);
  std::swap(saved, frameBuffer);
  for (int i = 0; i < 90 * kScreenWidth; ++i) {
    if (screen[i] != saved.pixels[i])
      return ::testing::AssertionFailure()
             << "not the logo at angle " << angle << " at pixel " << i;
  }
  return ::testing::AssertionSuccess();
}

// The 64000 indices and 768 palette bytes of the shot NAME in folder.
inline std::vector<unsigned char> readShot(const std::string& folder, const std::string& name) {
  std::ifstream file(folder + "/" + name + ".idx", std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

// Resets the headless backend and every record the screens read or write.
inline void resetScreenState() {
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
