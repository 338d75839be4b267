#include "scores/score_file.h"

// Placeholders until the score file lands.
void loadScoreFile() {}
void saveScoreFile() {}
