#include "scores/high_score_screens.h"

// Placeholders until the high score screens land.
void drawScoreTable() {}
void enterHighScoreName() {}
void sortScoreTable() {}
void showHighScores() {}
