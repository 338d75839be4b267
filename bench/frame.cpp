// One whole frame of the level loop, from showFrame to the gates, presenting
// to the headless backend, on level 7, beside the yardstick of clearing and
// copying the frame: heavy (exhaust and debris), heavy with turrets and 50
// shots, and the worst case (every particle pool full). Each iteration starts from the same
// snapshot of the flight and the particle pools, so every measured frame is alike.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/level_loop.h"
#include "frame_baseline.h"
#include "input/controls.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "world/level_data.h"
#include "world/particles.h"
#include "world/shots.h"
#include "world/turrets.h"

namespace {

constexpr int kTrailSlots = 64;  // the live part of the exhaust pool behind a thrusting ship

struct Snapshot {
  LevelState level;
  LevelLoop loop;
  Particle debris[kDebrisSlots];
  Particle trail[kTrailSlots];
  Shot shots[kShotSlots];
  Turret turrets[kTurretSlots];
};

void startLevelSeven() {
  enterHeadlessVideo();
  headlessLoadScript("hold RSHIFT 999999999\n", nullptr);
  settings = Settings{1, 0, 1, 0, 0, 50};
  gameState = GameState{0, 3, 6, 0, 0};
  buildLevel(6, 1);
  startLevel();
}

void take(Snapshot* snapshot) {
  snapshot->level = levelState;
  snapshot->loop = levelLoop;
  std::memcpy(snapshot->debris, debris, sizeof debris);
  std::memcpy(snapshot->trail, exhaust, sizeof snapshot->trail);
  std::memcpy(snapshot->shots, shots, sizeof shots);
  std::memcpy(snapshot->turrets, turrets, sizeof turrets);
}

void restore(const Snapshot& snapshot) {
  levelState = snapshot.level;
  levelLoop = snapshot.loop;
  std::memcpy(debris, snapshot.debris, sizeof debris);
  std::memcpy(exhaust, snapshot.trail, sizeof snapshot.trail);
  std::memcpy(shots, snapshot.shots, sizeof shots);
  std::memcpy(turrets, snapshot.turrets, sizeof turrets);
}

void runFrames(benchmark::State& state, const Snapshot& snapshot) {
  for (auto _ : state) {
    restore(snapshot);
    runLevelFrame();
    benchmark::ClobberMemory();
  }
}

// The ship thrusting upwards through the cave with its exhaust trail, and
// the debris of three fresh explosions beside it.
void BM_HeavyFrame(benchmark::State& state) {
  startLevelSeven();
  for (int i = 0; i < 40; ++i) runLevelFrame();  // a trail builds up
  const LevelState& s = levelState;
  spawnExplosion(static_cast<float>(s.shipX - 40), static_cast<float>(s.shipY), 20);
  spawnExplosion(static_cast<float>(s.shipX - 30), static_cast<float>(s.shipY - 5), 20);
  spawnExplosion(static_cast<float>(s.shipX - 35), static_cast<float>(s.shipY + 5), 20);
  static Snapshot snapshot;
  take(&snapshot);
  runFrames(state, snapshot);
}
BENCHMARK(BM_HeavyFrame);

// The heavy frame with every turret of level 7 live and a full pool of 50
// shots in flight, each in an empty spot of the view so that it flies on.
void BM_HeavyFrameWithTurretsAndShots(benchmark::State& state) {
  startLevelSeven();
  for (int i = 0; i < 40; ++i) runLevelFrame();
  const LevelState& s = levelState;
  spawnExplosion(static_cast<float>(s.shipX - 40), static_cast<float>(s.shipY), 20);
  spawnExplosion(static_cast<float>(s.shipX - 30), static_cast<float>(s.shipY - 5), 20);
  spawnExplosion(static_cast<float>(s.shipX - 35), static_cast<float>(s.shipY + 5), 20);
  const unsigned char* shown = headlessScreen();
  int spawned = 0;
  for (int i = 0; i < 4000 && spawned < kShotSlots; ++i) {
    const int x = 20 + (i * 37) % 280, y = 20 + (i * 53) % 160;
    if (shown[y * kScreenWidth + x] != 0 || shown[y * kScreenWidth + x + 2] != 0) continue;
    spawnShot(static_cast<float>(s.cameraX + x), static_cast<float>(s.cameraY + y), 0.4f, 0.1f,
              30.0f);
    ++spawned;
  }
  if (spawned < kShotSlots) state.SkipWithError("no empty spots for 50 shots");
  static Snapshot snapshot;
  take(&snapshot);
  runFrames(state, snapshot);
}
BENCHMARK(BM_HeavyFrameWithTurretsAndShots);

// Every debris and exhaust record live and in view.
void BM_WorstCaseFrame(benchmark::State& state) {
  startLevelSeven();
  for (int i = 0; i < kDebrisSlots; ++i) {
    spawnDebris(static_cast<float>(levelState.cameraX + i % 320),
                static_cast<float>(levelState.cameraY + i % 200), 0.01f, 0.01f);
  }
  for (int i = 0; i < kExhaustSlots; ++i) {
    spawnExhaust(static_cast<float>(levelState.cameraX + (i * 7) % 320),
                 static_cast<float>(levelState.cameraY + (i * 3) % 200), 0.01f, 0.01f);
  }
  static Snapshot snapshot;
  take(&snapshot);
  static Particle fullExhaust[kExhaustSlots];
  std::memcpy(fullExhaust, exhaust, sizeof exhaust);
  for (auto _ : state) {
    restore(snapshot);
    std::memcpy(exhaust, fullExhaust, sizeof exhaust);
    runLevelFrame();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WorstCaseFrame);

}  // namespace
