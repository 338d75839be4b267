// The end of a game: the name entry for a score that beats row 19, the sort
// of the table, and the table shown until Enter, Space, a new Escape or F12.
// Called by runGame in that order; each screen runs its own loop, polling the
// keys once per pass. Only the entry changes the table (row 20), then the sort.
#pragma once

// The character each scancode 0..50 types in the name entry when the player's
// layout shows no letter or digit on that key (a German layout: Z and Y change
// places against the US one); keys without a character type a space.
extern const char32_t nameKeyTable[52];

// The 20 visible rows: place, dotted leader, name and score x 100, from y 30 on.
void drawScoreTable();
// Types a name into row 20 with the game's score; an empty name enters nothing.
void enterHighScoreName();
// Stable bubble sort of all 21 rows, highest score first.
void sortScoreTable();
void showHighScores();
