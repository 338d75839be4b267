// The game program: the whole game on the SDL2 backend. Without arguments it
// is the game as it always was; --record and --play make and show demos.
#include <cstdio>
#include <string>
#include <utility>

#include "app/command_line.h"
#include "app/main_cycle.h"
#include "platform/player_keys.h"
#include "platform/script/demo_session.h"
#include "platform/script/script_file.h"

namespace {

struct ProgramOptions {
  bool printKeys = false;
  const char* recordPath = nullptr;
  const char* playPath = nullptr;
};

ProgramOptions options;

const CommandOption kOptions[] = {
    {"--record", "FILE", "play as usual and write the game to FILE as a demo",
     [](const char* value, std::string*) { return (options.recordPath = value), true; }},
    {"--play", "FILE", "show a demo or a kravix-headless script; Escape stops it",
     [](const char* value, std::string*) { return (options.playPath = value), true; }},
    {"--print-keys", nullptr, "print the key bindings in force and end",
     [](const char*, std::string*) { return options.printKeys = true; }},
};

const CommandLine kCommandLine{"kravix", "[--record FILE] [--play FILE] [--print-keys]", kOptions,
                               std::size(kOptions)};

// Reads the whole demo before anything opens; a bad one ends the program here.
bool preparePlayback(const char* path) {
  ParsedScript demo;
  std::string error;
  if (!loadScriptFile(path, &demo, &error)) {
    std::fprintf(stderr, "kravix: %s\n", error.c_str());
    return false;
  }
  setDemoStart(demo.isDemo ? DemoStart::kDemoTableNoFile : DemoStart::kDefaultsNoFile, demo.table);
  startWindowPlayback(std::move(demo));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int end = startCommandLine(kCommandLine, argc, argv); end != kGoOn) return end;
  if (options.printKeys) return printPlayerKeys();
  if (options.playPath && !preparePlayback(options.playPath)) return 2;
  return kravixMainRecording("kravix", options.recordPath);
}
