#include "world/shots.h"

Shot shots[kShotSlots];

// Placeholders until the shots land.
void resetShots() {}
void spawnShot(float, float, float, float, float) {}
void updateShots() {}
