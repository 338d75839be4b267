// kravix-headless: the whole game on the headless backend, driven by a script.
//   kravix-headless --script FILE [--out DIR] [--frame-ms N]
// Exit status: the game's own; 2 for bad options or script; 3 when cut after a million polls.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/main_cycle.h"
#include "platform/headless/headless.h"

namespace {

int usage(const char* why) {
  std::fprintf(stderr, "kravix-headless: %s\nusage: kravix-headless --script FILE [--out DIR] "
               "[--frame-ms N]\n", why);
  return 2;
}

bool readFile(const char* path, std::string* text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  *text = contents.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const char* scriptPath = nullptr;
  for (int i = 1; i < argc; i += 2) {  // each option takes one value
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (std::strcmp(argv[i], "--script") == 0 && value) {
      scriptPath = value;
    } else if (std::strcmp(argv[i], "--out") == 0 && value) {
      headlessSetOutDir(value);
    } else if (std::strcmp(argv[i], "--frame-ms") == 0 && value) {
      char* end = nullptr;
      long ms = std::strtol(value, &end, 10);
      if (*end != '\0' || ms < 0 || ms > 100000) return usage("--frame-ms takes 0..100000");
      headlessSetFrameMs(static_cast<int>(ms));
    } else {
      return usage("unknown option");
    }
  }
  if (!scriptPath) return usage("--script is required");
  std::string text, error;
  if (!readFile(scriptPath, &text)) return usage("cannot read the script");
  if (!headlessLoadScript(text, &error)) return usage(error.c_str());
  return kravixMain();
}
