// One game: intro screens, levels, the outcome of each attempt, rounds of
// rising difficulty, and at the end the high score entry and table.
#pragma once

void runGame();
