// The script format of the headless runner and of demos, read into commands.
// One command per line, '#' starts a comment; every word is read whole, and a
// fault names its line with its bytes made printable. A demo is a script that
// opens with `demo 1`, carries its settings and table in its head and ends
// with `end`; the README describes every command.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/demo.h"

struct KeySet {
  uint64_t bits[2] = {0, 0};  // set-1 codes 0..127
  bool has(int code) const { return (bits[code >> 6] >> (code & 63)) & 1; }
  void add(int code) { bits[code >> 6] |= uint64_t{1} << (code & 63); }
  bool operator==(const KeySet&) const = default;
};

// What typing a name reads from each set-1 code: an upper-case letter, a digit, or 0.
struct KeyLayout {
  char printed[128] = {};
};
// The layout of a script without its own, and of the headless keyboard: a
// German one, where Z and Y change places against the US layout.
KeyLayout germanLayout();

struct ScriptCommand {
  enum Kind : uint8_t { kWait, kHold, kShot, kClock, kEpoch, kTime } kind;
  KeySet keys;      // hold
  long long value;  // wait, hold: polls; shot: index into shotNames;
                    // clock: microseconds per read; epoch: the reading in
                    // microseconds; time: microseconds that one read advances
};

struct ParsedScript {
  std::vector<ScriptCommand> commands;
  std::vector<std::string> shotNames;
  bool isDemo = false;
  DemoTable table{};                  // a demo's settings and table
  KeyLayout layout = germanLayout();  // a demo's `layout` line, if it has one
};

constexpr long long kMicrosPerSecond = 1000000;
constexpr int kDemoVersion = 1;

// Reads the whole text; on a fault returns false with "line N: why: text" in *error.
bool parseScript(std::string_view text, ParsedScript* script, std::string* error);

// The layout as one word for a demo's head: codes 1..127, '-' where no letter or digit.
std::string layoutWord(const KeyLayout& layout);

constexpr int kKeyNameSize = 12;  // the longest name, BACKSPACE, and its end
// The name a recording writes for a held code; `translated`: the keypad arrow
// codes are the arrows (cursor-key translation is on).
void keyNameOf(int scancode, bool translated, char name[kKeyNameSize]);

// A decimal number of the whole word, within min..max.
bool parseWholeNumber(std::string_view word, long long min, long long max, long long* value);
// The bytes with everything but printable ASCII as \xNN, cut after `limit` bytes.
std::string printable(std::string_view bytes, size_t limit = 80);
