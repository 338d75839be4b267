#include "platform/sdl/keys_file.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/player_keys.h"

namespace {

KeyBindings bindings;
bool loaded = false;

constexpr char kFileHeader[] =
    "# Kravix keys: action = key [key...] with SDL's key names, a name with blanks in\n"
    "# quotes (\"Right Shift\"); pad_action = input [input...] with SDL's game controller\n"
    "# names: a b x y back guide start leftstick rightstick leftshoulder rightshoulder\n"
    "# dpup dpdown dpleft dpright, sticks as leftx- leftx+ lefty- lefty+ rightx- rightx+\n"
    "# righty- righty+, triggers as lefttrigger righttrigger. An action left empty has\n"
    "# no key. The d-pad also works the menus' cursor keys.\n";

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

void readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return;
  std::string text(std::istreambuf_iterator<char>(file), {});
  std::vector<BindingProblem> problems;
  readKeyBindings(text, bindings, problems);
  for (const BindingProblem& problem : problems) {
    std::fprintf(stderr, "kravix: %s:%d: %s\n", path.c_str(), problem.line,
                 problem.message.c_str());
  }
}

// $XDG_CONFIG_HOME/kravix/keys.conf, else $HOME/.config/kravix/keys.conf;
// empty when neither variable is set.
std::string keysFilePath() {
  std::string folder = environment("XDG_CONFIG_HOME");
  if (folder.empty()) {
    std::string home = environment("HOME");
    if (home.empty()) return "";
    folder = home + "/.config";
  }
  return folder + "/kravix/keys.conf";
}

}  // namespace

const KeyBindings& playerKeyBindings() {
  if (!loaded) {
    loaded = true;
    bindings = defaultKeyBindings();
    std::string path = keysFilePath();
    if (!path.empty()) readFile(path);
  }
  return bindings;
}

void forgetPlayerKeyBindings() {
  loaded = false;
}

int printPlayerKeys() {
  std::string text = kFileHeader + writeKeyBindings(playerKeyBindings());
  std::fputs(text.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
