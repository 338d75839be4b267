#include "app/level_loop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "app/status_line.h"
#include "level_fixture.h"
#include "platform/headless/headless.h"
#include "sound/sound_effects.h"
#include "video/frame_buffer.h"
#include "video/text.h"
#include "world/particles.h"

namespace {

class LevelLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { prepareEmptyLevel(); }

  void start(const std::string& script) {
    useScript(script);
    startLevel();
  }
  void runFrames(int frames) {
    for (int i = 0; i < frames; ++i) runLevelFrame();
  }
  // Whether the text is drawn at (x, y) in the colour in the frame being built.
  static bool showsText(int x, int y, uint8_t colour, const char* text) {
    for (int i = 0; text[i] != '\0'; ++i) {
      const uint8_t* rows = fontGlyphs.rows[static_cast<unsigned char>(text[i])];
      for (int r = 0; r < 5; ++r) {
        for (int k = 0; k < 3; ++k) {
          const bool set = (rows[r] >> (2 - k)) & 1;
          if (set && getPixel(x + 4 * i + k, y + r) != colour) return false;
        }
      }
    }
    return true;
  }
};

TEST_F(LevelLoopTest, StartsWithTheShipAtRestAndTheTurretParametersOfTheDifficulty) {
  gameState.difficulty = 2;
  start("wait 5");
  EXPECT_FLOAT_EQ(levelState.turretShotSpeed, 2.5f);
  EXPECT_EQ(levelState.turretReloadRange, 500);
  EXPECT_EQ(levelState.craftColour, 29);
  EXPECT_EQ(levelState.frameMs, 30);
  EXPECT_EQ(levelLoop.scoreShownTimer, -1.0f);
  EXPECT_EQ(levelState.cameraX, 1040);
  EXPECT_EQ(headlessPresentCount(), 2);
}

TEST_F(LevelLoopTest, EscapeEndsTheLoopAndStopsTheThrustSound) {
  start("hold RSHIFT 3\nhold ESC 1");
  runFrames(3);
  EXPECT_EQ(shipThrusting, 1);
  EXPECT_TRUE(levelRunning());
  runLevelFrame();
  EXPECT_FALSE(levelRunning());
  endLevel();
  EXPECT_EQ(shipThrusting, 0);
}

TEST_F(LevelLoopTest, RunLevelPlaysUntilEscape) {
  useScript("wait 10\nhold ESC 1\nwait 100");
  runLevel();
  EXPECT_EQ(headlessPollCount(), 11);
  EXPECT_EQ(levelState.leaving, 0);
}

TEST_F(LevelLoopTest, AShipOnTheRockExplodesOnceAndTheLoopGoesOnUntilEscape) {
  useBoxes({Box{0, 640, 2399, 700, 66}});
  start("wait 200\nhold ESC 1");
  int frames = 0;
  while (!levelState.shipDestroyed && frames < 200) runLevelFrame(), ++frames;
  ASSERT_EQ(levelState.shipDestroyed, 1);
  EXPECT_EQ(levelLoop.shipExploded, 0);
  const float posY = levelState.posY;
  runLevelFrame();
  EXPECT_EQ(levelLoop.shipExploded, 1);
  EXPECT_EQ(levelState.velX, 0);
  EXPECT_EQ(levelState.velY, 0);
  int live = 0;
  for (const Particle& particle : debris) live += particle.life > 0 ? 1 : 0;
  EXPECT_GT(live, 150);
  runFrames(50);
  EXPECT_EQ(levelState.posY, posY);
  EXPECT_TRUE(levelRunning());
  while (levelRunning()) runLevelFrame();
  EXPECT_EQ(levelState.leaving, 0);
}

TEST_F(LevelLoopTest, PausingKeepsEveryPositionAndTimer) {
  start("hold RSHIFT 20\nhold F2 3\nwait 30\nhold F2 1\nwait 1");
  levelState.cameraY = 240;  // the leave countdown runs too
  levelState.posY = 340;
  spawnDebris(1200, 400, 1, 1);
  runFrames(20);
  ASSERT_EQ(levelState.leaving, 1);
  runFrames(1);  // F2 pressed: this frame still runs, the pause starts after it
  ASSERT_EQ(levelLoop.paused, 1);
  const LevelState before = levelState;
  const LevelLoop loopBefore = levelLoop;
  Particle debrisBefore[kDebrisSlots], exhaustBefore[kExhaustSlots];
  std::memcpy(debrisBefore, debris, sizeof debris);
  std::memcpy(exhaustBefore, exhaust, sizeof exhaust);
  runFrames(32);
  EXPECT_EQ(levelLoop.paused, 1);
  EXPECT_EQ(levelState.posX, before.posX);
  EXPECT_EQ(levelState.posY, before.posY);
  EXPECT_EQ(levelState.velX, before.velX);
  EXPECT_EQ(levelState.velY, before.velY);
  EXPECT_EQ(levelState.angle, before.angle);
  EXPECT_EQ(levelState.cameraX, before.cameraX);
  EXPECT_EQ(levelState.cameraY, before.cameraY);
  EXPECT_EQ(levelLoop.leaveTimer, loopBefore.leaveTimer);
  EXPECT_EQ(levelLoop.gateClock, loopBefore.gateClock);
  EXPECT_EQ(levelLoop.scoreShownTimer, loopBefore.scoreShownTimer);
  EXPECT_EQ(std::memcmp(debrisBefore, debris, sizeof debris), 0);
  EXPECT_EQ(std::memcmp(exhaustBefore, exhaust, sizeof exhaust), 0);
  EXPECT_TRUE(showsText(137, 96, 7, "P A U S I N G"));
  EXPECT_TRUE(showsText(200, 10, 20, "FRAMERATE:"));
  EXPECT_TRUE(showsText(250, 10, 20, "0"));  // 1000 / 25 = 40, last digit at 250
  EXPECT_TRUE(showsText(246, 10, 20, "4"));
  runFrames(2);  // F2 again: running
  EXPECT_EQ(levelLoop.paused, 0);
  EXPECT_GT(levelLoop.leaveTimer, loopBefore.leaveTimer);
}

TEST_F(LevelLoopTest, ThePauseDisplayLeavesTheFrameRateOutWhenFrameMsIsZero) {
  start("hold F2 1\nwait 5");
  runFrames(2);
  ASSERT_EQ(levelLoop.paused, 1);
  clearFrame(0, kScreenHeight);
  levelState.frameMs = 0;  // as the help screen leaves it
  drawPauseDisplay();
  EXPECT_TRUE(showsText(200, 10, 20, "FRAMERATE:"));
  for (int x = 240; x < 254; ++x) {
    for (int y = 10; y < 15; ++y) EXPECT_EQ(getPixel(x, y), 0) << x << "," << y;
  }
}

TEST_F(LevelLoopTest, TheLeaveCountdownRunsAbout27TimeUnitsWithRingsAndAFadingCraft) {
  start("wait 400");
  levelState.cameraY = 240;
  levelState.posY = 340;
  runLevelFrame();
  ASSERT_EQ(levelState.leaving, 1);
  EXPECT_EQ(levelLoop.leaveTimer, 0);
  float timeUnits = 0;
  int frames = 0;
  while (levelRunning()) {
    runLevelFrame();
    timeUnits += levelState.dt;
    ++frames;
    const int n = static_cast<int>(levelLoop.leaveTimer + 0.5);
    EXPECT_EQ(levelState.craftColour, 29 - n / 3);
    const int cx = levelState.flightX - levelState.cameraX;
    const int cy = levelState.flightY - levelState.cameraY;
    if (n >= 8) {
      EXPECT_EQ(getPixel(cx, cy - n), 26);
      EXPECT_EQ(getPixel(cx, cy + n / 2), 22);
      EXPECT_EQ(getPixel(cx + n / 3, cy), 24);
    }
  }
  EXPECT_NEAR(timeUnits, 27, 0.6);
  EXPECT_EQ(levelState.craftColour, 16);
  EXPECT_EQ(levelLoop.levelDone, 1);
  EXPECT_EQ(levelState.leaving, 1);
}

TEST_F(LevelLoopTest, TheStatusLineShowsTheScoreFor50TimeUnitsAfterAChange) {
  gameState.score = 7;
  start("wait 200");
  runLevelFrame();
  EXPECT_FALSE(showsText(10, 10, 3, "SCORE:"));  // the score held at the start is not news
  gameState.score = 20;
  float shown = 0;
  int frames = 0;
  while (frames < 200) {
    runLevelFrame();
    ++frames;
    if (!showsText(10, 10, 3, "SCORE:")) break;
    EXPECT_TRUE(showsText(48, 10, 3, "2000"));
    shown += levelState.dt;
  }
  EXPECT_NEAR(shown, 50, 0.6);
  EXPECT_FALSE(showsText(10, 18, 3, "SHIPS:"));
}

TEST_F(LevelLoopTest, TheFullStatusLineShowsScoreShipsAndLevelAlways) {
  settings.statusLineFull = 1;
  gameState = GameState{20, 2, 4, 0, 0};
  start("wait 5");
  runFrames(2);
  EXPECT_TRUE(showsText(10, 10, 3, "SCORE:"));
  EXPECT_TRUE(showsText(48, 10, 3, "2000"));
  EXPECT_TRUE(showsText(10, 18, 3, "SHIPS:"));
  EXPECT_TRUE(showsText(60, 18, 3, "2"));
  EXPECT_TRUE(showsText(10, 26, 3, "LEVEL:"));
  EXPECT_TRUE(showsText(60, 26, 3, "5"));
}

TEST_F(LevelLoopTest, HoldingF5SwitchesTheMapOnceAndF6TheExhaustOnce) {
  start("hold F5 4\nwait 1\nhold F5 1\nhold F6 3\nwait 1");
  runFrames(4);
  EXPECT_EQ(settings.mapOn, 1);
  EXPECT_EQ(getPixel(249, 4), 3);  // the map's frame
  runFrames(2);
  EXPECT_EQ(settings.mapOn, 0);
  runFrames(3);
  EXPECT_EQ(settings.debrisOn, 0);
  runFrames(1);
  EXPECT_EQ(settings.debrisOn, 0);
}

TEST_F(LevelLoopTest, F5HeldIntoTheNextLevelDoesNotSwitchAgain) {
  start("hold F5 3\nhold F5 ESC 1\nhold F5 3");
  while (levelRunning()) runLevelFrame();
  EXPECT_EQ(settings.mapOn, 1);
  startLevel();
  runFrames(3);
  EXPECT_EQ(settings.mapOn, 1);
}

TEST_F(LevelLoopTest, HoldingF2PausesOnce) {
  start("hold F2 5\nwait 1\nhold F2 1\nwait 1");
  runFrames(5);
  EXPECT_EQ(levelLoop.paused, 1);
  runFrames(1);
  EXPECT_EQ(levelLoop.paused, 1);
  runFrames(1);
  EXPECT_EQ(levelLoop.paused, 0);
}

TEST_F(LevelLoopTest, HoldingF4OpensTheMenuOnceUntilF4IsUp) {
  // Enter leaves the menu, if it stays open at all; F4 is still held then.
  start("hold F4 ENTER 6\nwait 1\nhold F4 ENTER 1\nwait 3\n");
  runLevelFrame();
  EXPECT_EQ(levelLoop.optionsLatch, 1);
  while (headlessPollCount() < 6) runLevelFrame();
  EXPECT_EQ(levelLoop.optionsLatch, 1);
  runLevelFrame();
  EXPECT_EQ(levelLoop.optionsLatch, 0);
  runLevelFrame();
  EXPECT_EQ(levelLoop.optionsLatch, 1);
}

TEST_F(LevelLoopTest, ExhaustStandsStillAndHiddenWhileDebrisIsOff) {
  start("hold RSHIFT 6\nhold F6 1\nwait 10\nhold F6 1\nwait 2");
  runFrames(6);
  ASSERT_GT(exhaust[0].life, 0);
  runFrames(1);  // F6: the switch comes after this frame's exhaust pass
  ASSERT_EQ(settings.debrisOn, 0);
  const Particle frozen = exhaust[0];
  const int sx = static_cast<int>(frozen.x + 0.5) - levelState.cameraX;
  const int sy = static_cast<int>(frozen.y + 0.5) - levelState.cameraY;
  runFrames(10);
  EXPECT_EQ(exhaust[0].x, frozen.x);
  EXPECT_EQ(exhaust[0].life, frozen.life);
  EXPECT_EQ(getPixel(sx, sy), 0);
  runFrames(2);  // F6 again: on at the end of the first frame, drawn in the second
  EXPECT_EQ(settings.debrisOn, 1);
  EXPECT_LT(exhaust[0].life, frozen.life);
}

}  // namespace

namespace {

class ScreenshotKey : public LevelLoopTest {
 protected:
  void SetUp() override {
    LevelLoopTest::SetUp();
    original_ = std::filesystem::current_path();
    std::filesystem::current_path(makeTempFolder("screenshot-key"));
  }
  void TearDown() override { std::filesystem::current_path(original_); }

  static int screenFiles() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
      count += entry.path().filename().string().rfind("screen", 0) == 0 ? 1 : 0;
    }
    return count;
  }

  std::filesystem::path original_;
};

TEST_F(ScreenshotKey, HoldingF3SavesOneScreenshotAndANewPressAnother) {
  start("hold F3 4\nwait 2\nhold F3 1\nwait 2\n");
  runFrames(8);
  if (screenFiles() == 0) GTEST_SKIP() << "the screenshot writer is not in this build";
  EXPECT_EQ(screenFiles(), 2);
}

}  // namespace
