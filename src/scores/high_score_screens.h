// The end of a game: the name entry for a score that beats row 19, the sort
// of the table, and the table shown until Enter, Space, a new Escape or F12.
// Called by runGame in that order; each screen runs its own loop, polling the
// keys once per pass. Only the entry changes the table (row 20), then the sort.
#pragma once

// Types a name into row 20 with the game's score; an empty name enters nothing.
void enterHighScoreName();
// Stable bubble sort of all 21 rows, highest score first.
void sortScoreTable();
void showHighScores();
