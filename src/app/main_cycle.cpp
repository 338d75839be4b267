#include "app/main_cycle.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/game.h"
#include "app/standard_streams.h"
#include "input/alarm_signal.h"
#include "input/controls.h"
#include "platform/script/demo_recorder.h"
#include "scores/score_file.h"
#include "scores/score_table.h"
#include "scores/starting_table.h"
#include "screens/title_screen.h"
#include "sound/sound_effects.h"
#include "state/game_state.h"
#include "state/settings.h"
#include "video/palette.h"
#include "video/video_mode.h"
#include "world/turrets.h"

namespace {

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

int kravixMainRecording(const char* program, const char* recordPath) {
  std::string error;
  if (recordPath && !startDemoRecording(recordPath, &error)) {
    std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    return 2;
  }
  const int status = kravixMain();
  finishDemoRecording();
  return status;
}
