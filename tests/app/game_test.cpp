#include "app/game.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/level_loop.h"
#include "level_fixture.h"
#include "platform/headless/headless.h"
#include "video/frame_buffer.h"
#include "video/text.h"

namespace {

bool showsText(const unsigned char* screen, int x, int y, uint8_t colour, const char* text) {
  for (int i = 0; text[i] != '\0'; ++i) {
    const uint8_t* rows = fontGlyphs.rows[static_cast<unsigned char>(text[i])];
    for (int r = 0; r < 5; ++r) {
      for (int k = 0; k < 3; ++k) {
        if (((rows[r] >> (2 - k)) & 1) &&
            screen[(y + r) * kScreenWidth + x + 4 * i + k] != colour) {
          return false;
        }
      }
    }
  }
  return true;
}

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override { prepareEmptyLevel(); }

  void play(const std::string& script) {
    useScript(script);
    runGame();
  }
  // A shot taken by the script's `shot NAME`, as 64000 palette indices.
  std::vector<unsigned char> shot(const std::string& name) {
    return readShotIndices(folder_ + "/" + name + ".idx");
  }
  void useShotFolder(const std::string& name) {
    folder_ = makeTempFolder(name);
    headlessSetOutDir(folder_);
  }
  std::string folder_;
};

TEST_F(GameTest, ANewGameShowsLevelOneThreeShipsAndNoDifficulty) {
  gameState = GameState{55, 0, 5, 3, 0};
  GameMarks marks{0, 1, 0};
  gameState = GameState{0, 3, 0, 0, 0};
  drawIntro(marks);
  EXPECT_TRUE(showsText(frameBuffer.pixels, 120, 90, 45, "LEVEL:"));
  EXPECT_TRUE(showsText(frameBuffer.pixels, 170, 90, 45, "1"));
  EXPECT_TRUE(showsText(frameBuffer.pixels, 120, 110, 45, "SHIPS:"));
  EXPECT_TRUE(showsText(frameBuffer.pixels, 170, 110, 45, "3"));
  for (int i = 1; i <= 3; ++i)
    EXPECT_TRUE(showsText(frameBuffer.pixels, 200 + 10 * i, 110, 45, "*"));
  EXPECT_EQ(getPixel(241, 111), 0);  // no fourth star
  for (int x = 120; x < 180; ++x) {
    for (int y = 100; y < 105; ++y) EXPECT_EQ(getPixel(x, y), 0);
  }
}

TEST_F(GameTest, RunGameStartsFromLevelOneWithThreeShipsWhateverCameBefore) {
  gameState = GameState{55, 0, 5, 3, 0};
  useShotFolder("new-game");
  play("wait 1\nshot intro\nhold ESC 1\n");
  const std::vector<unsigned char> intro = shot("intro");
  ASSERT_EQ(intro.size(), 64000u);
  EXPECT_TRUE(showsText(intro.data(), 120, 90, 45, "LEVEL:"));
  EXPECT_TRUE(showsText(intro.data(), 170, 90, 45, "1"));
  EXPECT_TRUE(showsText(intro.data(), 170, 110, 45, "3"));
  EXPECT_EQ(gameState.score, 0);
  EXPECT_EQ(gameState.difficulty, 0);
}

TEST_F(GameTest, CompletingLevelEightStartsLevelOneAgainOneDifficultyHigher) {
  gameState = GameState{140, 2, 7, 0, 0};
  levelState.leaving = 1;
  levelState.ballTowed = 1;
  GameMarks marks{0, 0, 0};
  applyOutcome(&marks);
  EXPECT_EQ(gameState.level, 0);
  EXPECT_EQ(gameState.difficulty, 1);
  EXPECT_EQ(gameState.score, 160);
  EXPECT_EQ(gameState.ships, 2);
  EXPECT_EQ(marks.loadTurrets, 1);
  EXPECT_EQ(marks.lastLevelReached, 1);
  drawIntro(marks);
  EXPECT_TRUE(showsText(frameBuffer.pixels, 120, 100, 45, "DIFFICULTY:"));
  EXPECT_TRUE(showsText(frameBuffer.pixels, 170, 100, 45, "2"));
  EXPECT_TRUE(showsText(frameBuffer.pixels, 20, 170, 45, "                   LAST LEVEL REACHED"));
  EXPECT_TRUE(showsText(frameBuffer.pixels, 20, 180, 45,
                        "        SETTING LEVEL TO 1 --- INCREASING DIFFICULTY"));
  // The next round shoots faster and more often.
  useScript("wait 1");
  startLevel();
  EXPECT_FLOAT_EQ(levelState.turretShotSpeed, 2.0f);
  EXPECT_EQ(levelState.turretReloadRange, 750);
}

TEST_F(GameTest, ACompletedLevelMovesOnAndTheLastLevelLinesGoAfterOneIntro) {
  gameState = GameState{0, 3, 2, 1, 0};
  GameMarks marks{1, 0, 0};
  levelState.leaving = 1;
  levelState.ballTowed = 1;
  applyOutcome(&marks);
  EXPECT_EQ(gameState.level, 3);
  EXPECT_EQ(gameState.ships, 3);
  EXPECT_EQ(marks.lastLevelReached, 0);
  EXPECT_EQ(marks.loadTurrets, 1);
}

TEST_F(GameTest, FlyingOutWithoutTheBallRepeatsTheLevelAtNoCost) {
  gameState = GameState{20, 2, 3, 0, 0};
  levelState.leaving = 1;
  levelState.ballTowed = 0;
  GameMarks marks{0, 1, 0};
  applyOutcome(&marks);
  EXPECT_EQ(gameState.ships, 2);
  EXPECT_EQ(gameState.level, 3);
  EXPECT_EQ(gameState.score, 20);
  EXPECT_EQ(marks.loadTurrets, 0);  // the turrets stay as they were
}

TEST_F(GameTest, EscapeInFlightCostsAShipAndRepeatsTheLevel) {
  gameState = GameState{20, 2, 3, 0, 0};
  levelState.leaving = 0;
  levelState.ballTowed = 1;
  GameMarks marks{0, 1, 0};
  applyOutcome(&marks);
  EXPECT_EQ(gameState.ships, 1);
  EXPECT_EQ(gameState.level, 3);
  EXPECT_EQ(marks.loadTurrets, 0);
}

TEST_F(GameTest, EscapeAfterTheShipWasDestroyedCostsAShip) {
  // The ship falls onto the rock of level 1, then Escape; Escape again on the intro.
  useShotFolder("destroyed");
  play("hold ENTER 1\nwait 200\nhold ESC 1\nwait 2\nshot intro\nhold ESC 1\n");
  EXPECT_EQ(levelState.shipDestroyed, 1);
  EXPECT_EQ(gameState.ships, 2);
  const std::vector<unsigned char> intro = shot("intro");
  ASSERT_EQ(intro.size(), 64000u);
  EXPECT_TRUE(showsText(intro.data(), 170, 110, 45, "2"));
}

TEST_F(GameTest, EscapeWithTheLastShipEndsTheGame) {
  play(
      "hold ENTER 1\nwait 5\nhold ESC 1\n"
      "hold ENTER 1\nwait 5\nhold ESC 1\n"
      "hold ENTER 1\nwait 5\nhold ESC 1\n"
      "wait 5\n");
  EXPECT_EQ(gameState.ships, 0);
  EXPECT_FALSE(showsText(headlessScreen(), 120, 90, 45, "LEVEL:"));  // no fourth intro
}

TEST_F(GameTest, EscapeOnTheIntroEndsTheGameWithoutCostingAShip) {
  play("wait 3\nhold ESC 1\nwait 5\n");
  EXPECT_EQ(gameState.ships, 3);
  EXPECT_EQ(levelState.craftColour, 0);  // no level was started
}

TEST_F(GameTest, EscapeHeldFromTheLevelIntoTheNextIntroDoesNotEndTheGame) {
  play(
      "hold ENTER 1\nwait 5\n"
      "hold ESC 10\n"  // ends the level, then held on at the intro
      "wait 2\nhold ENTER 1\nwait 5\nhold ESC 1\n"
      "wait 2\nhold ESC 1\n");
  EXPECT_EQ(gameState.ships, 1);
}

TEST_F(GameTest, F12OnTheIntroRunsALevelThatEndsAtOnceAndEndsTheGame) {
  play("wait 2\nhold F12 5\n");
  EXPECT_EQ(levelState.craftColour, 29);  // a level was started
  EXPECT_EQ(gameState.ships, 2);
}

TEST_F(GameTest, AScoreOfTwentyIsShownAs2000) {
  settings.statusLineFull = 1;
  gameState = GameState{0, 3, 0, 0, 0};
  levelState.leaving = 1;
  levelState.ballTowed = 1;
  GameMarks marks{0, 1, 0};
  applyOutcome(&marks);
  ASSERT_EQ(gameState.score, 20);
  useScript("wait 3");
  startLevel();
  runLevelFrame();
  EXPECT_TRUE(showsText(frameBuffer.pixels, 10, 10, 3, "SCORE:"));
  EXPECT_TRUE(showsText(frameBuffer.pixels, 48, 10, 3, "2000"));
}

}  // namespace
