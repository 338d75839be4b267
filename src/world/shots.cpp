#include "world/shots.h"

#include "state/game_state.h"
#include "state/level_state.h"
#include "video/frame_buffer.h"
#include "world/particles.h"
#include "world/turrets.h"

Shot shots[kShotSlots];

namespace {

constexpr uint8_t kShotColour = 28;
constexpr int kTurretHitScore = 5;
constexpr int kTurretExplosionSize = 10;
constexpr int kShipHitReach = 4;
constexpr int kBallHitReach = 2;

void moveShot(Shot& shot) {
  shot.x += shot.vx * levelState.dt;
  shot.y += shot.vy * levelState.dt;
}

// A shot stops one pixel short of the view's edge and at any painted pixel:
// the terrain and the shots drawn before it in this pass.
bool shotBlocked(const Shot& shot) {
  const int sx = static_cast<int>((shot.x - levelState.cameraX) + 0.5);
  const int sy = static_cast<int>((shot.y - levelState.cameraY) + 0.5);
  if (sx < 1 || sx > kScreenWidth - 2 || sy < 1 || sy > kScreenHeight - 2) return true;
  return getPixel(sx, sy) != 0;
}

// The hit square is geometric and strict; the turret's image plays no part.
// The shot is not used up and may take several turrets in one frame.
void hitTurrets(const Shot& shot) {
  for (int i = 0; i <= lastTurret; ++i) {
    Turret& turret = turrets[i];
    if (turret.kind <= 0) continue;
    const float offsetX = shot.x - turret.x;
    const float offsetY = shot.y - turret.y;
    if (offsetX > 0 && offsetX < 15 && offsetY > 0 && offsetY < 15) {
      spawnExplosion(shot.x, shot.y, kTurretExplosionSize);
      turret.kind = 0;
      gameState.score += kTurretHitScore;
    }
  }
}

bool within(float x, float y, int pointX, int pointY, int reach) {
  const int dx = static_cast<int>(x - pointX);
  const int dy = static_cast<int>(y - pointY);
  return dx >= -reach && dx <= reach && dy >= -reach && dy <= reach;
}

void drawShot(const Shot& shot) {
  putPixel(static_cast<int>(shot.x + 0.5) - levelState.cameraX,
           static_cast<int>(shot.y + 0.5) - levelState.cameraY, kShotColour);
}

}  // namespace

void resetShots() {
  for (Shot& shot : shots) shot.life = 0;
}

void spawnShot(float x, float y, float vx, float vy, float life) {
  for (Shot& shot : shots) {
    if (shot.life <= 0) {
      shot = Shot{x, y, vx, vy, life};
      return;
    }
  }
}

// A shot that stops this frame still hits from its last position: the hit
// tests run for every record that was live when its turn came.
void updateShots() {
  for (Shot& shot : shots) {
    if (shot.life <= 0) continue;
    moveShot(shot);
    if (shotBlocked(shot)) shot.life = 0;
    shot.life -= levelState.dt;
    hitTurrets(shot);
    if (within(shot.x, shot.y, levelState.shipX, levelState.shipY, kShipHitReach)) {
      levelState.shipDestroyed = 1;
    }
    if (levelState.ballTowed &&
        within(shot.x, shot.y, levelState.ballX, levelState.ballY, kBallHitReach)) {
      levelState.ballDestroyed = 1;
    }
    if (shot.life > 0) drawShot(shot);
  }
}
