// Scripts for the headless backend: the format is script_format's, played by
// the script player; a demo's table becomes the run's starting table.
#include <utility>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/script/demo_recorder.h"
#include "platform/script/demo_session.h"
#include "platform/script/script_player.h"

namespace {

void shoot(const std::string& name) {
  recordDemoShot(name);
  if (!headlessWriteShot(name)) headlessState().shotFailed = true;
}

// A demo's polls all happened in the game it was recorded from, however many.
long long demoPolls(const ParsedScript& script) {
  long long polls = 0;
  for (const ScriptCommand& command : script.commands) {
    if (command.kind == ScriptCommand::kWait || command.kind == ScriptCommand::kHold)
      polls += command.value;
  }
  return script.isDemo ? polls : 0;
}

}  // namespace

bool headlessLoadScript(const std::string& text, std::string* error) {
  ParsedScript script;
  std::string why;
  if (!parseScript(text, &script, &why)) {
    if (error) *error = why;
    return false;
  }
  setDemoStart(script.isDemo ? DemoStart::kDemoTable : DemoStart::kScoreFile, script.table);
  headlessState().pollLimit = 1000000 + demoPolls(script);
  ScriptPlayer& player = scriptPlayer();
  player.shoot = shoot;
  startScript(player, std::move(script));
  return true;
}

bool headlessAppendScript(const std::string& text, std::string* error) {
  ParsedScript more;
  std::string why;
  if (!parseScript(text, &more, &why)) {
    if (error) *error = why;
    return false;
  }
  appendScript(scriptPlayer(), std::move(more));
  return true;
}

bool headlessShotFailed() {
  return headlessState().shotFailed;
}
