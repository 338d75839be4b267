// The high score table: 21 rows, 0..19 visible best first, 20 the entry row
// that a new score is written to before the sort moves it to its place.
// Owns the two parallel arrays and their defaults; the file is score_file,
// the screens that show and extend the table are high_score_screens.
#pragma once

#include <cstdint>

constexpr int kScoreRows = 21;
constexpr int kVisibleScoreRows = 20;
constexpr int kNameLength = 20;
constexpr int kNameField = kNameLength + 1;  // 20 characters and the terminator

extern char highScoreNames[kScoreRows][kNameField];
extern uint32_t highScores[kScoreRows];  // units of 100 points

// Every name "TORVA"; row i scores (20 - i) * 10, so 200 down to 0 for row 20.
void resetScoreTable();
