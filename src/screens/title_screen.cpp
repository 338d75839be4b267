#include "screens/title_screen.h"

#include <cstdint>

#include "input/controls.h"
#include "input/key_wait.h"
#include "screens/title_logo.h"
#include "sound/sound_effects.h"
#include "state/game_state.h"
#include "video/frame_buffer.h"
#include "video/palette.h"
#include "video/text.h"

namespace {

constexpr int kFullTurn = 565;  // units of 1/90 radian, a little short of 2 pi
constexpr int kLogoBandRows = 90;

// Entries 180..243 become a ramp from black to full red for the logo's shades.
void loadRedRamp() {
  for (int i = 0; i < 64; ++i) setPaletteEntry(180 + i, i, 0, 0);
}

// Drawn once below the logo band; the logo's frames never touch it.
void drawFixedText() {
  drawText(20, 130, 14, "LINUX/SVGA VERSION  JUN 1998");
  drawText(20, 140, 14, "CONTACT: KRAVIX PROJECT HOME - KRAVIX.ORG");
  drawText(20, 150, 14, "SOUND WITH SNDMIX LIBRARY BY THE KRAVIX TEAM");
  drawText(20, 165, 15, "A - TURN LEFT           SHIFT_RIGHT - THRUST            F1  - HELP");
  drawText(20, 175, 15, "S - TURN RIGHT          ENTER       - SHOOT             ESC - EXIT ");
  if (soundAvailable) drawText(20, 190, 14, "/DEV/DSP AUDIO DEVICE READY");
}

// A key still held from the screen before must not start or end anything here.
void waitForStartKeysUp() {
  waitForKeys([] { return !controls.fire && !controls.tag && !controls.escape; },
              FirstPoll::kAlways);
}

// Idle, the logo turns one unit a frame for ever. Each frame with Enter or
// Space held adds one to the speed; the screen then ends when the angle wraps.
void turnLogo() {
  uint32_t angle = 0;
  int speed = 1;
  bool waiting = true;
  while ((angle != 0 || waiting) && !controls.quickExit && !gameState.quitRequested) {
    pollControls();
    if (controls.escape) gameState.quitRequested = 1;  // this frame is still drawn
    drawTitleLogo(angle);
    showFrame(0, kLogoBandRows);
    angle += speed;
    if (controls.fire || controls.tag) {
      ++speed;
      waiting = false;
    }
    if (angle > kFullTurn - 1) angle = 0;
  }
}

}  // namespace

void runTitleScreen() {
  showFrame(0, kScreenHeight);
  showFrame(0, kScreenHeight);
  controls.fire = 0;
  loadRedRamp();
  drawFixedText();
  copyFrame();
  gameState.quitRequested = 0;
  waitForStartKeysUp();
  turnLogo();
}
