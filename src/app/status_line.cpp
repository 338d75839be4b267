#include "app/status_line.h"

#include "state/game_state.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "video/text.h"

namespace {

constexpr uint8_t kStatusColour = 3;
constexpr float kScoreShownTime = 50.0f;
constexpr char kPausing[] = "P A U S I N G";

}  // namespace

void drawStatusLine(float* scoreShownTimer, int* lastScore) {
  if (gameState.score != *lastScore) *scoreShownTimer = kScoreShownTime;
  *lastScore = gameState.score;
  if (*scoreShownTimer > 0 || settings.statusLineFull == 1) {
    drawText(10, 10, kStatusColour, "SCORE:");
    drawNumber(60, 10, kStatusColour, gameState.score * 100);
    *scoreShownTimer -= levelState.dt;
  }
  if (settings.statusLineFull == 1) {
    drawText(10, 18, kStatusColour, "SHIPS:");
    drawNumber(60, 18, kStatusColour, gameState.ships);
    drawText(10, 26, kStatusColour, "LEVEL:");
    drawNumber(60, 26, kStatusColour, gameState.level + 1);
  }
}

// Four black copies around a grey one give the text an outline. Right after
// the help screen or the options menu frameMs is 0 and no rate can be given:
// the figure is left out for that frame.
void drawPauseDisplay() {
  drawText(138, 97, 0, kPausing);
  drawText(136, 95, 0, kPausing);
  drawText(136, 97, 0, kPausing);
  drawText(138, 95, 0, kPausing);
  drawText(137, 96, 7, kPausing);
  drawText(200, 10, 20, "FRAMERATE:");
  if (levelState.frameMs > 0) drawNumber(250, 10, 20, 1000 / levelState.frameMs);
}
