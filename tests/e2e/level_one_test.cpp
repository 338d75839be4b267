// Level 1 in one whole run of kravix-headless, three ships' worth: a flight
// straight up out of the cave; then help, options and a screenshot opened
// while the ship falls onto the rock; then a hover over the floor turret
// until its shot brings the ship down, and Escape on the next intro. Each is
// judged on the screen shots.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "script_building.h"
#include "shot_reading.h"
#include "world/turrets.h"

namespace {

const std::vector<int> kDebris = {184, 112, 113, 40, 41, 42, 44, 14, 15};
const Area kMiddleColumns{130, 0, 190, 199};
const Area kAroundTheShip{115, 55, 205, 145};

// Hovering for 46 times 10 frames outlasts the turret's longest countdown
// (1509 tenths of a time unit, 302 frames of 20 ms) and the flight of its
// shot up to the ship (about 90 frames), wherever the countdown stands.
constexpr int kHoverPictures = 46;

std::string hoverName(int index) {
  return "hover" + std::to_string(index);
}

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
  // Exhaust off with F6, so that below the ship nothing moves but the
  // turret's shots; the ship drops to about row 565, glides left with its nose
  // tilted, brakes above the turret at (1000, 632) and hovers upright.
  script += "hold F6 1\nwait 29\nhold RSHIFT 12\nhold A 6  # glide left\n" + thrustCycles(11, 7);
  script += "hold S 6  # upright: drift\n" + thrustCycles(1, 6);
  script += "hold S 6  # nose to the right: brake\n" + thrustCycles(2, 7);
  script += "hold A 6  # upright over the turret\nhold RSHIFT 4\n";
  for (int i = 0; i < kHoverPictures; ++i) {
    script += thrustCycles(1, 3, 10) + "shot " + hoverName(i) + "\n";
  }
  return script + "hold ESC 1\nwait 2\nshot turretIntro\nhold ESC 1\nwait 5\nshot gameOver\n";
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

// F1 shows the help; Escape returns to the level.
void helpFromTheLevel(const ScriptedRun& run) {
  EXPECT_TRUE(showsTheLevel(run.shot("flying")));
  const ShotPixels help = run.shot("help");
  EXPECT_TRUE(shotShowsText(help, 80, 20, 31, "     H   E   L   P"));
  EXPECT_TRUE(shotShowsText(help, 80, 40, 31, "         A : TURN LEFT"));
  EXPECT_TRUE(shotShowsText(help, 80, 50, 31, "         S : TURN RIGHT"));
  EXPECT_GE(countColours(help, {25}), 300);  // the grey outline
  EXPECT_EQ(countColours(help, {43}), 0);    // no rock behind it
  EXPECT_TRUE(showsTheLevel(run.shot("back")));
}

// F4 opens the options, where Space switches the map on.
void optionsFromTheLevel(const ScriptedRun& run) {
  EXPECT_EQ(mapFramePixels(run.shot("flying")), 0);
  const ShotPixels options = run.shot("options");
  EXPECT_TRUE(shotShowsText(options, 100, 30, 42, "O  P  T  I  O  N  S  :"));
  EXPECT_TRUE(shotShowsText(options, 110, 110, 66, "MAP           OFF          F5"));
  EXPECT_EQ(countIn(options, {0, 40, 319, 199}, {43}), 0);  // rock only in the title's shadow
  const ShotPixels mapOn = run.shot("mapOn");
  EXPECT_TRUE(shotShowsText(mapOn, 110, 110, 15, "MAP           ON           F5"));
  EXPECT_TRUE(shotShowsText(mapOn, 110, 100, 66, "DEBRIS        ON           F6"));
  const ShotPixels withMap = run.shot("withMap");
  EXPECT_TRUE(showsTheLevel(withMap));
  EXPECT_EQ(mapFramePixels(withMap), 208);
  EXPECT_GE(countIn(withMap, {250, 5, 310, 45}, {43}), 20);  // the cave's floor, small
}

// F3 writes the frame to screen00.ppm without its progress box.
void screenshotFromTheLevel(const ScriptedRun& run) {
  EXPECT_NE(run.result.output.find("test screen00.ppm\n"), std::string::npos);
  EXPECT_EQ(run.result.output.find("test screen01.ppm"), std::string::npos);
  const std::string file = readWhole(run.folder + "/screen00.ppm");
  ASSERT_EQ(file.size(), 192016u);
  EXPECT_EQ(file.substr(0, 15), "P6\n320 200\n255\n");
  EXPECT_EQ(file.back(), '\xff');
  // The picture shown meanwhile has the box over rows 0-6, which the file never holds.
  const std::string shown = readWhole(run.folder + "/saved.ppm");
  constexpr size_t kBoxEnd = 15 + 7 * 320 * 3;
  EXPECT_EQ(file.substr(kBoxEnd, 192000 + 15 - kBoxEnd), shown.substr(kBoxEnd));
  const size_t boxCorner = 15 + 99 * 3;  // (99, 0): the box's frame, colour 3, in the picture only
  EXPECT_EQ(shown.substr(boxCorner, 3), std::string("\0\xa8\xa8", 3));
  EXPECT_NE(file.substr(boxCorner, 3), shown.substr(boxCorner, 3));
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

// Where the floor turret's image lies whole in the picture, or nullopt.
std::optional<Area> findFloorTurret(const ShotPixels& shot) {
  for (int y = 0; y + 16 <= kScreenHeight; ++y) {
    for (int x = 0; x + 16 <= kScreenWidth; ++x) {
      bool whole = true;
      for (int i = 0; i < 256 && whole; ++i) {
        whole = floorTurretSprite[i] == 0 ||
                shotPixel(shot, x + i % 16, y + i / 16) == floorTurretSprite[i];
      }
      if (whole) return Area{x, y, x + 15, y + 15};
    }
  }
  return std::nullopt;
}

// The smallest area holding the ship's outline (colour 29) in the space above
// the turret, or nullopt; the sky with its stars lies higher, the ball further right.
std::optional<Area> shipAbove(const ShotPixels& shot, const Area& turret) {
  std::optional<Area> ship;
  for (int y = std::max(0, turret.y1 - 110); y < turret.y1; ++y) {
    for (int x = turret.x1 - 24; x <= turret.x2 + 24; ++x) {
      if (shotPixel(shot, x, y) != 29) continue;
      if (!ship) ship = Area{x, y, x, y};
      ship = Area{std::min(ship->x1, x), ship->y1, std::max(ship->x2, x), y};
    }
  }
  return ship;
}

// The floor turret shoots down the ship hovering high above it.
void shotDownByTheTurret(const ScriptedRun& run) {
  std::vector<ShotPixels> pictures;
  for (int i = 0; i < kHoverPictures; ++i) pictures.push_back(run.shot(hoverName(i)));
  const std::optional<Area> turret = findFloorTurret(pictures[0]);
  ASSERT_TRUE(turret);

  // The first picture without the ship; the two before it show it hovering still.
  int lost = 0;
  while (lost < kHoverPictures && shipAbove(pictures[lost], *turret)) ++lost;
  ASSERT_GE(lost, 2) << "the ship was not hovering over the turret";
  ASSERT_LT(lost, kHoverPictures) << "the ship was never destroyed";
  const Area ship = *shipAbove(pictures[lost - 1], *turret);
  EXPECT_EQ(shipAbove(pictures[lost - 2], *turret), ship);
  EXPECT_GE(countIn(pictures[lost - 1], ship, {29}), 20);
  EXPECT_LE(ship.x1, turret->x1 + 8);  // straight above the muzzle
  EXPECT_GE(ship.x2, turret->x1 + 8);
  // Far from anything solid: nothing but black for 40 rows below the ship.
  const Area below{ship.x1 - 8, ship.y2 + 1, ship.x2 + 8, ship.y2 + 40};
  EXPECT_EQ(countIn(pictures[lost - 1], below, {43, 24, 26, 27, 30}), 0);
  // The turret's shot (colour 28) on its way up, between the muzzle and the ship.
  const Area path{turret->x1 + 6, ship.y2 + 1, turret->x1 + 10, turret->y1 + 1};
  EXPECT_GE(countIn(pictures[lost - 1], path, {28}) + countIn(pictures[lost - 2], path, {28}), 1);

  // Then the ship is a burst of debris where it hovered; the view stands still.
  const ShotPixels& after = pictures[lost];
  const Area burst{ship.x1 - 15, ship.y1 - 15, ship.x2 + 15, ship.y2 + 15};
  EXPECT_GE(countIn(after, burst, kDebris), 60);
  EXPECT_EQ(countIn(after, burst, {29}), 0);
  EXPECT_EQ(findFloorTurret(after), turret);
  EXPECT_TRUE(showsIntro(run.shot("turretIntro"), 1, 1));

  // The pictures take 12 MB; they stay only to look into a failure.
  for (int i = 0; i < kHoverPictures && !testing::Test::HasFailure(); ++i) {
    for (const char* kind : {".idx", ".ppm"})
      std::filesystem::remove(run.folder + "/" + hoverName(i) + kind);
  }
}

TEST(LevelOne, FlownOutCrashedAndShotDownInOneRun) {
  const ScriptedRun run("level-one", threeShips());
  ASSERT_EQ(run.result.status, 0);
  flyingOut(run);
  helpFromTheLevel(run);
  optionsFromTheLevel(run);
  screenshotFromTheLevel(run);
  crashOntoTheRock(run);
  shotDownByTheTurret(run);
  // Escape on the last ship's intro ends the game: the high scores follow.
  EXPECT_TRUE(shotShowsText(run.shot("gameOver"), 100, 10, 10, "H I G H S C O R E S"));
}

}  // namespace
