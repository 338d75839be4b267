#include <gtest/gtest.h>

#include <algorithm>

#include "app/game_state.h"
#include "input/controls.h"
#include "platform/headless/headless.h"
#include "screens/screen_checks.h"
#include "screens/title_logo.h"
#include "screens/title_screen.h"
#include "sound/sound_effects.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"

namespace {

struct Extent {
  int minX = kScreenWidth, maxX = -1, minY = kScreenHeight, maxY = -1;
  uint8_t darkest = 255, brightest = 0;
};

Extent logoExtent(uint32_t angle) {
  clearFrame(0, kScreenHeight);
  drawTitleLogo(angle);
  Extent e;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      uint8_t c = getPixel(x, y);
      if (c == 0) continue;
      e.minX = std::min(e.minX, x), e.maxX = std::max(e.maxX, x);
      e.minY = std::min(e.minY, y), e.maxY = std::max(e.maxY, y);
      e.darkest = std::min(e.darkest, c), e.brightest = std::max(e.brightest, c);
    }
  }
  return e;
}

TEST(TitleLogo, FacingTheViewerEveryBoxIsDrawnTwelvePixelsAUnitInTheMiddleShade) {
  Extent e = logoExtent(0);
  EXPECT_EQ(e.minX, 16);
  EXPECT_EQ(e.maxX, 16 + 23 * 12);
  EXPECT_EQ(e.minY, 34);
  EXPECT_EQ(e.maxY, 74);
  EXPECT_EQ(e.darkest, 222);
  EXPECT_EQ(e.brightest, 222);
  // The K's stem, the box (0, 0)-(1, 5), fills x 16-28 and y 34-74.
  for (int y = 34; y <= 74; ++y) {
    for (int x = 16; x <= 28; ++x) ASSERT_EQ(getPixel(x, y), 222) << x << "," << y;
  }
  EXPECT_EQ(getPixel(29, 54), 0);  // the K's middle row holds the stem only
}

TEST(TitleLogo, SeenEdgeOnTheWholeLogoCollapsesOntoTheCentreColumn) {
  Extent e = logoExtent(141);
  EXPECT_EQ(e.minX, 160);
  EXPECT_EQ(e.maxX, 160);
  EXPECT_GE(e.maxY, e.minY);
}

TEST(TitleLogo, HalfWayRoundTheLogoShowsMirroredAndALittleNarrower) {
  Extent e = logoExtent(283);  // the cosine comes out as -119, not -120
  EXPECT_EQ(e.minX, 30);
  EXPECT_EQ(e.maxX, 302);
  EXPECT_EQ(e.darkest, 222);
  EXPECT_EQ(e.brightest, 222);
  // The K's stem is now at the right: x from (-12 * -119) / 10 + 160 down to (-11 * -119) / 10 +
  // 160.
  for (int y = 34; y <= 74; ++y) {
    for (int x = 290; x <= 302; ++x) ASSERT_EQ(getPixel(x, y), 222) << x << "," << y;
  }
}

TEST(TitleLogo, AtEveryAngleOfTheTurnItStaysInTheBandAndInTheRedRamp) {
  for (uint32_t angle = 0; angle < 565; ++angle) {
    Extent e = logoExtent(angle);
    ASSERT_LE(e.maxY, 89) << angle;
    ASSERT_GE(e.minY, 0) << angle;
    ASSERT_GE(e.darkest, 202) << angle;
    ASSERT_LE(e.brightest, 242) << angle;
  }
}

TEST(TitleLogo, EveryLetterIsMadeOfOneUnitStrokesInsideItsOwnColumns) {
  for (const Box& box : titleLogo) {
    EXPECT_LE(box.x1, box.x2);
    EXPECT_LE(box.y1, box.y2);
    EXPECT_TRUE(box.x2 - box.x1 == 1 || box.y2 - box.y1 == 1);
    EXPECT_GE(box.y1, 0);
    EXPECT_LE(box.y2, 5);
    int letter = box.x1 / 4;
    EXPECT_LE(box.x2, 4 * letter + 3) << "letter " << letter;
  }
  EXPECT_EQ(titleLogo[kTitleLogoBoxes - 1].x2, 23);
}

class TitleScreen : public ::testing::Test {
 protected:
  void SetUp() override { resetScreenState(); }
  void TearDown() override { soundAvailable = 0; }
};

TEST_F(TitleScreen, OpensWithTheRedRampAndTheFixedTextBelowTheBand) {
  useScript("");
  runTitleScreen();
  const unsigned char* palette = headlessPalette();
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(palette[(180 + i) * 3 + 0], i);
    EXPECT_EQ(palette[(180 + i) * 3 + 1], 0);
    EXPECT_EQ(palette[(180 + i) * 3 + 2], 0);
  }
  const unsigned char* screen = headlessScreen();
  EXPECT_TRUE(showsText(screen, 20, 130, 14, "LINUX/SVGA VERSION  JUN 1998"));
  EXPECT_TRUE(showsText(screen, 20, 150, 14, "SOUND WITH SNDMIX LIBRARY BY THE KRAVIX TEAM"));
  EXPECT_TRUE(showsText(screen, 20, 165, 15,
                        "A - TURN LEFT           SHIFT_RIGHT - THRUST            F1  - HELP"));
  EXPECT_TRUE(showsText(screen, 20, 175, 15,
                        "S - TURN RIGHT          ENTER       - SHOOT             ESC - EXIT "));
  int contactPixels = 0;
  for (int y = 140; y < 145; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      uint8_t c = screen[y * kScreenWidth + x];
      ASSERT_TRUE(c == 0 || c == 14);
      contactPixels += c == 14 && x >= 20;
    }
  }
  EXPECT_GT(contactPixels, 100);
}

TEST_F(TitleScreen, TheAudioLineShowsOnlyWithAWorkingDevice) {
  soundAvailable = 1;
  useScript("");
  runTitleScreen();
  EXPECT_TRUE(showsText(headlessScreen(), 20, 190, 14, "/DEV/DSP AUDIO DEVICE READY"));

  resetScreenState();
  useScript("");
  runTitleScreen();
  for (int i = 185 * kScreenWidth; i < kFrameBytes; ++i) ASSERT_EQ(headlessScreen()[i], 0);
}

TEST_F(TitleScreen, F12OnArrivalReturnsWithTheFixedTextAndNoLogo) {
  useScript("");
  runTitleScreen();
  EXPECT_EQ(headlessPollCount(), 1);
  EXPECT_EQ(headlessPresentCount(), 3);  // two blank frames and the fixed text
  EXPECT_TRUE(controls.quickExit);
  EXPECT_FALSE(gameState.quitRequested);
  for (int i = 0; i < 90 * kScreenWidth; ++i) ASSERT_EQ(headlessScreen()[i], 0);
}

TEST_F(TitleScreen, IdleTheLogoTurnsOneUnitAFrame) {
  useScript("wait 301\n");  // the first poll waits for released keys
  runTitleScreen();
  // Frames 1-300 draw angles 0-299; the F12 frame draws angle 300.
  EXPECT_EQ(headlessPresentCount(), 3 + 301);
  EXPECT_TRUE(bandShowsLogo(headlessScreen(), 300));
}

TEST_F(TitleScreen, KeysHeldOnArrivalAreIgnoredUntilReleased) {
  useScript("hold ENTER SPACE ESC 5\nwait 100\n");
  runTitleScreen();
  EXPECT_EQ(headlessPollCount(), 106);
  EXPECT_TRUE(controls.quickExit);  // still turning idle when the script ran out
  EXPECT_FALSE(gameState.quitRequested);
  EXPECT_TRUE(bandShowsLogo(headlessScreen(), 99));
}

TEST_F(TitleScreen, EnterAfterALongIdleEndsTheScreenAtTheNextWrap) {
  // 1000 idle frames leave the angle at 1000 - 565 = 435; Enter makes the
  // speed 2, and 436 + 2 * 65 passes 564.
  useScript("wait 1001\nhold ENTER 1\nwait 1000\n");
  runTitleScreen();
  EXPECT_EQ(headlessPollCount(), 1 + 1001 + 65);
  EXPECT_FALSE(controls.quickExit);
  EXPECT_FALSE(gameState.quitRequested);
  EXPECT_TRUE(bandShowsLogo(headlessScreen(), 564));
}

TEST_F(TitleScreen, HoldingSpaceAddsOneToTheSpeedEveryFrame) {
  // Angles after frame k: 1 + 2 + ... + k, which first passes 564 at k = 34.
  useScript("wait 1\nhold SPACE 100\n");
  runTitleScreen();
  EXPECT_EQ(headlessPollCount(), 1 + 34);
  EXPECT_FALSE(controls.quickExit);
  EXPECT_TRUE(bandShowsLogo(headlessScreen(), 33 * 34 / 2));
}

TEST_F(TitleScreen, EscapeDrawsOneMoreFrameAndAsksToQuit) {
  useScript("wait 10\nhold ESC 1\nwait 100\n");
  runTitleScreen();
  EXPECT_EQ(headlessPollCount(), 11);
  EXPECT_EQ(headlessPresentCount(), 3 + 10);
  EXPECT_TRUE(gameState.quitRequested);
  EXPECT_FALSE(controls.quickExit);
  EXPECT_TRUE(bandShowsLogo(headlessScreen(), 9));
}

TEST_F(TitleScreen, AnEarlierQuitRequestIsForgotten) {
  gameState.quitRequested = 1;
  controls.fire = 1;
  useScript("wait 3\n");
  runTitleScreen();
  EXPECT_FALSE(gameState.quitRequested);
  EXPECT_EQ(headlessPollCount(), 4);
}

}  // namespace
