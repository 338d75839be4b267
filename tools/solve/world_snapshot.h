// The whole world of a running level as one record: every process-wide record
// a level frame reads or writes, the state of random() and the headless
// backend's clock and keys. Taking one and putting it back lets a search play
// many futures from one moment with the game's own frame; a future played
// from a restored snapshot is the future the game itself would play.
#pragma once

#include "app/ball.h"
#include "app/level_loop.h"
#include "input/controls.h"
#include "platform/headless/headless.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "video/frame_buffer.h"
#include "world/gates.h"
#include "world/level_data.h"
#include "world/particles.h"
#include "world/shots.h"
#include "world/stars.h"
#include "world/turrets.h"

constexpr int kRandomStateBytes = 128;  // the size of glibc's default generator state

struct WorldSnapshot {
  LevelState level;
  LevelLoop loop;
  Ball ball;
  GameState game;
  Settings settings;
  Controls controls;
  FunctionKeyMemory functionKeys;
  float exhaustTimer;
  uint8_t fireLatch;
  int previousFrameMicros;
  int8_t effectChannel;
  uint8_t thrustSoundOn, shipThrusting;
  int lastBox, lastTurret;
  Box boxes[kBoxSlots];
  Gate gates[kGateSlots];
  Turret turrets[kTurretSlots];
  Shot shots[kShotSlots];
  Particle debris[kDebrisSlots];
  Particle exhaust[kExhaustSlots];
  Star stars[kStarCount];
  int exhaustInUse;  // exhaust records up to the last live one; the rest are free
  bool withPicture;
  FrameBuffer picture;  // drawn by the last frame, shown by the next
  HeadlessMoment headless;
  alignas(8) char randomState[kRandomStateBytes];
};

// Moves random() onto a state of our own, so that it can be saved and put
// back; the sequence goes on exactly as it would have. Call once, first.
void takeOverRandomState();
// The picture in the frame buffer is drawn by one frame and shown by the next;
// nothing of the game reads it back, so a search that never looks at the
// pictures may leave it out (and save the copying).
enum class Picture { kKept, kLeftOut };
void saveWorld(WorldSnapshot* snapshot, Picture picture = Picture::kKept);
void restoreWorld(const WorldSnapshot& snapshot);
