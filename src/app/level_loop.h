// One attempt at a level: owns the frame from the intro screen's Enter until
// the ship has left through the sky, Escape, or F12. The caller reads the
// outcome from levelState.leaving and levelState.ballTowed.
// runLevel is startLevel, then runLevelFrame while levelRunning, then the
// thrust noise stops; the pieces are public so that tests and the frame
// benchmark can drive single frames.
#pragma once

#include <cstdint>

// The loop's own state for one attempt.
struct LevelLoop {
  uint8_t levelDone;  // the leave countdown has run out
  uint8_t paused;
  uint8_t lastPause;     // F2 as it was at the previous frame
  uint8_t optionsLatch;  // set when F4 opens the menu, cleared while F4 is up
  float gateClock;       // time units towards the next gate step
  float leaveTimer;
  float scoreShownTimer;  // time units the score stays on in the temporary status line
  int lastScore;
  int shipExploded;
};

extern LevelLoop levelLoop;

// F3, F5 and F6 as they were at the previous frame, kept from level to level.
struct FunctionKeyMemory {
  uint8_t screenshot, keyF5, keyF6;
};

extern FunctionKeyMemory lastFunctionKeys;

void runLevel();

void startLevel();
bool levelRunning();
void runLevelFrame();
