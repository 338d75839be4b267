#include "app/ball.h"

#include <cmath>

#include "input/controls.h"
#include "state/angles.h"
#include "state/level_state.h"
#include "video/draw.h"
#include "video/frame_buffer.h"
#include "world/particles.h"

Ball ball;

namespace {

constexpr int kRodHalf = 10;
constexpr int kTagDistanceSquared = 400;  // 20 pixels, on squared integer distances
constexpr int kProbeReach = 4;
constexpr int kBallBlastSize = 25;
constexpr float kFallenOut = 4800;  // rows: twice the world's depth
constexpr uint8_t kStandColour = 7;
constexpr uint8_t kBallOnStandColour = 29;
constexpr uint8_t kTagLineColour = 25;

int squaredDistanceToShip() {
  const int dx = levelState.shipX - levelState.ballX, dy = levelState.shipY - levelState.ballY;
  return dx * dx + dy * dy;
}

// Below the sky line, any pixel drawn so far four pixels around the ball destroys it.
void probeBall() {
  const LevelState& s = levelState;
  if (s.ballY <= kSkyRows) return;
  const int bx = s.ballX - s.cameraX, by = s.ballY - s.cameraY;
  const int probes[4][2] = {
      {kProbeReach, 0}, {-kProbeReach, 0}, {0, kProbeReach}, {0, -kProbeReach}};
  for (const auto& probe : probes) {
    if (getPixel(bx + probe[0], by + probe[1]) != 0) levelState.ballDestroyed = 1;
  }
}

// The ship has pulled the tagged ball off its stand: the flight point moves
// to the rod's centre and the pair keeps half the ship's speed.
void takeHold() {
  LevelState& s = levelState;
  const int dx = s.shipX - s.ballX;
  int dy = s.shipY - s.ballY;
  ball.ballOnStand = 0;
  ball.tagging = 0;
  s.ballTowed = 1;
  if (dy == 0) dy = 1;
  ball.rodAngle = static_cast<float>(-atanl(static_cast<long double>(dx) / dy));
  if (dy > 0) ball.rodAngle -= kPi;
  s.posX -= kRodHalf * sine(ball.rodAngle);
  s.posY += kRodHalf * cosine(ball.rodAngle);
  s.velX /= 2;
  s.velY /= 2;
  ball.rodSpin = 0;
  ball.rodTorque = 0;
  ball.rodAxial = 0;
}

void drawTaggingLine() {
  const LevelState& s = levelState;
  drawLine(s.shipX - s.cameraX, s.shipY - s.cameraY, s.ballX - s.cameraX, s.ballY - s.cameraY,
           kTagLineColour);
  if (squaredDistanceToShip() > kTagDistanceSquared) takeHold();
}

}  // namespace

void placeBallOnStand() {
  ball.ballOnStand = 1;
  ball.tagging = 0;
  ball.ballExploded = 0;
  ball.rodSpin = 0;
  ball.rodTorque = 0;
  ball.rodAxial = 0;
  levelState.ballTowed = 0;
}

// Thrust across the rod turns the pair; gravity acts on the centre and never turns it.
void stepRod() {
  LevelState& s = levelState;
  const float thrusting = controls.thrust ? 1.0f : 0.0f;
  s.shipX += static_cast<int>(kRodHalf * sine(ball.rodAngle) + 0.5);
  s.shipY -= static_cast<int>(kRodHalf * cosine(ball.rodAngle) + 0.5);
  ball.rodSin = static_cast<float>(sine(ball.rodAngle));
  ball.rodCos = static_cast<float>(cosine(ball.rodAngle));
  while (ball.rodAngle < 0) ball.rodAngle += kTwoPi;
  while (ball.rodAngle > kTwoPi) ball.rodAngle -= kTwoPi;
  const float relative = s.angle - ball.rodAngle;
  ball.rodAngle -= ball.rodSpin * s.dt;
  ball.rodSpin = static_cast<float>(ball.rodSpin * std::exp(static_cast<double>(-s.dt / 200)) +
                                    (ball.rodTorque / 200) * s.dt);
  ball.rodTorque = static_cast<float>(thrusting * sine(relative));
  ball.rodAxial = static_cast<float>(thrusting * cosine(relative));
}

void placeTowedBall() {
  LevelState& s = levelState;
  if (!s.ballTowed || s.shipDestroyed) return;
  s.ballX = s.flightX - static_cast<int>(ball.rodSin * kRodHalf + 0.5);
  s.ballY = static_cast<int>(ball.rodCos * kRodHalf + 0.5) + s.flightY;
  probeBall();
}

void releaseBall() {
  const LevelState& s = levelState;
  if (!s.ballTowed) return;
  ball.freeX = static_cast<float>(s.ballX);
  ball.freeY = static_cast<float>(s.ballY);
  ball.freeVelX = static_cast<float>(s.velX - ball.rodSpin * cosine(-ball.rodAngle));
  ball.freeVelY = static_cast<float>(s.velY - ball.rodSpin * sine(-ball.rodAngle));
}

// Nothing stops a ball that falls out of the frozen view; once it is far
// below the world it stays there, so that its position stays a number.
void flyFreeBall() {
  LevelState& s = levelState;
  if (ball.ballOnStand || s.ballDestroyed || !s.shipDestroyed) return;
  if (ball.freeY > kFallenOut) return;
  ball.freeX += ball.freeVelX * s.dt;
  ball.freeY += ball.freeVelY * s.dt;
  ball.freeVelY += kGravity * s.dt;
  s.ballX = static_cast<int>(ball.freeX + 0.5);
  s.ballY = static_cast<int>(ball.freeY + 0.5);
  probeBall();
}

// The ship flies on alone from its own position, at its current speed.
void explodeBall() {
  LevelState& s = levelState;
  if (!s.ballDestroyed || ball.ballExploded) return;
  spawnExplosion(static_cast<float>(s.ballX), static_cast<float>(s.ballY), kBallBlastSize);
  if (s.ballTowed) {
    s.posX += kRodHalf * sine(ball.rodAngle);
    s.posY -= kRodHalf * cosine(ball.rodAngle);
  }
  s.ballTowed = 0;
  ball.ballExploded = 1;
}

void drawBall() {
  const LevelState& s = levelState;
  const int bx = s.ballX - s.cameraX, by = s.ballY - s.cameraY;
  if (ball.ballOnStand && bx > 10 && bx <= 309 && by > 10 && by <= 189) {
    drawLine(bx, by, bx + 6, by + 11, kStandColour);
    drawLine(bx, by, bx - 6, by + 11, kStandColour);
    drawCircle(bx, by, 3, kBallOnStandColour);
  }
  if (!ball.ballOnStand && !s.ballDestroyed) drawCircle(bx, by, 3, s.craftColour);
  if (s.ballTowed && !s.shipDestroyed) {
    drawLine(s.flightX - s.cameraX - static_cast<int>(ball.rodSin * kRodHalf + 0.5),
             s.flightY - s.cameraY + static_cast<int>(ball.rodCos * kRodHalf + 0.5),
             s.shipX - s.cameraX, s.shipY - s.cameraY,
             static_cast<uint8_t>(s.craftColour / 2 + 11));
  }
  if (ball.tagging) drawTaggingLine();
}

// Once made, the tag no longer needs Space.
void tagBall() {
  if (!ball.ballOnStand || !controls.tag || levelState.ballTowed) return;
  if (squaredDistanceToShip() < kTagDistanceSquared) ball.tagging = 1;
}
