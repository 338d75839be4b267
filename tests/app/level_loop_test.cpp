// The level and the game around it, each test from a clean level (three ships at
// level 1, an empty world): the frame clock, pause, leave countdown, switch keys and
// exhaust; the ship's wrap and contact points; the ball's tag, rod, tow, probe,
// explosion and flight after the ship's loss; each attempt's outcome, rounds and
// Escape. The flight and camera are pinned by the playthrough and the frames.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/ball.h"
#include "app/frame_timing.h"
#include "app/game.h"
#include "app/level_loop.h"
#include "app/ship.h"
#include "app/status_line.h"
#include "input/controls.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/gates.h"
#include "world/level_data.h"
#include "world/particles.h"
#include "world/ship_outline.h"
#include "world/shots.h"
#include "world/stars.h"
#include "world/turrets.h"

namespace {

void useBoxes(std::initializer_list<Box> terrain) {
  lastBox = 0;
  for (const Box& box : terrain) boxes[lastBox++] = box;
  boxes[lastBox] = Box{0, 0, 0, 0, 0};
}

bool showsText(int x, int y, uint8_t colour, const char* text) {
  return ::showsText(frameBuffer.pixels, x, y, colour, text);
}

class Level : public testing::Test {
 protected:
  void SetUp() override {
    startHeadlessVideo();
    settings = Settings{1, 0, 1, 0, 0, 50};
    gameState = GameState{0, 3, 0, 0, 0};
    controls = Controls{};
    levelState = LevelState{};
    for (Gate& gate : gates) gate = Gate{};
    useBoxes({});
    turrets[0] = Turret{};
    lastTurret = 0;
  }
  static void start(const std::string& script) {
    useScript(script);
    startLevel();
  }
  static void runFrames(int frames) {
    for (int i = 0; i < frames; ++i) runLevelFrame();
  }
};

TEST(FrameTiming, ClampsTheMicrosecondsBetweenTwoReadings) {
  EXPECT_EQ(frameElapsedMicros(0, 700000), 100000);       // 0.7 s counts as 100 ms
  EXPECT_EQ(frameElapsedMicros(1000, 1050), 100);         // 50 us: the minimum, 0 ms
  EXPECT_EQ(frameElapsedMicros(250000, 250000), 100000);  // equal readings
  EXPECT_EQ(frameElapsedMicros(990000, 10000), 20000);    // over a second's boundary
}

class LevelLoopTest : public Level {
 protected:
  // The view's top at row 240 and the ship at 340: the leave countdown starts in the first frame.
  static void placeUnderTheSky() {
    levelState.cameraY = 240;
    levelState.posY = 340;
  }
};

TEST_F(LevelLoopTest, PausingKeepsEveryPositionAndTimerAndShowsOutlinedTextAndTheFrameRate) {
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
  EXPECT_TRUE(showsText(246, 10, 20, "40"));  // 1000 / 25; the text is pinned below
  runFrames(2);
  EXPECT_GT(levelLoop.leaveTimer, before[7]) << "F2 again: running";

  // The pause text has four black copies around the grey one, each seen over a coloured
  // frame; no frame rate with none measured, as the help screen leaves it.
  levelState.frameMs = 0;
  std::memset(frameBuffer.pixels, 5, kFrameBytes);
  drawPauseDisplay();
  EXPECT_EQ(digestOf(frameBuffer.pixels, kFrameBytes), 15379987906164602122u);
}

// Its rings and the fading craft are pinned by the frames' digests.
TEST_F(LevelLoopTest, TheLeaveCountdownEndsAsItsStepPasses40) {
  start("wait 400");
  placeUnderTheSky();
  runLevelFrame();
  ASSERT_EQ(levelState.leaving, 1);
  int step = 0;
  for (; levelRunning(); step = static_cast<int>(levelLoop.leaveTimer + 0.5)) runLevelFrame();
  EXPECT_EQ(step, 41) << "the level ends in the frame the step passes 40, not one before";
}

// The stars' colours and places in the view are pinned by the frames' digests.
TEST_F(LevelLoopTest, StarsShineInTheViewsCornersAndEnterFiresOncePerPress) {
  start("hold ENTER 6\nwait 1\nhold ENTER 1\nwait 2");
  placeUnderTheSky();
  runFrames(6);
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

class Ship : public Level {
 protected:
  void SetUp() override {
    Level::SetUp();
    placeCamera(0);
    levelState.dt = 1.0f;
    levelState.craftColour = 29;
  }
  // At the start, with the camera this far right of the view centred on the ship.
  static void placeCamera(int gapX) {
    placeShipAtStart();
    levelState.cameraX += gapX;
  }
  // Whether the ship nose up at (100, 100) hits a pixel of the colour at (100 + dx, 100 + dy).
  static bool hitsWith(int dx, int dy, uint8_t colour) {
    clearFrame(0, kScreenHeight);
    levelState.shipDestroyed = 0;
    putPixel(100 + dx, 100 + dy, colour);
    drawShip(100, 100, 3.1415927f);
    return levelState.shipDestroyed == 1;
  }
};

TEST_F(Ship, TheWorldWrapsBy2080WhenTheCameraLeavesColumns0To2080) {
  const std::array<int, 4> cases[] = {{0, 100, 2180, 2068},       // the camera steps 12 left
                                      {2080, 2300, 220, 11},      // 11 right
                                      {2080, 2240, 2240, 2080}};  // none
  for (auto [cameraX, posX, afterX, afterCameraX] : cases) {
    placeCamera(cameraX - 1040);
    levelState.posX = static_cast<float>(posX);
    stepShip();
    EXPECT_FLOAT_EQ(levelState.posX, afterX) << posX;
    EXPECT_EQ(levelState.shipX, afterX) << posX;
    EXPECT_EQ(levelState.cameraX, afterCameraX) << posX;
  }
}

TEST_F(Ship, HitsAtItsSixTestPointsBelowRow500AndNeverOnItsOwnColour) {
  levelState.shipY = 600;
  for (auto [dx, dy] : {std::pair{0, -8}, {6, 5}, {3, 7}, {-2, 7}, {-5, 5}})
    EXPECT_TRUE(hitsWith(dx, dy, 66)) << dx << "," << dy;
  EXPECT_FALSE(hitsWith(3, -2, 66)) << "under a side line";
  EXPECT_FALSE(hitsWith(0, -8, 29));
  levelState.craftColour = 20;  // fading while leaving
  EXPECT_FALSE(hitsWith(0, -8, 20));
  EXPECT_TRUE(hitsWith(0, -8, 29));
  levelState.shipY = 500;
  EXPECT_FALSE(hitsWith(0, -8, 66));
  levelState.shipY = 501;
  EXPECT_TRUE(hitsWith(0, -8, 66));
}

constexpr int kBallX = 1140, kBallY = 636;  // on its stand, at screen (140, 136)

class BallTest : public Level {
 protected:
  void SetUp() override {
    Level::SetUp();
    resetDebris();
    levelState.ballX = kBallX;
    levelState.ballY = kBallY;
    levelState.cameraX = 1000;
    levelState.cameraY = 500;
    levelState.dt = 0.5f;
    placeBallOnStand();
  }
  static void shipAt(int dx, int dy) {
    levelState.posX = static_cast<float>(levelState.shipX = kBallX + dx);
    levelState.posY = static_cast<float>(levelState.shipY = kBallY + dy);
  }
  // Tagged from 15 pixels above, then the line drawn with the ship at (dx, dy).
  static void tagThenMoveTo(int dx, int dy) {
    shipAt(0, -15);
    controls.tag = 1;
    tagBall();
    controls.tag = 0;
    shipAt(dx, dy);
    drawBall();
  }
  // Towing from straight above the ball, at rest.
  static void towFromAbove() {
    tagThenMoveTo(0, -21);
    ASSERT_EQ(levelState.ballTowed, 1);
    levelState.velX = levelState.velY = 0;
  }
};

TEST_F(BallTest, OnItsStandItIsDrawnWhereverItIsWhollyInView) {
  const std::tuple<int, int, bool> places[] = {
      {11, 100, true},  {309, 100, true},  {100, 11, true},  {100, 189, true},
      {10, 100, false}, {310, 100, false}, {100, 10, false}, {100, 190, false}};
  for (auto [x, y, drawn] : places) {
    clearFrame(0, kScreenHeight);
    levelState.cameraX = kBallX - x;
    levelState.cameraY = kBallY - y;
    drawBall();
    EXPECT_EQ(paintedPixels().size() > 20, drawn) << x << "," << y;
    EXPECT_EQ(getPixel(x + 3, y) != 0, drawn) << "the ball, " << x << "," << y;
  }
}

// Level counts as one row below. The flight point moving to the rod's centre and
// the pair keeping half the ship's speed are the playthrough's.
TEST_F(BallTest, ASquaredDistanceOf400NeitherTagsNorHoldsAndTheRodTakesTheShipsAngle) {
  controls.tag = 1;
  shipAt(12, -16);  // 144 + 256
  tagBall();
  EXPECT_EQ(ball.tagging, 0);
  shipAt(12, -15);
  tagBall();
  EXPECT_EQ(ball.tagging, 1);
  shipAt(12, -16);
  drawBall();
  EXPECT_EQ(levelState.ballTowed, 0);
  EXPECT_EQ(getPixel(151, 122), 25) << "the tagging line";
  shipAt(12, -17);
  drawBall();
  EXPECT_EQ(levelState.ballTowed, 1);
  for (auto [dx, dy, angle] : {std::tuple{0, -21, 0.0}, {0, 21, -3.1415927}, {21, 0, -4.664806}}) {
    SetUp();
    tagThenMoveTo(dx, dy);
    EXPECT_NEAR(ball.rodAngle, angle, 1e-6) << dx << "," << dy;
  }
}

TEST_F(BallTest, TheProbeFindsRockFourPixelsAwayBelowRow500AndTheBurstLeavesTheShipFlyingOn) {
  towFromAbove();
  levelState.velX = 1.5f;
  levelState.flightX = 1100;
  ball.rodSin = 0;
  ball.rodCos = 1;  // the ball 10 rows below the flight point
  fillRect(0, 0, 319, 199, 66);
  for (auto [flightY, destroyed] : {std::pair{490, 0}, {491, 1}}) {  // the ball at row 500, 501
    levelState.flightY = flightY;
    placeTowedBall();
    EXPECT_EQ(levelState.ballDestroyed, destroyed) << flightY;
  }
  levelState.ballDestroyed = 0;
  clearFrame(0, kScreenHeight);
  levelState.flightY = 600;  // the ball at screen (100, 110)
  putPixel(105, 110, 66);
  placeTowedBall();
  EXPECT_EQ(levelState.ballDestroyed, 0) << "five pixels right";
  putPixel(100, 114, 66);
  placeTowedBall();
  EXPECT_EQ(levelState.ballDestroyed, 1) << "four below";
  explodeBall();
  EXPECT_FLOAT_EQ(levelState.posY, kBallY - 21) << "the ship's own place, off the rod's centre";
  EXPECT_FLOAT_EQ(levelState.velX, 1.5f);
  EXPECT_EQ(levelState.ballTowed, 0);
  int live = 0;
  for (const Particle& particle : debris) live += particle.life > 0;
  EXPECT_EQ(live, 101);
}

TEST_F(BallTest, AfterTheShipsLossATowedBallFliesOnTillItHitsRockAndOneOnItsStandStays) {
  useBoxes({Box{0, 700, 2399, 760, 66}});
  start("wait 400");
  towFromAbove();
  levelState.velX = 0.8f;
  levelState.cameraX = static_cast<int>(levelState.posX) - 160;  // the view on the pair
  levelState.cameraY = static_cast<int>(levelState.posY) - 100;
  runLevelFrame();
  const int ballX = levelState.ballX;
  levelState.shipDestroyed = 1;  // as a shot would
  for (int frame = 0; frame < 300 && !levelState.ballDestroyed; ++frame) runLevelFrame();
  EXPECT_EQ(levelState.ballDestroyed, 1);
  EXPECT_GT(levelState.ballX, ballX + 5);
  EXPECT_GE(levelState.ballY + 4, 700);
  EXPECT_EQ(levelState.ballX, static_cast<int>(ball.freeX + 0.5f)) << "rounded to the nearest";

  SetUp();
  start("wait 400");
  levelState.shipDestroyed = 1;
  for (int i = 0; i < 50; ++i) runLevelFrame();
  EXPECT_EQ(levelState.ballX, kBallX);
  EXPECT_EQ(levelState.ballY, kBallY);
  EXPECT_EQ(levelState.ballDestroyed, 0);
}

using GameTest = Level;

TEST_F(GameTest, EachAttemptCostsAShipThatLeavingGivesBackAndTheBallMovesTheGameOn) {
  // After: ships, level, score, difficulty, loadTurrets, lastLevelReached.
  const std::tuple<const char*, int, int, int, std::vector<int>> cases[] = {
      {"level 3 completed", 2, 1, 1, {3, 3, 20, 0, 1, 0}},
      {"level 7 completed: on to level 8", 6, 1, 1, {3, 7, 20, 0, 1, 0}},
      {"level 8 completed", 7, 1, 1, {3, 0, 20, 1, 1, 1}},
      {"out without the ball", 3, 1, 0, {3, 3, 0, 0, 0, 0}},
      {"Escape in flight", 3, 0, 1, {2, 3, 0, 0, 0, 0}}};
  for (const auto& [attempt, level, leaving, towed, after] : cases) {
    gameState = GameState{0, 3, level, 0, 0};
    GameMarks marks{1, 1, 0};
    levelState.leaving = static_cast<uint8_t>(leaving);
    levelState.ballTowed = towed;
    applyOutcome(&marks);
    EXPECT_EQ((std::vector<int>{gameState.ships, gameState.level, gameState.score,
                                gameState.difficulty, marks.loadTurrets, marks.lastLevelReached}),
              after)
        << attempt;
  }
}

// The intro's lines are pinned by the playthrough's and the frames' shots.
TEST_F(GameTest, AfterARoundTheTurretsShootFasterAndMoreOftenAndTheScoreShowsTimes100) {
  gameState = GameState{20, 2, 0, 1, 0};  // level 8 completed
  settings.statusLineFull = 1;
  start("wait 3");
  EXPECT_FLOAT_EQ(levelState.turretShotSpeed, 2.0f);
  EXPECT_EQ(levelState.turretReloadRange, 750);
  runLevelFrame();
  EXPECT_TRUE(showsText(48, 10, 3, "2000"));
}

TEST_F(GameTest, ANewGameStartsAtLevelOneAndEscapeOnAnIntroEndsItUnlessHeldFromTheLevel) {
  gameState = GameState{55, 0, 5, 3, 0};
  useScript("wait 1\nhold ESC 1\n");
  runGame();
  EXPECT_EQ(
      (std::vector<int>{gameState.score, gameState.ships, gameState.level, gameState.difficulty}),
      (std::vector<int>{0, 3, 0, 0}));
  EXPECT_EQ(levelState.craftColour, 0) << "no level was started";
  SetUp();
  useScript(
      "hold ENTER 1\nwait 5\nhold ESC 10\n"  // ends the level, then held on at the intro
      "wait 2\nhold ENTER 1\nwait 5\nhold ESC 1\n"
      "wait 2\nhold ESC 1\n");
  runGame();
  EXPECT_EQ(gameState.ships, 1) << "Escape held from the level into the next intro goes unseen";
}

}  // namespace
