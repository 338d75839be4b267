// The world tests' shared helpers: a level table of the test's own swapped in
// for one scope, and an empty level seen from the ship's start.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "app/game_state.h"
#include "app/level_state.h"
#include "support/test_support.h"
#include "world/level_data.h"
#include "world/particles.h"
#include "world/shots.h"
#include "world/turrets.h"

struct SwappedLevelTable {
  SwappedLevelTable(int level, std::vector<int32_t> table)
      : level(level), words(std::move(table)), saved(levelTables[level]) {
    levelTables[level] = LevelTable{words.data(), static_cast<int32_t>(words.size())};
  }
  ~SwappedLevelTable() { levelTables[level] = saved; }
  SwappedLevelTable(const SwappedLevelTable&) = delete;
  SwappedLevelTable& operator=(const SwappedLevelTable&) = delete;

  int level;
  std::vector<int32_t> words;
  LevelTable saved;
};

constexpr int kCameraX = 1040, kCameraY = 450;  // the view centred on the ship's start

// No turrets, shots or debris; the ship and the ball far outside the view; one time unit a frame.
class EmptyView : public testing::Test {
 protected:
  void SetUp() override {
    startHeadlessVideo();
    levelState = LevelState{};
    levelState.cameraX = kCameraX;
    levelState.cameraY = kCameraY;
    levelState.dt = levelState.drag = 1.0f;
    levelState.shipX = levelState.shipY = levelState.ballX = levelState.ballY = -1000;
    gameState = GameState{};
    lastTurret = -1;
    resetShots();
    resetDebris();
  }
  // A turret whose image has its top-left corner at screen position (sx, sy).
  static Turret& addTurret(int sx, int sy, int kind = kFloorTurret, int reload = 0) {
    turrets[++lastTurret] = Turret{kCameraX + sx, kCameraY + sy, kind, reload};
    return turrets[lastTurret];
  }
  static int live(const auto& pool) {
    int count = 0;
    for (const auto& record : pool) count += record.life > 0;
    return count;
  }
};
