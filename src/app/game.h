// One game: intro screens, levels, the outcome of each attempt, rounds of
// rising difficulty, and at the end the high score entry and table. Called
// by the main cycle; it starts GameState for each game and keeps its ships,
// level and difficulty. The outcome rule and the intro drawing are public so
// that tests can take them one at a time.
#pragma once

#include <cstdint>

// State of one game besides GameState.
struct GameMarks {
  uint8_t lastLevelReached;  // a round was just completed
  int loadTurrets;           // the next build loads the level's turrets anew
  uint8_t escapePressed;     // Escape on an intro ends the game
};

void runGame();

// buildLevel; a table with no terminator within the box table also shows
// "MAX BOXCOUNT REACHED !" and waits for Enter (or F12, which ends every loop).
void loadLevel(int level, int loadTurrets);

// After each attempt: every attempt costs a ship; leaving through the sky
// gives it back, and leaving with the ball moves the game on by a level.
void applyOutcome(GameMarks* marks);
void drawIntro(const GameMarks& marks);
