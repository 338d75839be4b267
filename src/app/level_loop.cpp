#include "app/level_loop.h"

#include "app/ball.h"
#include "app/frame_timing.h"
#include "app/ship.h"
#include "app/status_line.h"
#include "input/controls.h"
#include "screens/help_screen.h"
#include "screens/options_menu.h"
#include "screens/screenshot.h"
#include "sound/sound_effects.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "video/draw.h"
#include "video/frame_buffer.h"
#include "video/palette.h"
#include "world/gates.h"
#include "world/particles.h"
#include "world/ship_outline.h"
#include "world/shots.h"
#include "world/stars.h"
#include "world/terrain.h"
#include "world/turrets.h"

LevelLoop levelLoop;
FunctionKeyMemory lastFunctionKeys;

namespace {

constexpr uint8_t kCraftColour = 29;
constexpr int kLeaveRow = 249;   // the view's top at or above this row starts the leave countdown
constexpr int kLeaveCount = 40;  // the countdown ends when it passes this
constexpr double kLeaveRate = 1.5;  // countdown steps per time unit
constexpr int kShipBlastSize = 20;

// Frame steps 4-6: the help screen while F1 is down, the pause, the options menu once per F4 press.
void openScreens() {
  if (controls.help) runHelpScreen();
  if (levelLoop.paused) levelState.dt = 0;
  if (!controls.options) levelLoop.optionsLatch = 0;
  if (controls.options && !levelLoop.optionsLatch) {
    levelLoop.optionsLatch = 1;
    runOptionsMenu();
  }
}

// Frame step 9: three bursts around the ship, once; the wreck stops where it
// is, and a towed ball flies on with its own speed.
void explodeShip() {
  if (!levelState.shipDestroyed || levelLoop.shipExploded) return;
  LevelState& s = levelState;
  levelLoop.shipExploded = 1;
  releaseBall();
  spawnExplosion(static_cast<float>(s.shipX - 5), static_cast<float>(s.shipY), kShipBlastSize);
  spawnExplosion(static_cast<float>(s.shipX + 5), static_cast<float>(s.shipY - 5), kShipBlastSize);
  spawnExplosion(static_cast<float>(s.shipX), static_cast<float>(s.shipY + 5), kShipBlastSize);
  s.velX = s.velY = 0;
}

void drawShipOutline() {
  const LevelState& s = levelState;
  if (!s.shipDestroyed) drawShip(s.shipX - s.cameraX, s.shipY - s.cameraY, s.angle);
}

// Frame step 21: the view's top above row 250 starts the countdown; from the
// next frame on, rings grow round the flight point and the craft fades.
void runLeaveCountdown() {
  LevelState& s = levelState;
  if (!s.leaving) {
    if (s.cameraY <= kLeaveRow) s.leaving = 1;
    return;
  }
  levelLoop.leaveTimer += kLeaveRate * s.dt;
  const int n = static_cast<int>(levelLoop.leaveTimer + 0.5);
  if (n > kLeaveCount) levelLoop.levelDone = 1;
  const int cx = s.flightX - s.cameraX, cy = s.flightY - s.cameraY;
  drawCircle(cx, cy, n / 4, 26);
  drawCircle(cx, cy, n / 3, 24);
  drawCircle(cx, cy, n / 2, 22);
  drawCircle(cx, cy, n, 26);
  s.craftColour = static_cast<uint8_t>(kCraftColour - n / 3);
}

// Frame steps 23-24: F3 saves the frame drawn so far, F6 switches the
// exhaust, F5 the map; each acts once per press.
void switchKeys() {
  FunctionKeyMemory& last = lastFunctionKeys;
  if (controls.screenshot && !last.screenshot) saveScreenshot();
  last.screenshot = controls.screenshot;
  if (controls.keyF6 && !last.keyF6) settings.debrisOn = 1 - settings.debrisOn;
  last.keyF6 = controls.keyF6;
  if (controls.keyF5 && !last.keyF5) settings.mapOn = 1 - settings.mapOn;
  last.keyF5 = controls.keyF5;
}

// Frame step 26: F2 switches the pause once per press.
void pauseStep() {
  if (controls.pause && !levelLoop.lastPause) levelLoop.paused = 1 - levelLoop.paused;
  levelLoop.lastPause = controls.pause;
  if (levelLoop.paused) drawPauseDisplay();
}

// The thrust sound stops with the level.
void endLevel() {
  silenceThrust();
}

}  // namespace

// Level start, in its order: nothing of the attempt before carries over
// but spin, the remembered F3/F5/F6 and the turrets that buildLevel kept.
void startLevel() {
  LevelState& s = levelState;
  levelLoop = LevelLoop{};  // latches, pause, clocks and marks clear
  placeShipAtStart();       // at rest under the sky, nose up; fire latch and exhaust timer clear
  placeBallOnStand();
  s.turretShotSpeed = static_cast<float>(gameState.difficulty * 0.5 + 1.5);
  s.turretReloadRange = 1500 / (gameState.difficulty + 1);
  s.shipDestroyed = 0;
  s.ballDestroyed = 0;
  s.leaving = 0;
  s.craftColour = kCraftColour;
  levelLoop.scoreShownTimer = -1.0f;
  levelLoop.lastScore = gameState.score;  // a score held from before is not news
  resetExhaust();
  makeStars();
  resetShots();
  resetDebris();
  clearOneShotControls();
  s.frameMs = 30;
  showFrame(0, kScreenHeight);  // screen and buffer blank
  showFrame(0, kScreenHeight);
  loadPalette(256, defaultPalette);  // undoes the title screen's colours
  startFrameClock();
}

bool levelRunning() {
  return !controls.escape && !levelLoop.levelDone && !controls.quickExit;
}

// The road of one frame. Whatever is drawn before drawShip is solid for the
// ship; what comes after it is decoration.
void runLevelFrame() {
  LevelState& s = levelState;
  // clang-format off
  pollControls();                                 // 1. the keys
  showFrame(0, kScreenHeight);                    // 2. last frame on screen, buffer cleared
  measureFrameTime();                             // 3. frameMs and dt
  openScreens();                                  // 4-6. help, pause, options
  if (!s.shipDestroyed && !controls.quickExit) {
    stepShip();                                   // 7. flight, camera, sound, exhaust
  }
  drawTerrain();                                  // 8. rock and gates
  explodeShip();                                  // 9. the ship's explosion, once
  flyFreeBall();                                  //    a ball freed by it flies on
  updateTurrets();                                // 10. turrets, shots, turret images
  updateShots();
  drawTurrets();
  fireGun();                                      // 11. the gun
  placeTowedBall();                               // 12. the towed ball and its probe
  if (s.cameraY < kSkyRows) drawStars();         // 13. the sky
  explodeBall();                                  // 14. the ball's explosion, once
  drawShipOutline();                              // 15. outline and contact test
  if (settings.debrisOn) updateExhaust();         // 16. exhaust
  updateDebris();                                 // 17. debris
  drawBall();                                     // 18. stand, ball, rod, tag line, hold
  if (settings.mapOn) drawMap();                  // 19. the map
  tagBall();                                      // 20. the tag
  runLeaveCountdown();                            // 21. leaving through the sky
  drawStatusLine(&levelLoop.scoreShownTimer,      // 22. the status line
                 &levelLoop.lastScore);
  switchKeys();                                   // 23-24. F3, F6, F5
  advanceGates(&levelLoop.gateClock, s.dt);       // 25. the gates
  pauseStep();                                    // 26. F2 and the pause display
  // clang-format on
}

void runLevel() {
  startLevel();
  while (levelRunning()) runLevelFrame();
  endLevel();
}
