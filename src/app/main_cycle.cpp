#include "app/main_cycle.h"

#include <cstdlib>
#include <cstring>

#include "app/alarm_signal.h"
#include "app/game.h"
#include "app/game_state.h"
#include "app/standard_streams.h"
#include "input/controls.h"
#include "scores/score_file.h"
#include "scores/score_table.h"
#include "scores/starting_table.h"
#include "screens/settings.h"
#include "screens/title_screen.h"
#include "sound/sound_effects.h"
#include "video/palette.h"
#include "video/video_mode.h"
#include "world/turrets.h"

char scoreFilePath[kScoreFilePathSize];

namespace {

constexpr char kScoreFileName[] = "/.kravix.sco";

void startUp() {
  openClosedStandardStreams();
  installAlarmHandler();
  makeScoreFilePath(std::getenv("HOME"));
  settings.speakerOn = 0;
  settings.effectsOn = 1;
  setVideoMode();
  loadPalette(256, defaultPalette);
  makeCeilingSprite();
  startKeyboard();
  settings.mapOn = 0;
  settings.debrisOn = 1;
  settings.turnSpeed = 50;
  settings.statusLineFull = 0;
  resetScoreTable();
  gameState.quitRequested = 0;
  controls.quickExit = 0;
  loadStartingTable();
  startSound();
}

void shutDown() {
  stopSound();
  stopKeyboard();
  setTextMode();
}

}  // namespace

void makeScoreFilePath(const char* home) {
  scoreFilePath[0] = '\0';
  if (home == nullptr || home[0] == '\0') return;
  if (std::strlen(home) + std::strlen(kScoreFileName) >= kScoreFilePathSize) return;
  std::strcpy(scoreFilePath, home);
  std::strcat(scoreFilePath, kScoreFileName);
}

int kravixMain() {
  startUp();
  while (!gameState.quitRequested && !controls.quickExit) {
    runTitleScreen();
    if (!gameState.quitRequested) runGame();
    saveScoreFile();
  }
  shutDown();
  endIfAlarmed();  // an alarm during the shutdown still ends with status 1
  return 0;
}
