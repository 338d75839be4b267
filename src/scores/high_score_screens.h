// The end of a game: the name entry for a score that beats row 19, the
// sort of the table, and the table shown until Enter, Space, Escape or F12.
#pragma once

void drawScoreTable();
void enterHighScoreName();
void sortScoreTable();
void showHighScores();
