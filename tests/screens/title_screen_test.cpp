// The title screen: its turning logo, the ways out, and the whole program opening on it.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "screens/screen_checks.h"
#include "screens/title_logo.h"
#include "screens/title_screen.h"

namespace {

TEST(TitleLogo, FacingTheViewerEdgeOnAndHalfWayRound) {
  const struct {
    uint32_t angle;
    int minX, maxX, minY, maxY;
    int stemFrom, stemTo;  // x of the K's stem, the box (0, 0)-(1, 5), over y 34-74; 0: none
  } cases[] = {{0, 16, 16 + 23 * 12, 34, 74, 16, 28},  // twelve pixels a unit, all in colour 222
               {141, 160, 160, 32, 78, 0, 0},      // edge-on: on the centre column, the K nearest
               {283, 30, 302, 34, 74, 290, 302}};  // mirrored; the cosine is -119, not -120
  for (const auto& c : cases) {
    clearFrame(0, kScreenHeight);
    drawTitleLogo(c.angle);
    int minX = kScreenWidth, maxX = -1, minY = kScreenHeight, maxY = -1;
    for (int y = 0; y < kScreenHeight; ++y) {
      for (int x = 0; x < kScreenWidth; ++x) {
        if (getPixel(x, y) == 0) continue;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
        ASSERT_TRUE(!c.stemFrom || getPixel(x, y) == 222) << x << "," << y;
      }
    }
    EXPECT_EQ(minX, c.minX) << c.angle;
    EXPECT_EQ(maxX, c.maxX) << c.angle;
    EXPECT_EQ(minY, c.minY) << c.angle;
    EXPECT_EQ(maxY, c.maxY) << c.angle;
    for (int y = 34; c.stemFrom && y <= 74; ++y) {
      for (int x = c.stemFrom; x <= c.stemTo; ++x) ASSERT_EQ(getPixel(x, y), 222) << x << "," << y;
    }
  }
}

TEST(TitleScreen, KeysAndTheLogoDecideWhenItEnds) {
  const struct {
    const char* what;
    const char* script;
    int polls, presents;
    bool quickExit, quitRequested;
    int bandAngle;  // -1: the band is blank
  } cases[] = {
      {"F12 on arrival", "", 1, 3, true, false, -1},  // two blank frames and the fixed text
      {"keys held on entry are ignored", "hold ENTER SPACE ESC 5\nwait 100\n", 106, 103, true,
       false, 99},
      // 1000 idle frames leave the angle at 1000 - 565 = 435; Enter makes the speed 2,
      // and 436 + 2 * 65 passes 564.
      {"Enter after a long idle", "wait 1001\nhold ENTER 1\nwait 1000\n", 1 + 1001 + 65, 3 + 1066,
       false, false, 564},
      {"Escape draws one more frame", "wait 10\nhold ESC 1\nwait 100\n", 11, 13, false, true, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetScreenState();
    useScript(c.script);
    runTitleScreen();
    EXPECT_EQ(headlessPollCount(), c.polls);
    EXPECT_EQ(headlessPresentCount(), c.presents);
    EXPECT_EQ(controls.quickExit, c.quickExit);
    EXPECT_EQ(gameState.quitRequested, c.quitRequested);
    EXPECT_TRUE(c.bandAngle < 0 || bandShowsLogo(headlessScreen(), c.bandAngle));
    for (int i = 0; c.bandAngle < 0 && i < 90 * kScreenWidth; ++i)
      ASSERT_EQ(headlessScreen()[i], 0);
  }
}

TEST(TitleScreen, TheAudioLineShowsOnlyWithAWorkingDevice) {
  for (uint8_t available : {1, 0}) {
    resetScreenState();
    soundAvailable = available;
    useScript("");
    runTitleScreen();
    EXPECT_EQ(bool(showsText(headlessScreen(), 20, 190, 14, "/DEV/DSP AUDIO DEVICE READY")),
              available == 1);
    int painted = 0;
    for (int i = 185 * kScreenWidth; i < kFrameBytes; ++i) painted += headlessScreen()[i] != 0;
    EXPECT_EQ(painted > 0, available == 1);
  }
  soundAvailable = 0;
}

TEST(TitleEndToEnd, TheGameOpensOnTheTitleAndHoldingEnterSpinsTheLogoFaster) {
  std::string folder = makeTempFolder("title");
  // The first poll waits for released keys, the second draws the first frame; from
  // the third on Enter is held: frames 2-11 move the angle by 1, 2, ... 9 after the
  // first frame's 1, so the eleventh frame shows angle 46.
  ASSERT_EQ(runHeadless("wait 2\nshot first\nhold ENTER 10\nshot faster\n", folder).status, 0);
  std::vector<unsigned char> first = readShot(folder, "first"), faster = readShot(folder, "faster");
  ASSERT_EQ(first.size(), 64000u + 768u);
  EXPECT_TRUE(bandShowsLogo(first.data(), 0));
  EXPECT_TRUE(showsText(first.data(), 20, 140, 14, "CONTACT: KRAVIX PROJECT HOME - KRAVIX.ORG"));
  EXPECT_TRUE(showsText(first.data(), 20, 150, 14, "SOUND WITH SNDMIX LIBRARY BY THE KRAVIX TEAM"));
  EXPECT_TRUE(showsText(first.data(), 20, 190, 14, "                           "));  // silent
  const unsigned char* ramp = first.data() + 64000 + 180 * 3;  // entry 180 + i is (i, 0, 0)
  for (int i = 0; i < 64 * 3; ++i) EXPECT_EQ(ramp[i], i % 3 ? 0 : i / 3) << "entry " << 180 + i / 3;
  ASSERT_EQ(faster.size(), 64000u + 768u);
  EXPECT_TRUE(bandShowsLogo(faster.data(), 46));
}

}  // namespace
