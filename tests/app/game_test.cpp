// The game: the outcome of each attempt, rounds of rising difficulty, Escape
// on the intro and in flight, and the score shown.
#include "app/game.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/level_loop.h"
#include "level_fixture.h"

namespace {

class GameTest : public testing::Test {
 protected:
  void SetUp() override { prepareEmptyLevel(); }
  static void play(const char* script) {
    useScript(script);
    runGame();
  }
};

TEST_F(GameTest, EachAttemptCostsAShipThatLeavingGivesBackAndTheBallMovesTheGameOn) {
  const struct {
    const char* attempt;
    int level, leaving, towed;
    std::vector<int> after;  // ships, level, score, difficulty, loadTurrets, lastLevelReached
  } cases[] = {{"level 3 completed", 2, 1, 1, {3, 3, 20, 0, 1, 0}},
               {"level 7 completed: on to level 8", 6, 1, 1, {3, 7, 20, 0, 1, 0}},
               {"level 8 completed", 7, 1, 1, {3, 0, 20, 1, 1, 1}},
               {"out without the ball", 3, 1, 0, {3, 3, 0, 0, 0, 0}},
               {"Escape in flight", 3, 0, 1, {2, 3, 0, 0, 0, 0}}};
  for (const auto& c : cases) {
    gameState = GameState{0, 3, c.level, 0, 0};
    GameMarks marks{1, 1, 0};
    levelState.leaving = static_cast<uint8_t>(c.leaving);
    levelState.ballTowed = c.towed;
    applyOutcome(&marks);
    EXPECT_EQ((std::vector<int>{gameState.ships, gameState.level, gameState.score,
                                gameState.difficulty, marks.loadTurrets, marks.lastLevelReached}),
              c.after)
        << c.attempt;
  }
}

// The intro's lines are pinned by the playthrough's and the frames' shots.
TEST_F(GameTest, AfterARoundTheTurretsShootFasterAndMoreOften) {
  gameState = GameState{160, 2, 0, 1, 0};  // level 8 completed
  useScript("wait 1");
  startLevel();
  EXPECT_FLOAT_EQ(levelState.turretShotSpeed, 2.0f);
  EXPECT_EQ(levelState.turretReloadRange, 750);
}

TEST_F(GameTest, ANewGameStartsAtLevelOneWithThreeShipsAndEscapeOnTheIntroEndsIt) {
  gameState = GameState{55, 0, 5, 3, 0};
  play("wait 1\nhold ESC 1\n");
  EXPECT_EQ(
      (std::vector<int>{gameState.score, gameState.ships, gameState.level, gameState.difficulty}),
      (std::vector<int>{0, 3, 0, 0}));
  EXPECT_EQ(levelState.craftColour, 0) << "no level was started";
}

TEST_F(GameTest, EscapeHeldFromTheLevelIntoTheNextIntroDoesNotEndTheGame) {
  play(
      "hold ENTER 1\nwait 5\nhold ESC 10\n"  // ends the level, then held on at the intro
      "wait 2\nhold ENTER 1\nwait 5\nhold ESC 1\n"
      "wait 2\nhold ESC 1\n");
  EXPECT_EQ(gameState.ships, 1);
}

TEST_F(GameTest, AScoreOfTwentyIsShownAs2000) {
  settings.statusLineFull = 1;
  gameState.score = 20;
  useScript("wait 3");
  startLevel();
  runLevelFrame();
  EXPECT_TRUE(showsText(48, 10, 3, "2000"));
}

}  // namespace
