#include "platform/script/script_player.h"

#include <iterator>
#include <utility>

#include "platform/keyboard.h"

namespace {

// At the end of the script, asks the feeder for more; true when it added some.
bool feedScript(ScriptPlayer& player) {
  if (!player.feeder) return false;
  player.script.commands.clear();  // all used: a long fed run keeps only what it has not run
  player.script.shotNames.clear();
  player.nextCommand = 0;
  player.feeder();
  return !player.script.commands.empty();
}

void runCommandWithoutPolls(ScriptPlayer& player, const ScriptCommand& command) {
  if (command.kind == ScriptCommand::kShot && player.shoot) {
    player.shoot(player.script.shotNames[static_cast<size_t>(command.value)]);
  } else if (command.kind == ScriptCommand::kClock) {
    player.stepMicros = command.value;
  } else if (command.kind == ScriptCommand::kEpoch) {
    player.clockMicros = command.value;
  }  // a time line that no read took is passed over
}

bool takesPolls(const ScriptCommand& command) {
  return command.kind == ScriptCommand::kWait || command.kind == ScriptCommand::kHold;
}

}  // namespace

ScriptPlayer& scriptPlayer() {
  static ScriptPlayer player;
  return player;
}

void startScript(ScriptPlayer& player, ParsedScript script) {
  player.script = std::move(script);
  player.nextCommand = 0;
  player.pollsLeftInCommand = 0;
  player.done = player.stopped = false;
}

void appendScript(ScriptPlayer& player, ParsedScript more) {
  const long long shotBase = static_cast<long long>(player.script.shotNames.size());
  for (ScriptCommand& command : more.commands) {
    if (command.kind == ScriptCommand::kShot) command.value += shotBase;
    player.script.commands.push_back(command);
  }
  player.script.shotNames.insert(player.script.shotNames.end(),
                                 std::make_move_iterator(more.shotNames.begin()),
                                 std::make_move_iterator(more.shotNames.end()));
}

void takeScriptPoll(ScriptPlayer& player) {
  std::vector<ScriptCommand>& commands = player.script.commands;
  while (!player.stopped && (player.nextCommand < commands.size() || feedScript(player))) {
    const ScriptCommand& command = commands[player.nextCommand];
    if (!takesPolls(command)) {
      runCommandWithoutPolls(player, command);
    } else if (player.pollsLeftInCommand == 0) {
      player.pollsLeftInCommand = command.value;
    }
    if (player.pollsLeftInCommand > 0) break;
    ++player.nextCommand;
  }
  player.held = {};
  if (player.stopped || player.nextCommand >= commands.size()) {
    player.done = true;
    player.held.add(SCANCODE_F12);
    return;
  }
  const ScriptCommand& command = commands[player.nextCommand];
  if (command.kind == ScriptCommand::kHold) player.held = command.keys;
  if (--player.pollsLeftInCommand == 0) ++player.nextCommand;
}

void stopScript(ScriptPlayer& player) {
  player.stopped = player.done = true;
  player.held = {};
  player.held.add(SCANCODE_F12);
}

int scriptKeyHeld(const ScriptPlayer& player, int scancode) {
  if (scancode < 0 || scancode >= 128) return 0;
  constexpr int kKeypad[] = {SCANCODE_CURSORUP, SCANCODE_CURSORLEFT, SCANCODE_CURSORRIGHT,
                             SCANCODE_CURSORDOWN};
  constexpr int kBlock[] = {SCANCODE_CURSORBLOCKUP, SCANCODE_CURSORBLOCKLEFT,
                            SCANCODE_CURSORBLOCKRIGHT, SCANCODE_CURSORBLOCKDOWN};
  for (int i = 0; i < 4; ++i) {
    if (scancode == kBlock[i] && player.translateCursorKeys) return 0;
    if (scancode == kKeypad[i] && player.translateCursorKeys && player.held.has(kBlock[i]))
      return 1;
  }
  return player.held.has(scancode) ? 1 : 0;
}

int scriptKeyChar(const ScriptPlayer& player, int scancode) {
  if (scancode < 0 || scancode >= 128) return 0;
  return player.script.layout.printed[scancode];
}

void takeScriptClockReading(ScriptPlayer& player, timeval* now) {
  const std::vector<ScriptCommand>& commands = player.script.commands;
  long long advance = player.stepMicros;
  if (player.pollsLeftInCommand == 0) {  // between two commands: a recorded reading may follow
    while (player.nextCommand < commands.size() &&
           commands[player.nextCommand].kind == ScriptCommand::kEpoch) {
      player.clockMicros = commands[player.nextCommand++].value;
    }
    if (player.nextCommand < commands.size() &&
        commands[player.nextCommand].kind == ScriptCommand::kTime) {
      advance = commands[player.nextCommand++].value;
    }
  }
  player.clockMicros += advance;
  now->tv_sec = static_cast<time_t>(player.clockMicros / kMicrosPerSecond);
  now->tv_usec = static_cast<suseconds_t>(player.clockMicros % kMicrosPerSecond);
}
