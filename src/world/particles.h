// Single-pixel decoration: explosion debris and thrust exhaust, each a fixed
// pool whose spawn takes the first free record and drops the particle when
// none is free. Drawn after every pixel test of the frame, so never solid.
#pragma once

#include <cstdint>

struct Particle {
  float x, y;
  float vx, vy;
  float life;  // free when 0 or less
};

constexpr int kDebrisSlots = 201;
constexpr int kExhaustSlots = 2001;

extern Particle debris[kDebrisSlots];
extern Particle exhaust[kExhaustSlots];

void resetDebris();
void resetExhaust();
void spawnExplosion(float x, float y, int size);
void spawnDebris(float x, float y, float vx, float vy);
void spawnExhaust(float x, float y, float vx, float vy);
void updateDebris();
void updateExhaust();
