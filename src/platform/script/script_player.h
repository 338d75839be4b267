// Plays a script's keys and clock, for the headless backend and for a demo
// played in the window. Each poll takes one poll of the current command after
// running the commands that take none; after the last command F12 is held. A
// clock read takes the `time` line that follows the poll before it, and
// otherwise advances by the step.
#pragma once

#include <sys/time.h>

#include "platform/script/script_format.h"

struct ScriptPlayer {
  ParsedScript script;
  size_t nextCommand = 0;
  long long pollsLeftInCommand = 0;
  bool done = false;     // every command consumed: F12 is held
  bool stopped = false;  // F12 is held for good, whatever the script holds
  KeySet held;
  bool translateCursorKeys = false;
  long long stepMicros = 20000;
  long long clockMicros = 1000000000LL * kMicrosPerSecond;
  // Called at a poll that finds the script used up; may append commands.
  void (*feeder)() = nullptr;
  // Runs a shot command; nullptr: shots are passed over.
  void (*shoot)(const std::string& name) = nullptr;
};

ScriptPlayer& scriptPlayer();

// Plays `script` from its first command; the clock and its step stay as they are.
void startScript(ScriptPlayer& player, ParsedScript script);
// Appends commands after those not yet played.
void appendScript(ScriptPlayer& player, ParsedScript more);
// One poll.
void takeScriptPoll(ScriptPlayer& player);
// From now on F12 alone is held.
void stopScript(ScriptPlayer& player);
// Non-zero while the key is held at this poll; cursor-key translation applied.
int scriptKeyHeld(const ScriptPlayer& player, int scancode);
// What typing a name reads from the key: the script's layout (German unless a demo gives one).
int scriptKeyChar(const ScriptPlayer& player, int scancode);
// One clock read.
void takeScriptClockReading(ScriptPlayer& player, timeval* now);
