// Level 1 in one whole run of kravix-headless, three ships' worth: a flight
// straight up out of the cave; then help, options and a screenshot opened
// while the ship falls onto the rock; then a ship given up with Escape, and
// Escape on the last intro. Each is judged on the screen shots.
#include <gtest/gtest.h>

#include "script_building.h"
#include "shot_reading.h"

namespace {

const std::vector<int> kDebris = {184, 112, 113, 40, 41, 42, 44, 14, 15};
const Area kMiddleColumns{130, 0, 190, 199};
const Area kAroundTheShip{115, 55, 205, 145};

std::string threeShips() {
  std::string script =
      std::string(kIntoLevelOne) +
      "wait 1\nhold RSHIFT 90  # straight up\nshot climbing\n"
      "wait 30\nshot countdown\nwait 60\nshot outIntro\n"
      "hold ENTER 1  # the ship falls from its start\nwait 5\nshot flying\n"
      "hold F1 1\nwait 3\nshot help\n"
      "hold ESC 2  # the level waits for Escape's release\nwait 5\nshot back\n"
      "hold F4 1\nwait 2\nshot options\n"
      "hold DOWN 1\nwait 1\nhold DOWN 1  # from SPEAKER, where a silent game starts, to MAP\n"
      "wait 1\nhold SPACE 1\nwait 1\nshot mapOn\n"
      "hold ENTER 1\nwait 5\nshot withMap\n"
      "hold F3 1\nwait 2  # the writer waits for F3's release\nshot saved\n"
      "hold F5 1  # the map off again\nwait 140\nshot crashed\n"
      "wait 300\nshot still\nhold ESC 1\nwait 2\nshot crashIntro\nhold ENTER 1\n";
  // Escape gives up the second ship; Escape on the last one's intro ends the game.
  script += "wait 5\nhold ESC 1\nwait 2\nshot lastIntro\n";
  return script + "hold ESC 1\nwait 5\nshot gameOver\n";
}

// Straight up out of the cave: the countdown runs and the level ends without a loss.
void flyingOut(const ScriptedRun& run) {
  const ShotPixels climbing = run.shot("climbing");
  EXPECT_GE(countColours(climbing, {29}), 20);         // the outline, with a star or two
  EXPECT_GE(countColours(climbing, {32, 33, 34}), 1);  // fresh exhaust
  // The countdown's rings (colour 26) about the ship, where stars of that colour are few.
  EXPECT_LE(countIn(climbing, kAroundTheShip, {26}), 10);
  EXPECT_GE(countIn(run.shot("countdown"), kAroundTheShip, {26}), 30);
  EXPECT_TRUE(showsIntro(run.shot("outIntro"), 1, 3));
}

// The level, not a screen over it: rock, and the ship's outline in the middle of the view.
bool showsTheLevel(const ShotPixels& shot) {
  return countColours(shot, {43}) >= 1000 && countIn(shot, {140, 80, 180, 120}, {29}) >= 20;
}

// The overview map's frame, colour 3, from (249, 4) to (311, 46): 208 pixels when whole.
int mapFramePixels(const ShotPixels& shot) {
  return countIn(shot, {249, 4, 311, 46}, {3}) - countIn(shot, {250, 5, 310, 45}, {3});
}

// F1 shows the help and F4 the options, where Space switches the map on; Escape
// and Enter return to the level. Both screens are tried key by key on their own.
void screensOverTheLevel(const ScriptedRun& run) {
  EXPECT_TRUE(showsTheLevel(run.shot("flying")));
  EXPECT_TRUE(shotShowsText(run.shot("help"), 80, 20, 31, "     H   E   L   P"));
  EXPECT_TRUE(showsTheLevel(run.shot("back")));
  EXPECT_TRUE(shotShowsText(run.shot("mapOn"), 110, 110, 15, "MAP           ON           F5"));
  EXPECT_TRUE(showsTheLevel(run.shot("withMap")));
  EXPECT_EQ(mapFramePixels(run.shot("flying")), 0);
  EXPECT_EQ(mapFramePixels(run.shot("withMap")), 208);
}

// Falling onto the rock destroys the ship in a burst of debris.
void crashOntoTheRock(const ScriptedRun& run) {
  const ShotPixels crashed = run.shot("crashed"), still = run.shot("still");
  EXPECT_EQ(countIn(crashed, kMiddleColumns, {29}), 0);  // no stars down here
  EXPECT_GE(countColours(crashed, kDebris), 60);
  EXPECT_GE(countColours(crashed, {43}), 1000);        // the rock
  EXPECT_EQ(mapFramePixels(crashed), 0);               // F5 took the map away
  EXPECT_EQ(countColours(still, kDebris), 0);          // burnt out
  EXPECT_EQ(countIn(still, kMiddleColumns, {29}), 0);  // the wreck waits for Escape
  EXPECT_TRUE(showsIntro(run.shot("crashIntro"), 1, 2));
}

TEST(LevelOne, FlownOutCrashedAndGivenUpInOneRun) {
  const ScriptedRun run("level-one", threeShips());
  ASSERT_EQ(run.result.status, 0);
  flyingOut(run);
  screensOverTheLevel(run);
  crashOntoTheRock(run);
  EXPECT_TRUE(showsIntro(run.shot("lastIntro"), 1, 1));
  // Escape on the last ship's intro ends the game: the high scores follow.
  EXPECT_TRUE(shotShowsText(run.shot("gameOver"), 100, 10, 10, "H I G H S C O R E S"));
}

}  // namespace
