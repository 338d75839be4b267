#include "world/turrets.h"

#include <cmath>
#include <cstdlib>

#include "sound/sound_effects.h"
#include "state/level_state.h"
#include "video/draw.h"
#include "video/frame_buffer.h"
#include "world/shots.h"

Turret turrets[kTurretSlots];
int lastTurret;

// clang-format off
const uint8_t floorTurretSprite[256] = {
   0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
   0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
   0,  0,  0, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24,  0,  0,  0,
   0,  0, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27,  0,  0,
   0, 30, 30, 27, 30, 27, 30, 27, 30, 27, 30, 27, 30, 27, 30,  0,
   0,  0, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27,  0,  0,
   0, 30, 27, 30, 27, 30, 27, 30, 27, 30, 27, 30, 27, 30, 30,  0,
   0,  0, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27,  0,  0,
  27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27,
  27, 24, 24, 24, 24, 27, 24, 24, 24, 24, 27, 24, 24, 24, 24, 27,
  27, 24, 26, 26, 26, 27, 24, 26, 26, 26, 27, 24, 26, 26, 26, 27,
  27, 24, 26, 26, 26, 27, 24, 26, 26, 26, 27, 24, 26, 26, 26, 27,
  27, 24, 26, 26, 26, 27, 24, 26, 26, 26, 27, 24, 26, 26, 26, 27,
  27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27,
   0,  0, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24,  0,  0,
   0,  0, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24,  0,  0,
};
// clang-format on

namespace {

uint8_t ceilingTurretSprite[256];

constexpr int kFirstReload = 10;    // tenths of a time unit, the shortest countdown
constexpr float kFloorRange = 200;  // pixels a floor turret's shot flies
constexpr float kCeilingRange = 120;

struct Point {
  int x, y;
};

// Floor turrets fire from just above their image, ceiling turrets from just below.
Point muzzleOf(const Turret& turret) {
  if (turret.kind == kFloorTurret) return {turret.x + 8, turret.y - 1};
  return {turret.x + 8, turret.y + 17};
}

// Only the image's top-left corner counts: a turret half in view does not fire.
bool cornerInView(const Turret& turret) {
  const int sx = turret.x - levelState.cameraX;
  const int sy = turret.y - levelState.cameraY;
  return sx >= 0 && sx <= kScreenWidth - 1 && sy >= 0 && sy <= kScreenHeight - 1;
}

// dy is the muzzle's row minus the flight point's: a floor turret fires only
// at a ship above it, a ceiling turret only at one below, so dy is never 0.
bool onOpenSide(const Turret& turret, int dy) {
  return turret.kind == kFloorTurret ? dy > 0 : dy < 0;
}

void fireAtFlightPoint(const Turret& turret, Point muzzle, int dx, int dy) {
  const float speed = levelState.turretShotSpeed;
  const float s = std::sqrt(dx * dx + dy * dy) / speed;
  const float range = turret.kind == kFloorTurret ? kFloorRange : kCeilingRange;
  spawnShot(muzzle.x, muzzle.y, -dx / s, -dy / s, range / speed);
  playEffect(kEffectTurretShot);  // heard even when the pool had no room
}

// A reload range of 0 (a difficulty of 1500 or more) would leave the modulo
// without a divisor; it is taken as 1, the shortest countdown every time.
int nextReload() {
  const int range = levelState.turretReloadRange > 0 ? levelState.turretReloadRange : 1;
  return static_cast<int>(random() % range) + kFirstReload;
}

void tryToFire(Turret& turret) {
  const Point muzzle = muzzleOf(turret);
  const int dx = muzzle.x - levelState.flightX;
  const int dy = muzzle.y - levelState.flightY;
  if (cornerInView(turret) && onOpenSide(turret, dy)) fireAtFlightPoint(turret, muzzle, dx, dy);
  turret.reload = nextReload();  // drawn afresh whether it fired or not
}

}  // namespace

void makeCeilingSprite() {
  for (int i = 0; i < 256; ++i) ceilingTurretSprite[i] = floorTurretSprite[255 - i];
}

void updateTurrets() {
  const int ticks = static_cast<int>(levelState.dt * 10 + 0.5);
  for (int i = 0; i <= lastTurret; ++i) {
    Turret& turret = turrets[i];
    if (turret.kind != kFloorTurret && turret.kind != kCeilingTurret) continue;
    turret.reload -= ticks;
    if (turret.reload >= 0) continue;
    tryToFire(turret);
  }
}

void drawTurrets() {
  for (int i = 0; i <= lastTurret; ++i) {
    const Turret& turret = turrets[i];
    const int sx = turret.x - levelState.cameraX;
    const int sy = turret.y - levelState.cameraY;
    if (turret.kind == kFloorTurret) drawSprite16(sx, sy, floorTurretSprite);
    if (turret.kind == kCeilingTurret) drawSprite16(sx, sy, ceilingTurretSprite);
  }
}
