#include "world/particles.h"

Particle debris[kDebrisSlots];
Particle exhaust[kExhaustSlots];
const uint8_t debrisColours[10] = {184, 112, 113, 40, 41, 42, 43, 44, 14, 15};

// Placeholders until the particles land.
void resetDebris() {}
void resetExhaust() {}
void spawnExplosion(float, float, int) {}
void spawnDebris(float, float, float, float) {}
void spawnExhaust(float, float, float, float) {}
void updateDebris() {}
void updateExhaust() {}
