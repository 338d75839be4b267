#include "screens/title_screen.h"

#include "app/game_state.h"
#include "input/controls.h"
#include "video/frame_buffer.h"
#include "video/text.h"

// Placeholder title frame until the real title screen lands:
// Enter starts a game, Escape quits, F12 leaves at once.
void runTitleScreen() {
  gameState.quitRequested = 0;
  do {
    pollControls();
  } while (controls.fire && !controls.quickExit);
  while (!controls.quickExit && !gameState.quitRequested) {
    drawText(148, 90, 14, "KRAVIX");
    drawText(96, 110, 15, "ENTER - PLAY      ESC - EXIT");
    showFrame(0, 200);
    pollControls();
    if (controls.escape) gameState.quitRequested = 1;
    if (controls.fire) return;
  }
}
