#include "scores/score_table.h"

#include <cstring>

char highScoreNames[kScoreRows][kNameField];
uint32_t highScores[kScoreRows];

void resetScoreTable() {
  for (int row = 0; row < kScoreRows; ++row) {
    std::memset(highScoreNames[row], 0, kNameField);
    std::strcpy(highScoreNames[row], "TORVA");
    highScores[row] = static_cast<uint32_t>(20 - row) * 10;
  }
}
