// kravix-headless: the whole game on the headless backend, driven by a script.
//   kravix-headless --script FILE [--out DIR] [--frame-ms N] [--record FILE]
// Exit status: the game's own; 2 for bad options or script; 3 when cut after
// a million polls; 4 when a shot could not be written.
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/main_cycle.h"
#include "platform/headless/headless.h"
#include "platform/script/script_file.h"

namespace {

constexpr int kShotFailedStatus = 4;

struct RunnerOptions {
  const char* scriptPath = nullptr;
  const char* recordPath = nullptr;
};

RunnerOptions options;

bool takeFrameMs(const char* value, std::string* why) {
  long long ms = 0;
  if (!parseWholeNumber(value, 0, 100000, &ms)) return (*why = "takes 0..100000"), false;
  headlessSetFrameMs(static_cast<int>(ms));
  return true;
}

const CommandOption kOptions[] = {
    {"--script", "FILE", "the script or demo to play (required)",
     [](const char* value, std::string*) { return (options.scriptPath = value), true; }},
    {"--out", "DIR", "the folder for shots (default: the working folder)",
     [](const char* value, std::string*) { return headlessSetOutDir(value), true; }},
    {"--frame-ms", "N", "the clock's step per read, 0..100000 ms (default 20)", takeFrameMs},
    {"--record", "FILE", "write the run to FILE as a demo",
     [](const char* value, std::string*) { return (options.recordPath = value), true; }},
};

const CommandLine kCommandLine{"kravix-headless",
                               "--script FILE [--out DIR] [--frame-ms N] [--record FILE]", kOptions,
                               std::size(kOptions)};

int refuse(const std::string& why) {
  std::fprintf(stderr, "kravix-headless: %s\n", why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int end = startCommandLine(kCommandLine, argc, argv); end != kGoOn) return end;
  if (!options.scriptPath) return refuse("--script is required");
  std::string text, error;
  if (!readScriptFile(options.scriptPath, &text, &error)) return refuse(error);
  if (!headlessLoadScript(text, &error))
    return refuse(printable(options.scriptPath) + ": " + error);
  const int status = kravixMainRecording("kravix-headless", options.recordPath);
  return status == 0 && headlessShotFailed() ? kShotFailedStatus : status;
}
