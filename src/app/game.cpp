#include "app/game.h"

#include <cstdint>

#include "app/level_loop.h"
#include "input/controls.h"
#include "input/key_wait.h"
#include "platform/demo.h"
#include "scores/high_score_screens.h"
#include "scores/score_table.h"
#include "sound/sound_effects.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "video/frame_buffer.h"
#include "video/text.h"
#include "world/level_data.h"

namespace {

constexpr uint8_t kIntroColour = 45;
constexpr int kShipsAtStart = 3;
constexpr int kLastLevel = 7;
constexpr int kLevelBonus = 20;  // 2000 points
constexpr int kLastVisibleRow = 19;

// An Escape still held from the level before does not end the game.
void waitForEscapeRelease() {
  waitForKeys([] { return !controls.escape || controls.quickExit; }, FirstPoll::kOnlyIfWaiting);
}

void waitForStart() {
  waitForKeys([] { return controls.fire || controls.escape || controls.quickExit; },
              FirstPoll::kOnlyIfWaiting);
}

void playAttempt(GameMarks* marks) {
  showFrame(0, kScreenHeight);  // whatever the last screen left, once more
  drawIntro(*marks);
  showFrame(0, kScreenHeight);
  controls.fire = 0;
  loadLevel(gameState.level, marks->loadTurrets);
  waitForEscapeRelease();
  waitForStart();
  if (controls.escape) marks->escapePressed = 1;
  if (marks->escapePressed) return;
  runLevel();
  markDemoLevelEnd();
  applyOutcome(marks);
}

void finishGame() {
  silenceThrust();
  if (highScores[kLastVisibleRow] < static_cast<uint32_t>(gameState.score)) enterHighScoreName();
  sortScoreTable();
  showHighScores();
}

}  // namespace

void loadLevel(int level, int loadTurrets) {
  if (buildLevel(level, loadTurrets)) return;
  drawText(100, 20, 3, "MAX BOXCOUNT REACHED !");
  copyFrame();
  waitForKeys([] { return controls.fire || controls.quickExit; }, FirstPoll::kAlways);
}

void runGame() {
  gameState.level = 0;
  gameState.ships = kShipsAtStart;
  gameState.score = 0;
  gameState.difficulty = 0;
  GameMarks marks{0, 1, 0};
  while (gameState.ships > 0 && !marks.escapePressed && !controls.quickExit) playAttempt(&marks);
  finishGame();
}

void applyOutcome(GameMarks* marks) {
  gameState.ships -= 1;
  marks->lastLevelReached = 0;
  marks->loadTurrets = 0;
  if (!levelState.leaving) return;  // Escape or F12: the ship stays lost
  gameState.ships += 1;
  if (!levelState.ballTowed) return;  // out without the ball: the same level again
  gameState.level += 1;
  gameState.score += kLevelBonus;
  marks->loadTurrets = 1;
  if (gameState.level > kLastLevel) {
    gameState.level = 0;
    gameState.difficulty += 1;
    marks->lastLevelReached = 1;
  }
}

void drawIntro(const GameMarks& marks) {
  if (gameState.difficulty > 0) {
    drawText(120, 100, kIntroColour, "DIFFICULTY:");
    drawNumber(170, 100, kIntroColour, gameState.difficulty + 1);
  }
  drawText(120, 90, kIntroColour, "LEVEL:");
  drawNumber(170, 90, kIntroColour, gameState.level + 1);
  drawText(120, 110, kIntroColour, "SHIPS:");
  drawNumber(170, 110, kIntroColour, gameState.ships);
  for (int i = 1; i <= gameState.ships; ++i) drawText(200 + 10 * i, 110, kIntroColour, "*");
  if (marks.lastLevelReached) {
    drawText(20, 170, kIntroColour, "                   LAST LEVEL REACHED");
    drawText(20, 180, kIntroColour, "        SETTING LEVEL TO 1 --- INCREASING DIFFICULTY");
  }
}
