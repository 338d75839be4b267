// The running level: time step, camera, flight state, ship and ball points,
// the destroyed, towed and leaving flags, and the turret parameters. Written
// by the level loop, the ship and the ball; read by the world each frame.
// World pixels: x to the right, y down, 2400 wide and wrapping; the cave lies
// below y 500. Time in units of 50 ms.
#pragma once

#include <cstdint>

// Rows 0..499 are sky: stars lie there, and nothing collides at or above row 500.
constexpr int kSkyRows = 500;
// Pixels per time unit, per time unit, downwards; on the ship and on a ball flying alone.
constexpr double kGravity = 0.1;

struct LevelState {
  float dt;              // time step of this frame; 0 while paused
  int frameMs;           // smoothed frame duration
  int cameraX, cameraY;  // world position of the view's top-left pixel
  float posX, posY;      // the flight point: ship centre, or ship-ball centre while towing
  float velX, velY;
  float angle;           // heading; the nose points along (-sin angle, cos angle), so pi is up
  float spin;            // turning build-up; process-wide, kept across levels
  float drag;            // this frame's velocity factor 1 / (dt / 40 + 1)
  int flightX, flightY;  // posX, posY rounded
  int shipX, shipY;      // where the ship is drawn and hit
  int shipDestroyed;
  int ballX, ballY;
  int ballTowed;
  int ballDestroyed;
  uint8_t craftColour;  // outline and ball; fades while leaving
  uint8_t leaving;
  float turretShotSpeed;
  int turretReloadRange;
};

extern LevelState levelState;

// After a screen shown in the middle of a level: dt and frameMs 0, so that the
// frame clock's smoothing brings the level back up to speed slowly.
void resumeFromStandstill();
