// The high score table: 21 rows, 0..19 visible best first, 20 the entry row.
#pragma once

#include <cstdint>

constexpr int kScoreRows = 21;
constexpr int kNameField = 21;  // 20 characters and the terminator

extern char highScoreNames[kScoreRows][kNameField];
extern uint32_t highScores[kScoreRows];  // units of 100 points

void resetScoreTable();
