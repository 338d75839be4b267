// A whole run of kravix-headless in which level 1's floor turret shoots the
// ship down: the ship glides left over the turret and hovers there, far above
// the rock, until a turret shot reaches it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "script_building.h"
#include "shot_reading.h"
#include "support/test_support.h"
#include "world/turrets.h"

namespace {

// Hovering for 46 times 10 frames outlasts the turret's longest countdown
// (1509 tenths of a time unit, 302 frames of 20 ms) and the flight of its
// shot up to the ship (about 90 frames), wherever the countdown stands.
constexpr int kHoverPictures = 46;

const std::vector<int> kDebrisColours = {184, 112, 113, 40, 41, 42, 44, 14, 15};

std::string pictureName(int index) {
  char name[16];
  std::snprintf(name, sizeof name, "hover%02d", index);
  return name;
}

// Exhaust switched off with F6, so that below the ship nothing moves but the
// turret's shots; the ship drops to about row 565, glides left with its nose
// tilted, brakes above the turret at (1000, 632) and hovers upright, with a
// picture every 10 frames. Then Escape.
std::string hoverOverTheTurret() {
  std::string script = kIntoLevelOne;
  script +=
      "hold F6 1       # no exhaust\n"
      "wait 29\n"
      "hold RSHIFT 12  # the fall stopped\n";
  script += "hold A 6        # nose to the left: glide left\n" + thrustCycles(11, 7);
  script += "hold S 6        # upright: drift\n" + thrustCycles(1, 6);
  script += "hold S 6        # nose to the right: brake\n" + thrustCycles(2, 7);
  script +=
      "hold A 6        # upright over the turret\n"
      "hold RSHIFT 4\n";
  for (int i = 0; i < kHoverPictures; ++i) {
    script += thrustCycles(1, 3, 10) + "shot " + pictureName(i) + "\n";
  }
  return script +
         "hold ESC 1       # the wreck left: a ship lost\n"
         "wait 2\n"
         "shot intro\n";
}

struct Area {
  int x1 = 0, y1 = 0, x2 = -1, y2 = -1;
  bool empty() const { return x2 < x1; }
  bool operator==(const Area&) const = default;
};

// Where the floor turret's image lies whole in the picture; empty if nowhere.
Area findFloorTurret(const ShotPixels& shot) {
  for (int y = 0; y + 16 <= kScreenHeight; ++y) {
    for (int x = 0; x + 16 <= kScreenWidth; ++x) {
      bool whole = true;
      for (int i = 0; i < 256 && whole; ++i) {
        const uint8_t colour = floorTurretSprite[i];
        whole = colour == 0 || shotPixel(shot, x + i % 16, y + i / 16) == colour;
      }
      if (whole) return Area{x, y, x + 15, y + 15};
    }
  }
  return Area{};
}

// The pixels of these colours inside the area, as the smallest area holding them.
Area boundsOf(const ShotPixels& shot, const Area& within, const std::vector<int>& colours) {
  Area found{kScreenWidth, kScreenHeight, -1, -1};
  for (int y = within.y1; y <= within.y2; ++y) {
    for (int x = within.x1; x <= within.x2; ++x) {
      for (int colour : colours) {
        if (shotPixel(shot, x, y) != colour) continue;
        found = Area{std::min(found.x1, x), std::min(found.y1, y), std::max(found.x2, x),
                     std::max(found.y2, y)};
      }
    }
  }
  return found.x2 < 0 ? Area{} : found;
}

int countIn(const ShotPixels& shot, const Area& area, const std::vector<int>& colours) {
  int count = 0;
  for (int y = area.y1; y <= area.y2; ++y) {
    for (int x = area.x1; x <= area.x2; ++x) {
      for (int colour : colours) count += shotPixel(shot, x, y) == colour ? 1 : 0;
    }
  }
  return count;
}

struct Centre {
  double x = 0, y = 0;
};

// The mean position of the pixels of these colours inside the area.
Centre centreOf(const ShotPixels& shot, const Area& area, const std::vector<int>& colours) {
  Centre sum;
  int count = 0;
  for (int y = area.y1; y <= area.y2; ++y) {
    for (int x = area.x1; x <= area.x2; ++x) {
      for (int colour : colours) {
        if (shotPixel(shot, x, y) != colour) continue;
        sum.x += x;
        sum.y += y;
        ++count;
      }
    }
  }
  return count == 0 ? Centre{-1000, -1000} : Centre{sum.x / count, sum.y / count};
}

// The ship's outline (colour 29) in the space above the turret; the sky with
// its stars lies higher, the ball on its stand further right.
Area shipAboveTurret(const ShotPixels& shot, const Area& turret) {
  const Area above{turret.x1 - 24, std::max(0, turret.y1 - 110), turret.x2 + 24, turret.y1 - 1};
  return boundsOf(shot, above, {29});
}

bool showsIntro(const ShotPixels& shot, int level, int ships) {
  return shotShowsText(shot, 120, 90, 45, "LEVEL:") && shotShowsNumber(shot, 170, 90, 45, level) &&
         shotShowsText(shot, 120, 110, 45, "SHIPS:") && shotShowsNumber(shot, 170, 110, 45, ships);
}

TEST(TurretEndToEnd, TheFloorTurretShootsDownTheShipHoveringHighAboveIt) {
  const std::string folder = makeTempFolder("turret-hit");
  const RunResult run = runHeadless(hoverOverTheTurret(), folder);
  ASSERT_EQ(run.status, 0);
  std::vector<ShotPixels> pictures;
  for (int i = 0; i < kHoverPictures; ++i) {
    pictures.push_back(readShotIndices(folder + "/" + pictureName(i) + ".idx"));
    ASSERT_EQ(pictures.back().size(), 64000u) << pictureName(i);
  }
  const Area turret = findFloorTurret(pictures[0]);
  ASSERT_FALSE(turret.empty());

  // The first picture without the ship; the three before it show it hovering still.
  int lost = 0;
  while (lost < kHoverPictures && !shipAboveTurret(pictures[lost], turret).empty()) ++lost;
  ASSERT_GE(lost, 3) << "the ship was not hovering over the turret";
  ASSERT_LT(lost, kHoverPictures) << "the ship was never destroyed";
  const Area ship = shipAboveTurret(pictures[lost - 1], turret);
  EXPECT_EQ(shipAboveTurret(pictures[lost - 2], turret), ship);
  EXPECT_EQ(shipAboveTurret(pictures[lost - 3], turret), ship);
  EXPECT_GE(countIn(pictures[lost - 1], ship, {29}), 20);
  EXPECT_LE(ship.x1, turret.x1 + 8);  // straight above the muzzle
  EXPECT_GE(ship.x2, turret.x1 + 8);

  // Far from anything solid: nothing but black for 40 rows below the ship.
  const Area below{ship.x1 - 8, ship.y2 + 1, ship.x2 + 8, ship.y2 + 40};
  EXPECT_EQ(countIn(pictures[lost - 1], below, {43, 24, 26, 27, 30}), 0);

  // The turret's shot (colour 28) on its way up, between the muzzle and the ship.
  const Area path{turret.x1 + 6, ship.y2 + 1, turret.x1 + 10, turret.y1 + 1};
  EXPECT_GE(countIn(pictures[lost - 1], path, {28}) + countIn(pictures[lost - 2], path, {28}), 1);

  // Then the ship is a burst of debris where it hovered; the view stands still.
  const ShotPixels& after = pictures[lost];
  const Area burst{ship.x1 - 15, ship.y1 - 15, ship.x2 + 15, ship.y2 + 15};
  EXPECT_GE(countIn(after, burst, kDebrisColours), 60);
  EXPECT_EQ(countIn(after, burst, {29}), 0);
  EXPECT_EQ(findFloorTurret(after), turret);
  const Centre debris = centreOf(after, burst, kDebrisColours);
  EXPECT_NEAR(debris.x, (ship.x1 + ship.x2) / 2.0, 5);
  EXPECT_NEAR(debris.y, (ship.y1 + ship.y2) / 2.0, 5);

  // Escape after the ship's loss costs it: the same level again with two ships.
  EXPECT_TRUE(showsIntro(readShotIndices(folder + "/intro.idx"), 1, 2));

  // The 46 pictures take 12 MB; they stay only to look into a failure.
  if (!HasFailure()) std::filesystem::remove_all(folder);
}

}  // namespace
