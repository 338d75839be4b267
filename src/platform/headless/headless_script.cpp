// The script format: one command per line, '#' starts a comment.
//   wait N          N polls with no key held
//   hold KEY... N   N polls with these keys held
//   shot NAME       NAME.ppm and NAME.idx of the screen now (no poll)
//   clock MS        the clock advances MS per read from now on (no poll)
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string_view>
#include <utility>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
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

constexpr std::string_view kLetterRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr int kLetterRowStart[] = {SCANCODE_Q, SCANCODE_A, SCANCODE_Z};

int scancodeOf(std::string_view name) {
  for (const auto& [keyName, code] : kNamedKeys) {
    if (name == keyName) return code;
  }
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
    return name[0] == '0' ? SCANCODE_1 + 9 : SCANCODE_1 + (name[0] - '1');
  }
  if (name.size() == 1) {
    for (int row = 0; row < 3; ++row) {
      size_t column = kLetterRows[row].find(name[0]);
      if (column != std::string_view::npos) return kLetterRowStart[row] + static_cast<int>(column);
    }
  }
  if (name.size() >= 2 && name[0] == 'F') {
    int n = std::atoi(std::string(name.substr(1)).c_str());
    if (n >= 1 && n <= 10) return SCANCODE_F1 + n - 1;
  }
  return -1;
}

bool parseCount(const std::string& word, long* count) {
  if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos) return false;
  if (word.size() > 9) return false;
  *count = std::atol(word.c_str());
  return true;
}

bool parseLine(const std::vector<std::string>& words, ScriptCommand* command, std::string* why) {
  const std::string& verb = words[0];
  if (verb == "wait" && words.size() == 2) {
    *command = {ScriptCommand::kWait, 0, {}, {}, 0};
    return parseCount(words[1], &command->polls) || (*why = "bad count", false);
  }
  if (verb == "hold" && words.size() >= 3) {
    *command = {ScriptCommand::kHold, 0, {}, {}, 0};
    for (size_t i = 1; i + 1 < words.size(); ++i) {
      int code = scancodeOf(words[i]);
      if (code < 0) return *why = "unknown key " + words[i], false;
      command->scancodes.push_back(code);
    }
    return parseCount(words.back(), &command->polls) || (*why = "bad count", false);
  }
  if (verb == "shot" && words.size() == 2) {
    if (words[1].find('/') != std::string::npos) return *why = "a shot name has no '/'", false;
    *command = {ScriptCommand::kShot, 0, {}, words[1], 0};
    return true;
  }
  if (verb == "clock" && words.size() == 2) {
    long ms = 0;
    if (!parseCount(words[1], &ms)) return *why = "bad clock step", false;
    *command = {ScriptCommand::kClock, 0, {}, {}, static_cast<int>(ms)};
    return true;
  }
  *why = "unknown command";
  return false;
}

}  // namespace

namespace {

bool parseScript(const std::string& text, std::vector<ScriptCommand>* script, std::string* error) {
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    line = line.substr(0, line.find('#'));
    std::istringstream wordStream(line);
    std::vector<std::string> words;
    for (std::string word; wordStream >> word;) words.push_back(word);
    if (words.empty()) continue;
    ScriptCommand command{};
    std::string why;
    if (!parseLine(words, &command, &why)) {
      if (error) *error = "line " + std::to_string(number) + ": " + why + ": " + line;
      return false;
    }
    script->push_back(std::move(command));
  }
  return true;
}

}  // namespace

bool headlessLoadScript(const std::string& text, std::string* error) {
  std::vector<ScriptCommand> script;
  if (!parseScript(text, &script, error)) return false;
  HeadlessState& state = headlessState();
  state.script = std::move(script);
  state.nextCommand = 0;
  state.pollsLeftInCommand = 0;
  state.scriptDone = false;
  return true;
}

bool headlessAppendScript(const std::string& text, std::string* error) {
  std::vector<ScriptCommand> more;
  if (!parseScript(text, &more, error)) return false;
  HeadlessState& state = headlessState();
  state.script.insert(state.script.end(), std::make_move_iterator(more.begin()),
                      std::make_move_iterator(more.end()));
  return true;
}
