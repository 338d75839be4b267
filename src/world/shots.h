// Every shot in flight, the ship's and the turrets' alike, in one pool of 50.
// Shots stop at painted pixels and one pixel short of the view's edge, destroy
// turrets (+5), and destroy the ship or a towed ball that they pass close to.
// The ship and the turrets spawn; the level loop resets the pool at each level
// run and updates it once per frame, after the terrain and before the turret
// images are drawn. A shot never remembers who fired it.
#pragma once

struct Shot {
  float x, y;
  float vx, vy;
  float life;  // free when 0 or less
};

constexpr int kShotSlots = 50;

extern Shot shots[kShotSlots];

void resetShots();
void spawnShot(float x, float y, float vx, float vy, float life);
void updateShots();
