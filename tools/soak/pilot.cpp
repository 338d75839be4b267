#include "pilot.h"

#include <algorithm>
#include <cmath>

#include "app/ball.h"
#include "app/level_state.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kGravity = 0.1;
constexpr double kFreeThrust = 1.0 / 3.0;
constexpr double kTowThrust = 0.15;  // between the rod across (0.1) and along (0.2)
constexpr int kWorldWidth = 2400;
constexpr int kHoverAboveBall = 18;

double thrustCredit;  // thrust is held on the share of polls the needed push asks for

double wrapAngle(double a) {
  while (a > kPi) a -= 2 * kPi;
  while (a < -kPi) a += 2 * kPi;
  return a;
}

double wrapDistance(double d) {
  while (d > kWorldWidth / 2) d -= kWorldWidth;
  while (d < -kWorldWidth / 2) d += kWorldWidth;
  return d;
}

// Steers towards a wanted velocity: turns the nose along the push that the
// velocity change and gravity need, and thrusts when the nose is near it.
PilotKeys chase(double wantVelX, double wantVelY, double power) {
  const LevelState& s = levelState;
  const double pushX = (wantVelX - s.velX) * 0.3;
  const double pushY = (wantVelY - s.velY) * 0.3 - kGravity;
  const double wantAngle = std::atan2(-pushX, pushY);  // the nose is (-sin a, cos a)
  const double error = wrapAngle(wantAngle - s.angle);
  PilotKeys keys{};
  keys.right = error > 0.12;
  keys.left = error < -0.12;
  if (std::fabs(error) < 0.6) {
    thrustCredit += std::min(1.0, std::hypot(pushX, pushY) / power);
    if (thrustCredit >= 1) {
      keys.thrust = true;
      thrustCredit -= 1;
    }
  }
  return keys;
}

}  // namespace

void startPilot() {
  thrustCredit = 0;
}

PilotKeys pilotKeys() {
  const LevelState& s = levelState;
  if (s.ballTowed || s.leaving) return chase(0, -1.5, kTowThrust);
  if (ball.tagging) {
    PilotKeys keys = chase(0, -1.0, kFreeThrust);
    keys.tag = true;
    return keys;
  }
  const double gapX = wrapDistance(s.ballX - s.posX);
  const double gapY = s.ballY - kHoverAboveBall - s.posY;
  const double wantVelX = std::clamp(gapX * 0.06, -2.5, 2.5);
  const double wantVelY = std::clamp(gapY * 0.06, -2.0, 1.5);
  PilotKeys keys = chase(wantVelX, wantVelY, kFreeThrust);
  const int dx = s.shipX - s.ballX, dy = s.shipY - s.ballY;
  keys.tag = ball.ballOnStand && dx * dx + dy * dy < 400;
  return keys;
}
