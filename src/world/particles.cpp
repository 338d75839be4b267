#include "world/particles.h"

#include <cstdlib>

#include "sound/sound_effects.h"
#include "state/level_state.h"
#include "video/frame_buffer.h"

Particle debris[kDebrisSlots];
Particle exhaust[kExhaustSlots];

namespace {

// Indexed by whole units of life left: a particle steps backwards through
// the table, white, yellows, oranges, reds, dark red, then white again.
const uint8_t debrisColours[10] = {184, 112, 113, 40, 41, 42, 43, 44, 14, 15};

constexpr float kExhaustLife = 18;
constexpr int kExhaustBaseColour = 16;  // colour = life rounded + 16: 34 at birth, 16 at the end
constexpr double kDebrisAgeing = 0.3;
constexpr double kExhaustAgeing = 0.7;

// A speed in -1.5 .. 1.49 in steps of 0.01.
float randomDebrisSpeed() {
  return static_cast<float>((random() % 300) / 100.0 - 1.5);
}

// An offset in -5 .. +4 pixels.
float randomDebrisOffset() {
  return static_cast<float>(random() % 10 - 5);
}

Particle* firstFree(Particle* pool, int slots) {
  for (int i = 0; i < slots; ++i) {
    if (pool[i].life <= 0) return &pool[i];
  }
  return nullptr;
}

bool outsideView(float screenX, float screenY) {
  return screenX < 0 || screenY < 0 || screenX > kScreenWidth - 1 || screenY > kScreenHeight - 1;
}

}  // namespace

void resetDebris() {
  for (Particle& particle : debris) particle.life = -1;
}

void resetExhaust() {
  for (Particle& particle : exhaust) particle.life = -1;
}

void spawnExplosion(float x, float y, int size) {
  playEffect(kEffectExplosion);
  for (int i = 0; i < 4 * size + 1; ++i) {
    // Four draws in this order: vertical speed, horizontal speed, row, column.
    const float vy = randomDebrisSpeed();
    const float vx = randomDebrisSpeed();
    const float row = y + randomDebrisOffset();
    const float column = x + randomDebrisOffset();
    spawnDebris(column, row, vx, vy);
  }
}

void spawnDebris(float x, float y, float vx, float vy) {
  Particle* particle = firstFree(debris, kDebrisSlots);
  if (particle == nullptr) return;
  particle->life = static_cast<float>(3 + random() % 20);
  particle->x = x;
  particle->y = y;
  particle->vx = vx;
  particle->vy = vy;
}

void spawnExhaust(float x, float y, float vx, float vy) {
  Particle* particle = firstFree(exhaust, kExhaustSlots);
  if (particle == nullptr) return;
  *particle = Particle{x, y, vx, vy, kExhaustLife};
}

// Debris moves first, then slows, then is drawn or freed at the view's edge.
void updateDebris() {
  const float dt = levelState.dt, drag = levelState.drag;
  const int cameraX = levelState.cameraX, cameraY = levelState.cameraY;
  for (Particle& particle : debris) {
    if (particle.life <= 0) continue;
    particle.x += particle.vx * dt;
    particle.y += particle.vy * dt;
    particle.vx *= drag;
    particle.vy *= drag;
    if (outsideView(particle.x - cameraX, particle.y - cameraY)) {
      particle.life = 0;
      continue;
    }
    putPixel(static_cast<int>(particle.x + 0.5) - cameraX,
             static_cast<int>(particle.y + 0.5) - cameraY,
             debrisColours[static_cast<int>(particle.life) % 10]);
    particle.life -= kDebrisAgeing * dt;
  }
}

// Exhaust is drawn where it is, then moves; it keeps its speed.
void updateExhaust() {
  const float dt = levelState.dt;
  const int cameraX = levelState.cameraX, cameraY = levelState.cameraY;
  for (Particle& particle : exhaust) {
    if (particle.life <= 0) continue;
    const int sx = static_cast<int>(particle.x + 0.5) - cameraX;
    const int sy = static_cast<int>(particle.y + 0.5) - cameraY;
    if (sx < 0 || sx > kScreenWidth - 1 || sy < 0 || sy > kScreenHeight - 1) {
      particle.life = 0;
    } else {
      putPixel(sx, sy,
               static_cast<uint8_t>(static_cast<int>(particle.life + 0.5) + kExhaustBaseColour));
    }
    particle.x += particle.vx * dt;
    particle.y += particle.vy * dt;
    particle.life -= kExhaustAgeing * dt;
  }
}
