#include "platform/script/script_format.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/keyboard.h"

namespace {

constexpr std::pair<std::string_view, int> kNamedKeys[] = {
    {"ENTER", SCANCODE_ENTER},
    {"ESC", SCANCODE_ESCAPE},
    {"SPACE", SCANCODE_SPACE},
    {"TAB", SCANCODE_TAB},
    {"BACKSPACE", SCANCODE_BACKSPACE},
    {"LSHIFT", SCANCODE_LEFTSHIFT},
    {"RSHIFT", SCANCODE_RIGHTSHIFT},
    {"LCTRL", SCANCODE_LEFTCONTROL},
    {"UP", SCANCODE_CURSORBLOCKUP},
    {"DOWN", SCANCODE_CURSORBLOCKDOWN},
    {"LEFT", SCANCODE_CURSORBLOCKLEFT},
    {"RIGHT", SCANCODE_CURSORBLOCKRIGHT},
    {"MINUS", SCANCODE_MINUS},
    {"EQUALS", SCANCODE_EQUAL},
    {"F11", SCANCODE_F11},
    {"F12", SCANCODE_F12},
};
constexpr std::pair<int, int> kArrows[] = {
    {SCANCODE_CURSORBLOCKUP, SCANCODE_CURSORUP},
    {SCANCODE_CURSORBLOCKDOWN, SCANCODE_CURSORDOWN},
    {SCANCODE_CURSORBLOCKLEFT, SCANCODE_CURSORLEFT},
    {SCANCODE_CURSORBLOCKRIGHT, SCANCODE_CURSORRIGHT},
};

constexpr std::string_view kLetterRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr int kLetterRowStart[] = {SCANCODE_Q, SCANCODE_A, SCANCODE_Z};
constexpr long kMaxCount = 999999999;
constexpr long long kMaxEpochSeconds = 100000000000LL;
constexpr long long kMaxTimeStep = 3600 * kMicrosPerSecond;  // an hour between two reads

int letterCode(char letter) {
  for (int row = 0; row < 3; ++row) {
    size_t column = kLetterRows[row].find(letter);
    if (column != std::string_view::npos) return kLetterRowStart[row] + static_cast<int>(column);
  }
  return -1;
}

// The set-1 code a key name stands for (a cursor-block code for the arrows), or -1.
int scancodeOfKeyName(std::string_view name) {
  for (const auto& [keyName, code] : kNamedKeys) {
    if (name == keyName) return code;
  }
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
    return name[0] == '0' ? SCANCODE_1 + 9 : SCANCODE_1 + (name[0] - '1');
  }
  if (name.size() == 1) return letterCode(name[0]);
  long long number = 0;
  if (name.size() >= 2 && name[0] == 'F' && parseWholeNumber(name.substr(1), 1, 10, &number))
    return SCANCODE_F1 + static_cast<int>(number) - 1;
  if (name.size() >= 2 && name[0] == 'K' && parseWholeNumber(name.substr(1), 1, 127, &number))
    return static_cast<int>(number);
  return -1;
}

using Words = std::vector<std::string_view>;

// The words of a line without its comment; spaces, tabs and carriage returns part them.
Words splitWords(std::string_view line) {
  line = line.substr(0, line.find('#'));
  Words words;
  size_t start = 0;
  while (true) {
    start = line.find_first_not_of(" \t\r", start);
    if (start == std::string_view::npos) break;
    size_t end = line.find_first_of(" \t\r", start);
    if (end == std::string_view::npos) end = line.size();
    words.push_back(line.substr(start, end - start));
    start = end;
  }
  return words;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A name as hex bytes, none of them 0, or "-" for the empty name.
bool parseName(std::string_view word, char name[kDemoNameLength + 1]) {
  std::memset(name, 0, kDemoNameLength + 1);
  if (word == "-") return true;
  if (word.size() % 2 != 0 || word.size() > 2 * kDemoNameLength) return false;
  for (size_t i = 0; i < word.size(); i += 2) {
    int high = hexDigit(word[i]), low = hexDigit(word[i + 1]);
    if (high < 0 || low < 0 || high * 16 + low == 0) return false;
    name[i / 2] = static_cast<char>(high * 16 + low);
  }
  return true;
}

// What parsing knows beyond the commands: where a demo's head stands.
struct Reading {
  ParsedScript* script;
  bool inHead = false;  // a demo, before its first command that is not head
  bool haveSettings = false;
  bool haveLayout = false;
  bool haveRow[kDemoRows] = {};
  bool ended = false;  // `end` seen
};

bool fail(std::string* why, const char* text) {
  *why = text;
  return false;
}

bool parsePolls(std::string_view word, ScriptCommand* command, std::string* why) {
  return parseWholeNumber(word, 0, kMaxCount, &command->value) || fail(why, "bad count");
}

bool parseHold(const Words& words, ScriptCommand* command, std::string* why) {
  for (size_t i = 1; i + 1 < words.size(); ++i) {
    int code = scancodeOfKeyName(words[i]);
    if (code < 0) return fail(why, ("unknown key " + printable(words[i])).c_str());
    command->keys.add(code);
  }
  return parsePolls(words.back(), command, why);
}

bool parseSettings(const Words& words, DemoTable* table, std::string* why) {
  for (int i = 0; i < kDemoSettings; ++i) {
    long long value = 0;
    bool flag = i + 1 < kDemoSettings;
    if (!parseWholeNumber(words[1 + i], flag ? 0 : 30, flag ? 1 : 70, &value))
      return fail(why, "settings are five flags (0 or 1) and a turn speed of 30..70");
    table->settings[i] = static_cast<uint8_t>(value);
  }
  return true;
}

bool parseScoreRow(const Words& words, Reading* reading, std::string* why) {
  long long row = 0, points = 0;
  if (!parseWholeNumber(words[1], 0, kDemoRows - 1, &row)) return fail(why, "bad row");
  if (reading->haveRow[row]) return fail(why, "a row given twice");
  if (!parseWholeNumber(words[2], 0, 65535, &points)) return fail(why, "bad score");
  DemoTable& table = reading->script->table;
  if (!parseName(words[3], table.names[row])) return fail(why, "bad name (hex bytes or -)");
  table.scores[row] = static_cast<uint32_t>(points);
  reading->haveRow[row] = true;
  return true;
}

// One character per code from 1 on, '-' for none; codes past the word's end type nothing.
bool parseLayout(const Words& words, Reading* reading, std::string* why) {
  if (words.size() != 2 || words[1].size() > 127)
    return fail(why, "layout takes one word of at most 127 characters");
  if (reading->haveLayout) return fail(why, "layout given twice");
  reading->haveLayout = true;
  KeyLayout layout;
  for (size_t i = 0; i < words[1].size(); ++i) {
    const char c = words[1][i];
    const bool typed = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!typed && c != '-') return fail(why, "a layout holds upper-case letters, digits and -");
    layout.printed[i + 1] = typed ? c : 0;
  }
  reading->script->layout = layout;
  return true;
}

// The commands only a demo's head holds.
bool parseHeadLine(const Words& words, Reading* reading, std::string* why) {
  if (!reading->inHead)
    return fail(why, "only the head of a demo gives settings, scores and a layout");
  if (words[0] == "layout") return parseLayout(words, reading, why);
  if (words[0] == "settings") {
    if (words.size() != 1 + kDemoSettings) return fail(why, "settings take six numbers");
    if (reading->haveSettings) return fail(why, "settings given twice");
    reading->haveSettings = true;
    return parseSettings(words, &reading->script->table, why);
  }
  if (words.size() != 4) return fail(why, "score takes a row, a score and a name");
  return parseScoreRow(words, reading, why);
}

// The head is over; it must have given everything.
bool closeHead(Reading* reading, std::string* why) {
  if (!reading->inHead) return true;
  reading->inHead = false;
  if (!reading->haveSettings) return fail(why, "the demo's head has no settings");
  for (bool have : reading->haveRow) {
    if (!have) return fail(why, "the demo's head lacks a score row");
  }
  return true;
}

bool parseDemoLine(const Words& words, bool first, Reading* reading, std::string* why) {
  if (!first) return fail(why, "demo only opens a file");
  long long version = 0;
  if (words.size() != 2 || !parseWholeNumber(words[1], 1, 1000000, &version))
    return fail(why, "bad demo version");
  if (version > kDemoVersion) return fail(why, "a demo of a newer version than this program");
  reading->script->isDemo = reading->inHead = true;
  return true;
}

bool parseClockLine(const Words& words, ScriptCommand* command, std::string* why) {
  const std::string_view verb = words[0];
  if (verb == "clock" && words.size() == 2) {
    *command = {ScriptCommand::kClock, {}, 0};
    if (!parseWholeNumber(words[1], 0, 100000, &command->value)) return fail(why, "bad clock step");
    command->value *= 1000;
    return true;
  }
  if (verb == "time" && words.size() == 2) {
    *command = {ScriptCommand::kTime, {}, 0};
    return parseWholeNumber(words[1], -kMaxTimeStep, kMaxTimeStep, &command->value) ||
           fail(why, "bad time step");
  }
  if (verb == "epoch" && words.size() == 3) {
    long long seconds = 0, micros = 0;
    if (!parseWholeNumber(words[1], 0, kMaxEpochSeconds, &seconds) ||
        !parseWholeNumber(words[2], 0, kMicrosPerSecond - 1, &micros))
      return fail(why, "bad epoch");
    *command = {ScriptCommand::kEpoch, {}, seconds * kMicrosPerSecond + micros};
    return true;
  }
  return fail(why, "unknown command");
}

bool parseCommand(const Words& words, ParsedScript* script, std::string* why) {
  const std::string_view verb = words[0];
  ScriptCommand command{ScriptCommand::kWait, {}, 0};
  if (verb == "wait" && words.size() == 2) {
    if (!parsePolls(words[1], &command, why)) return false;
  } else if (verb == "hold" && words.size() >= 3) {
    command.kind = ScriptCommand::kHold;
    if (!parseHold(words, &command, why)) return false;
  } else if (verb == "shot" && words.size() == 2) {
    if (words[1].find('/') != std::string_view::npos) return fail(why, "a shot name has no '/'");
    command = {ScriptCommand::kShot, {}, static_cast<long long>(script->shotNames.size())};
    script->shotNames.emplace_back(words[1]);
  } else if (!parseClockLine(words, &command, why)) {
    return false;
  }
  script->commands.push_back(command);
  return true;
}

bool parseLine(const Words& words, bool first, Reading* reading, std::string* why) {
  const std::string_view verb = words[0];
  if (reading->ended) return fail(why, "text after the demo's end");
  if (verb == "demo") return parseDemoLine(words, first, reading, why);
  if (verb == "settings" || verb == "score" || verb == "layout")
    return parseHeadLine(words, reading, why);
  if (!closeHead(reading, why)) return false;
  if (verb == "end") {
    if (!reading->script->isDemo || words.size() != 1) return fail(why, "end only closes a demo");
    reading->ended = true;
    return true;
  }
  return parseCommand(words, reading->script, why);
}

}  // namespace

KeyLayout germanLayout() {
  constexpr std::string_view kPrinted = "  1234567890    QWERTZUIOP    ASDFGHJKL     YXCVBNM";
  KeyLayout layout;
  for (size_t code = 0; code < kPrinted.size(); ++code)
    layout.printed[code] = kPrinted[code] == ' ' ? 0 : kPrinted[code];
  return layout;
}

std::string layoutWord(const KeyLayout& layout) {
  std::string word;
  for (int code = 1; code < 128; ++code) word += layout.printed[code] ? layout.printed[code] : '-';
  return word;
}

bool parseScript(std::string_view text, ParsedScript* script, std::string* error) {
  Reading reading{script};
  std::string why;
  int number = 0;
  bool first = true;
  for (size_t start = 0; start < text.size(); ++number) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    const Words words = splitWords(line);
    if (words.empty()) continue;
    if (!parseLine(words, first, &reading, &why)) {
      *error = "line " + std::to_string(number + 1) + ": " + why + ": " + printable(line);
      return false;
    }
    first = false;
  }
  if (script->isDemo && (!closeHead(&reading, &why) || !reading.ended)) {
    if (why.empty()) why = "the demo stops short of its end line";
    *error = "line " + std::to_string(number) + ": " + why;
    return false;
  }
  return true;
}

void keyNameOf(int scancode, bool translated, char name[kKeyNameSize]) {
  // Once translated, the arrows read as the keypad codes, and no name reads as a block code.
  int named = scancode;
  for (const auto& [block, keypad] : kArrows) {
    if (translated && scancode == keypad) named = block;
    if (translated && scancode == block) named = -1;
  }
  for (const auto& [keyName, code] : kNamedKeys) {
    if (code == named) {
      std::snprintf(name, kKeyNameSize, "%.*s", static_cast<int>(keyName.size()), keyName.data());
      return;
    }
  }
  for (char c : std::string_view("0123456789QWERTYUIOPASDFGHJKLZXCVBNM")) {
    if (named >= 0 && scancodeOfKeyName(std::string_view(&c, 1)) == named) {
      std::snprintf(name, kKeyNameSize, "%c", c);
      return;
    }
  }
  if (named >= SCANCODE_F1 && named < SCANCODE_F1 + 10) {
    std::snprintf(name, kKeyNameSize, "F%d", named - SCANCODE_F1 + 1);
    return;
  }
  std::snprintf(name, kKeyNameSize, "K%d", scancode);
}

bool parseWholeNumber(std::string_view word, long long min, long long max, long long* value) {
  bool negative = !word.empty() && word[0] == '-';
  if (negative) word.remove_prefix(1);
  if (word.empty() || word.size() > 18) return false;
  long long number = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (negative) number = -number;
  if (number < min || number > max) return false;
  *value = number;
  return true;
}

std::string printable(std::string_view bytes, size_t limit) {
  std::string shown;
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      shown += static_cast<char>(c);
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      shown += escaped;
    }
  }
  if (bytes.size() > limit) shown += "...";
  return shown;
}
