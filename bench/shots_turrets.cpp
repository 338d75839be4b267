// The turrets' and shots' share of a heavy frame: every turret slot live in
// view and firing into a full pool of 50 shots in flight, each shot tested
// against every turret. Timed: updateTurrets, updateShots and drawTurrets;
// the tables are restored and the frame cleared outside the timed part.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <iterator>

#include "frame_baseline.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "world/shots.h"
#include "world/turrets.h"

namespace {

constexpr int kCameraX = 1040;
constexpr int kCameraY = 450;

Turret startTurrets[kTurretSlots];
Shot startShots[kShotSlots];

// Ceiling turrets in the top rows, floor turrets in the bottom rows, the flight
// point between them, so that every one of them fires; the shots fly in the
// free band in the middle, clear of the ship and of every turret's hit square.
void setUpHeavyFrame() {
  enterHeadlessVideo();
  makeCeilingSprite();
  levelState = LevelState{};
  levelState.cameraX = kCameraX;
  levelState.cameraY = kCameraY;
  levelState.dt = 0.6f;
  levelState.flightX = levelState.shipX = kCameraX + 160;
  levelState.flightY = levelState.shipY = kCameraY + 100;
  levelState.turretShotSpeed = 1.5f;
  levelState.turretReloadRange = 1500;
  gameState = GameState{};
  lastTurret = kTurretSlots - 1;
  for (int i = 0; i < kTurretSlots; ++i) {
    const int column = i % 20;
    const int row = i / 20;
    const bool ceiling = row < 3;
    const int screenY = ceiling ? row * 16 : 120 + (row - 3) * 16;
    startTurrets[i] = Turret{kCameraX + column * 16, kCameraY + screenY,
                             ceiling ? kCeilingTurret : kFloorTurret, 0};
  }
  for (int i = 0; i < kShotSlots; ++i) {
    startShots[i] = Shot{kCameraX + 10.0f + i * 6, kCameraY + 75.0f, 0.5f, 0.25f, 100};
  }
}

void BM_TurretsAndShotsHeavyFrame(benchmark::State& state) {
  setUpHeavyFrame();
  for (auto _ : state) {
    std::copy(std::begin(startTurrets), std::end(startTurrets), turrets);
    std::copy(std::begin(startShots), std::end(startShots), shots);
    clearFrame(0, kScreenHeight);
    const auto start = std::chrono::steady_clock::now();
    updateTurrets();
    updateShots();
    drawTurrets();
    const auto end = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(frameBuffer.pixels[0]);
    benchmark::ClobberMemory();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
}
BENCHMARK(BM_TurretsAndShotsHeavyFrame)->UseManualTime();

}  // namespace
