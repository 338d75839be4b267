#include "scores/high_score_screens.h"

#include <cstring>
#include <utility>

#include "input/controls.h"
#include "input/key_wait.h"
#include "platform/keyboard.h"
#include "scores/score_table.h"
#include "state/game_state.h"
#include "video/frame_buffer.h"
#include "video/text.h"

namespace {

// The character each scancode 0..50 types in the name entry when the player's
// layout shows no letter or digit on that key (a German layout: Z and Y change
// places against the US one); keys without a character type a space.
const char32_t nameKeyTable[52] = U"  1234567890-=  QWERTZUIOP    ASDFGHJKL     YXCVBNM";

constexpr int kHighestTypingScancode = 50;
// Enter counts only once this many passes are over, so that an Enter held
// over from the game cannot end the entry.
constexpr int kGuardPasses = 500;

struct NameEntry {
  char name[kNameField];
  int length;
  int passes;
  int scancode;
  int previousScancode;
  uint8_t previousEscape;
};

void drawLeader(int y) {
  for (int k = 0; k < 33; ++k) drawText(70 + 4 * k, y, 10, ".");
}

// Scores are shown x 100; wrapping arithmetic keeps a huge score defined.
int shownScore(uint32_t score) {
  return static_cast<int>(score * 100u);
}

// The highest scancode 0..50 that is held, or 0.
int highestHeldScancode() {
  for (int scancode = kHighestTypingScancode; scancode > 0; --scancode) {
    if (keyboard_keypressed(scancode)) return scancode;
  }
  return 0;
}

// The letter or digit on the key in the player's layout; other keys type as the table says.
char typedCharacter(int scancode) {
  int printed = keyboard_keychar(scancode);
  return static_cast<char>(printed != 0 ? printed : nameKeyTable[scancode]);
}

// A key types once per press: only a change of the highest held key counts.
void typeKey(NameEntry& entry) {
  entry.previousScancode = entry.scancode;
  entry.scancode = highestHeldScancode();
  if (entry.scancode == entry.previousScancode) return;
  if (entry.scancode == SCANCODE_BACKSPACE) {
    if (entry.length > 0) entry.name[--entry.length] = '\0';
  } else if (entry.scancode >= SCANCODE_1 && entry.scancode != SCANCODE_ENTER &&
             entry.length < kNameLength) {
    entry.name[entry.length++] = typedCharacter(entry.scancode);
    entry.name[entry.length] = '\0';
  }
}

void drawEntryLine(const NameEntry& entry) {
  drawText(70, 2, 10, "PLEASE ENTER YOUR NAME:");
  drawLeader(12);
  drawTextOpaque(70, 12, 11, entry.name);
  drawNumberOpaque(200, 12, 11, shownScore(static_cast<uint32_t>(gameState.score)));
}

// A new press of Escape acts as Enter.
void escapeActsAsEnter(uint8_t& previousEscape) {
  if (controls.escape && !previousEscape) controls.fire = 1;
  previousEscape = controls.escape;
}

// The 20 visible rows: place, dotted leader, name and score x 100, from y 30 on.
void drawScoreTable() {
  for (int row = 0; row < kVisibleScoreRows; ++row) {
    int y = 30 + 8 * row;
    drawLeader(y);
    drawNumber(40, y, 11, row + 1);
    drawTextOpaque(70, y, 11, highScoreNames[row]);
    drawNumberOpaque(200, y, 11, shownScore(highScores[row]));
  }
}

}  // namespace

void enterHighScoreName() {
  NameEntry entry{};
  keyboard_typing(1);
  clearOneShotControls();
  entry.previousEscape = controls.escape;
  // The table goes to the screen once; each pass then redraws only the top 20 rows.
  showFrame(0, kScreenHeight);
  drawScoreTable();
  showFrame(0, kScreenHeight);
  drawScoreTable();

  while (!controls.quickExit &&
         !(controls.fire && (entry.passes >= kGuardPasses || entry.length >= 2))) {
    pollControls();
    if (entry.passes <= kGuardPasses) {
      ++entry.passes;
      controls.fire = 0;
    }
    typeKey(entry);
    drawEntryLine(entry);
    showFrame(0, 20);
    escapeActsAsEnter(entry.previousEscape);
  }

  if (entry.length > 0) {
    std::memcpy(highScoreNames[kScoreRows - 1], entry.name, kNameField);
    highScores[kScoreRows - 1] = static_cast<uint32_t>(gameState.score);
  }
  waitForKeys([] { return !controls.fire || controls.quickExit; }, FirstPoll::kOnlyIfWaiting);
  keyboard_typing(0);
}

void sortScoreTable() {
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int row = 0; row < kScoreRows - 1; ++row) {
      if (highScores[row] < highScores[row + 1]) {
        std::swap(highScores[row], highScores[row + 1]);
        std::swap(highScoreNames[row], highScoreNames[row + 1]);
        swapped = true;
      }
    }
  }
}

void showHighScores() {
  clearOneShotControls();
  uint8_t previousEscape = controls.escape;
  while (!controls.fire && !controls.tag && !controls.quickExit) {
    drawText(100, 10, 10, "H I G H S C O R E S");
    drawScoreTable();
    showFrame(0, kScreenHeight);
    pollControls();
    escapeActsAsEnter(previousEscape);
  }
}
