// Every test of this program keeps the window's remembered place in a folder
// of its own, never in the user's configuration.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

const bool kConfigHomeSet = [] {
  std::string folder =
      std::filesystem::temp_directory_path() / ("kravix-sdl-config-" + std::to_string(getpid()));
  return setenv("XDG_CONFIG_HOME", folder.c_str(), 1) == 0;
}();

}  // namespace
