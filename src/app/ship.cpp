#include "app/ship.h"

#include <cmath>
#include <cstdlib>

#include "app/ball.h"
#include "input/controls.h"
#include "sound/sound_effects.h"
#include "state/angles.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "world/particles.h"
#include "world/shots.h"

float exhaustTimer;
uint8_t fireLatch;

namespace {

constexpr float kStartX = 1200.0f, kStartY = 550.0f;
constexpr float kFreeThrust = 0.33333334f;  // pixels per time unit, per time unit
constexpr int kViewHalfWidth = 160, kViewHalfHeight = 100;
constexpr int kWrapDistance = 2080;  // world width 2400 less the view's 320
constexpr double kMuzzleOffset = 12;
constexpr double kShotSpeed = 6;
constexpr float kShotLife = 30.0f;
constexpr float kExhaustPeriod = 1.0f;

// Turning: A wins over S; the turn grows while a key is held and is capped after the turn.
void steer() {
  const float k = static_cast<float>(settings.turnSpeed / 50.0);
  const float turnRate = static_cast<float>(k * 0.2);
  const float spinGrowth = static_cast<float>(k * 0.3);
  const float spinCap = static_cast<float>(k * 1.5);
  LevelState& s = levelState;
  if (controls.turnLeft) {
    s.angle -= s.dt * turnRate * s.spin;
    s.spin += spinGrowth * s.dt;
  } else if (controls.turnRight) {
    s.angle += s.dt * turnRate * s.spin;
    s.spin += spinGrowth * s.dt;
  } else {
    s.spin = 0.4f;
  }
  if (s.angle < 0) s.angle += kTwoPi;
  if (s.angle > kTwoPi) s.angle -= kTwoPi;
  if (s.spin > spinCap) s.spin = spinCap;
}

// While towing, the thrust depends on how well the nose lines up with the
// rod: from 0.1 across it to 0.2 along it.
float thrustPower() {
  if (levelState.ballTowed) {
    return static_cast<float>((std::fabs(static_cast<double>(ball.rodAxial)) + 1) / 10);
  }
  return kFreeThrust;
}

void move(float power) {
  LevelState& s = levelState;
  const float thrusting = controls.thrust ? 1.0f : 0.0f;
  s.drag = 1 / (s.dt / 40 + 1);
  s.posX += s.velX * s.dt;
  s.posY += s.velY * s.dt;
  s.flightX = static_cast<int>(s.posX + 0.5);
  s.flightY = static_cast<int>(s.posY + 0.5);
  s.velX *= s.drag;
  s.velY *= s.drag;
  s.velX -= sine(s.angle) * thrusting * power * s.dt;
  s.velY += cosine(s.angle) * thrusting * power * s.dt + kGravity * s.dt;
}

// The camera closes a fifth of the x gap and a third of the y gap per time
// unit; gaps under 5 (x) or 3 (y) pixels leave it where it is.
void followCamera() {
  LevelState& s = levelState;
  const int stepX = static_cast<int>((s.cameraX - s.flightX + kViewHalfWidth) / 5.0);
  const int stepY = static_cast<int>((s.cameraY - s.flightY + kViewHalfHeight) / 3.0);
  s.cameraX -= static_cast<int>(stepX * s.dt + 0.5);
  s.cameraY -= static_cast<int>(stepY * s.dt + 0.5);
}

// Columns 2080..2399 repeat columns 0..319, so the jump does not show.
void wrapWorld() {
  LevelState& s = levelState;
  if (s.cameraX < 0) {
    s.posX += kWrapDistance;
    s.flightX += kWrapDistance;
    s.cameraX += kWrapDistance;
  }
  if (s.cameraX > kWrapDistance) {
    s.posX -= kWrapDistance;
    s.flightX -= kWrapDistance;
    s.cameraX -= kWrapDistance;
  }
}

// One particle straight back from the tail, one slower by a random factor per axis.
void emitExhaust() {
  LevelState& s = levelState;
  exhaustTimer -= s.dt;
  if (exhaustTimer >= 0) return;
  exhaustTimer = kExhaustPeriod;
  const float x = static_cast<float>(s.shipX + kMuzzleOffset * sine(s.angle));
  const float y = static_cast<float>(s.shipY - kMuzzleOffset * cosine(s.angle));
  long r = random();
  float a = static_cast<float>(s.angle + (r % 100) / 100.0 - 0.5);
  spawnExhaust(x, y, static_cast<float>(s.velX + sine(a)), static_cast<float>(s.velY - cosine(a)));
  r = random();
  a = static_cast<float>(s.angle + (r % 100) / 100.0 - 0.5);
  const long r2 = random();
  const long r3 = random();
  spawnExhaust(x, y, static_cast<float>(s.velX + sine(a) * (r3 % 100) / 100),
               static_cast<float>(s.velY - cosine(a) * (r2 % 100) / 100));
}

}  // namespace

void placeShipAtStart() {
  LevelState& s = levelState;
  s.posX = kStartX;
  s.posY = kStartY;
  s.velX = s.velY = 0;
  s.cameraX = static_cast<int>(s.posX - kViewHalfWidth + 0.5);
  s.cameraY = static_cast<int>(s.posY - kViewHalfHeight + 0.5);
  s.angle = kPi;
  exhaustTimer = 0;
  fireLatch = 0;
}

void stepShip() {
  steer();
  move(thrustPower());
  followCamera();
  wrapWorld();
  levelState.shipX = levelState.flightX;
  levelState.shipY = levelState.flightY;
  if (levelState.ballTowed) stepRod();
  shipThrusting = controls.thrust ? 1 : 0;
  updateThrustSound();
  if (controls.thrust && settings.debrisOn) emitExhaust();
}

void fireGun() {
  LevelState& s = levelState;
  if (!controls.fire) fireLatch = 0;
  if (!controls.fire || s.shipDestroyed || fireLatch) return;
  playEffect(kEffectShipShot);
  fireLatch = 1;
  spawnShot(static_cast<float>(s.shipX - kMuzzleOffset * sine(s.angle)),
            static_cast<float>(s.shipY + kMuzzleOffset * cosine(s.angle)),
            static_cast<float>(s.velX - kShotSpeed * sine(s.angle)),
            static_cast<float>(s.velY + kShotSpeed * cosine(s.angle)), kShotLife);
}
