// The level loop: the frame clock, the pause, the leave countdown, the switch
// keys and the exhaust while debris is off.
#include "app/level_loop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/frame_timing.h"
#include "app/status_line.h"
#include "level_fixture.h"
#include "platform/headless/headless.h"
#include "world/particles.h"
#include "world/shots.h"
#include "world/stars.h"

namespace {

TEST(FrameTiming, ClampsTheMicrosecondsBetweenTwoReadings) {
  EXPECT_EQ(frameElapsedMicros(0, 700000), 100000);       // 0.7 s counts as 100 ms
  EXPECT_EQ(frameElapsedMicros(1000, 1050), 100);         // 50 us: the minimum, 0 ms
  EXPECT_EQ(frameElapsedMicros(250000, 250000), 100000);  // equal readings
  EXPECT_EQ(frameElapsedMicros(990000, 10000), 20000);    // over a second's boundary
}

class LevelLoopTest : public testing::Test {
 protected:
  void SetUp() override { prepareEmptyLevel(); }
  static void start(const std::string& script) {
    useScript(script);
    startLevel();
  }
  static void runFrames(int frames) {
    for (int i = 0; i < frames; ++i) runLevelFrame();
  }
  // The view's top at row 240 and the ship at 340: the leave countdown starts in the first frame.
  static void placeUnderTheSky() {
    levelState.cameraY = 240;
    levelState.posY = 340;
  }
};

TEST_F(LevelLoopTest, PausingKeepsEveryPositionAndTimerAndShowsTheFrameRate) {
  start("hold RSHIFT 20\nhold F2 3\nwait 30\nhold F2 1\nwait 1");
  placeUnderTheSky();
  spawnDebris(1200, 400, 1, 1);
  runFrames(21);  // F2 in the last: that frame still runs, the pause starts after it
  ASSERT_EQ(levelLoop.paused, 1);
  ASSERT_EQ(levelState.leaving, 1);
  auto snapshot = [] {
    const LevelState& s = levelState;
    const LevelLoop& l = levelLoop;
    return std::vector<float>{s.posX,           s.posY,           s.velX,       s.velY,     s.angle,
                              float(s.cameraX), float(s.cameraY), l.leaveTimer, l.gateClock};
  };
  const std::vector<float> before = snapshot();
  Particle debrisBefore[kDebrisSlots], exhaustBefore[kExhaustSlots];
  std::memcpy(debrisBefore, debris, sizeof debris);
  std::memcpy(exhaustBefore, exhaust, sizeof exhaust);
  runFrames(32);
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(std::memcmp(debrisBefore, debris, sizeof debris), 0);
  EXPECT_EQ(std::memcmp(exhaustBefore, exhaust, sizeof exhaust), 0);
  EXPECT_TRUE(showsText(137, 96, 7, "P A U S I N G"));
  EXPECT_TRUE(showsText(200, 10, 20, "FRAMERATE:"));
  EXPECT_TRUE(showsText(246, 10, 20, "40"));  // 1000 / 25
  runFrames(2);
  EXPECT_GT(levelLoop.leaveTimer, before[7]) << "F2 again: running";

  clearFrame(0, kScreenHeight);
  levelState.frameMs = 0;  // as the help screen leaves it
  drawPauseDisplay();
  EXPECT_TRUE(showsText(200, 10, 20, "FRAMERATE:"));
  int digitPixels = 0;
  for (int y = 10; y < 15; ++y)
    for (int x = 240; x < 254; ++x) digitPixels += getPixel(x, y) != 0;
  EXPECT_EQ(digitPixels, 0);
}

TEST_F(LevelLoopTest, TheLeaveCountdownEndsAsItsStepPasses40WithRingsAndAFadingCraft) {
  start("wait 400");
  placeUnderTheSky();
  runLevelFrame();
  ASSERT_EQ(levelState.leaving, 1);
  int step = 0, colour = 29;
  while (levelRunning()) {
    runLevelFrame();
    step = static_cast<int>(levelLoop.leaveTimer + 0.5);
    EXPECT_LE(levelState.craftColour, colour) << "the craft only fades";
    colour = levelState.craftColour;
  }
  EXPECT_EQ(step, 41) << "the level ends in the frame the step passes 40, not one before";
  EXPECT_EQ(levelState.craftColour, 16);
  const int cx = levelState.flightX - levelState.cameraX;
  const int cy = levelState.flightY - levelState.cameraY;
  EXPECT_EQ(getPixel(cx, cy - 41), 26) << "the outer ring";
  EXPECT_EQ(getPixel(cx, cy + 20), 22) << "the middle ring";
}

TEST_F(LevelLoopTest, StarsShineUnderTheSkyAndEnterFiresOncePerPress) {
  start("hold ENTER 6\nwait 1\nhold ENTER 1\nwait 2");
  placeUnderTheSky();
  runFrames(6);
  int shining = 0;
  for (int i = 0; i < kStarCount; ++i) {
    const int x = stars[i].x - levelState.cameraX, y = stars[i].y - levelState.cameraY;
    shining +=
        x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight && getPixel(x, y) == 16 + i % 16;
  }
  EXPECT_GE(shining, 20);
  stars[0] = {levelState.cameraX + kScreenWidth - 1, levelState.cameraY + kScreenHeight - 1};
  stars[1] = {levelState.cameraX, levelState.cameraY};
  clearFrame(0, kScreenHeight);
  drawStars();
  EXPECT_EQ(getPixel(kScreenWidth - 1, kScreenHeight - 1), 16) << "a star in the last corner";
  EXPECT_EQ(getPixel(0, 0), 17) << "and in the first";
  auto shotsFlying = [] {
    int count = 0;
    for (const Shot& shot : shots) count += shot.life > 0;
    return count;
  };
  EXPECT_EQ(shotsFlying(), 1) << "Enter held for six frames";
  runFrames(3);
  EXPECT_EQ(shotsFlying(), 2) << "and pressed again";
}

TEST_F(LevelLoopTest, F2F5AndF6SwitchOncePerPressAlsoIntoTheNextLevel) {
  start("hold F2 F5 F6 4\nwait 1\nhold F2 F5 F6 1\nwait 1\nhold F5 ESC 1\nhold F5 3");
  auto switches = [] {
    return std::vector<int>{levelLoop.paused, settings.mapOn, settings.debrisOn};
  };
  runFrames(4);
  EXPECT_EQ(switches(), (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(getPixel(249, 4), 3) << "the map's frame";
  runFrames(2);
  EXPECT_EQ(switches(), (std::vector<int>{0, 0, 1}));
  runFrames(2);
  ASSERT_FALSE(levelRunning());
  ASSERT_EQ(settings.mapOn, 1);
  startLevel();
  runFrames(3);
  EXPECT_EQ(settings.mapOn, 1);
}

TEST_F(LevelLoopTest, ExhaustStandsStillAndHiddenWhileDebrisIsOff) {
  start("hold RSHIFT 6\nhold F6 1\nwait 10\nhold F6 1\nwait 2");
  runFrames(7);  // F6 in the last: the switch comes after this frame's exhaust pass
  ASSERT_EQ(settings.debrisOn, 0);
  const Particle frozen = exhaust[0];
  ASSERT_GT(frozen.life, 0);
  runFrames(10);
  EXPECT_EQ(exhaust[0].x, frozen.x);
  EXPECT_EQ(exhaust[0].life, frozen.life);
  EXPECT_EQ(getPixel(static_cast<int>(frozen.x + 0.5) - levelState.cameraX,
                     static_cast<int>(frozen.y + 0.5) - levelState.cameraY),
            0);
  runFrames(2);  // F6 again: on at the end of the first frame, drawn in the second
  EXPECT_LT(exhaust[0].life, frozen.life);
}

// With the short status line a new score shows for 50 time units.
TEST_F(LevelLoopTest, TheShortStatusLineShowsANewScoreFor50TimeUnits) {
  settings.statusLineFull = 0;
  levelState.dt = 10;
  float timer = 0;
  int lastScore = gameState.score;
  auto scoreShown = [&] {
    clearFrame(0, kScreenHeight);
    drawStatusLine(&timer, &lastScore);
    return showsText(10, 10, 3, "SCORE:");
  };
  EXPECT_FALSE(scoreShown()) << "no new score";
  gameState.score += 5;
  for (int frame = 0; frame < 5; ++frame) EXPECT_TRUE(scoreShown()) << frame;
  EXPECT_FALSE(scoreShown()) << "after 50";
}

// Four black copies around the grey one, each seen over a coloured frame.
TEST_F(LevelLoopTest, ThePauseTextHasABlackOutlineOnEverySide) {
  levelState.frameMs = 0;
  std::memset(frameBuffer.pixels, 5, kFrameBytes);
  drawPauseDisplay();
  EXPECT_EQ(digestOf(frameBuffer.pixels, kFrameBytes), 15379987906164602122u);
}

}  // namespace
