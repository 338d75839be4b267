#include "platform/sdl/window_conf.h"

#include <sys/stat.h>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

constexpr size_t kLongestFile = 4096;
constexpr int kMinWidth = 320, kMinHeight = 240, kMaxSide = 16384;

bool readNumber(const std::string& text, int low, int high, int& value) {
  int read = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
  if (error != std::errc() || end != text.data() + text.size() || read < low || read > high)
    return false;
  value = read;
  return true;
}

struct Field {
  const char* key;
  int low, high;
};
constexpr Field kFields[] = {{"width", kMinWidth, kMaxSide},
                             {"height", kMinHeight, kMaxSide},
                             {"x", -kMaxSide, kMaxSide},
                             {"y", -kMaxSide, kMaxSide},
                             {"fullscreen", 0, 1}};
constexpr int kFieldCount = 5;

// One line into values[] by field; `seen` marks each field read once.
bool takeLine(const std::string& line, int values[kFieldCount], unsigned& seen) {
  if (line.empty() || line[0] == '#') return true;
  size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  for (int i = 0; i < kFieldCount; ++i) {
    if (line.compare(0, equals, kFields[i].key) != 0 || (seen >> i & 1)) continue;
    seen |= 1u << i;
    return readNumber(line.substr(equals + 1), kFields[i].low, kFields[i].high, values[i]);
  }
  return false;
}

void makeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0755);
  }
}

}  // namespace

bool parseWindowConf(const std::string& text, WindowPlace& place) {
  if (text.size() > kLongestFile) return false;
  int values[kFieldCount] = {};
  unsigned seen = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!takeLine(line, values, seen)) return false;
  }
  const unsigned size = 0b11, position = 0b1100;
  if ((seen & size) != size || ((seen & position) != 0 && (seen & position) != position))
    return false;
  place = WindowPlace{values[0], values[1], (seen & position) != 0,
                      values[2], values[3], (seen >> 4 & 1) != 0 && values[4] == 1};
  return true;
}

std::string formatWindowConf(const WindowPlace& place) {
  std::string text = "# Kravix: the window as it was left\n";
  text +=
      "width=" + std::to_string(place.width) + "\nheight=" + std::to_string(place.height) + "\n";
  if (place.placed)
    text += "x=" + std::to_string(place.x) + "\ny=" + std::to_string(place.y) + "\n";
  text += "fullscreen=" + std::string(place.fullscreen ? "1" : "0") + "\n";
  return text;
}

std::string windowConfPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/kravix/window.conf";
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return std::string(home) + "/.config/kravix/window.conf";
  return {};
}

WindowPlace readWindowConf() {
  WindowPlace place;
  std::string path = windowConfPath();
  std::ifstream file(path, std::ios::binary);
  if (path.empty() || !file) return place;
  std::string text(kLongestFile + 1, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(file.gcount()));
  if (!parseWindowConf(text, place)) {
    std::fprintf(stderr, "kravix: %s is damaged or not ours; the window starts as new.\n",
                 path.c_str());
  }
  return place;
}

void writeWindowConf(const WindowPlace& place) {
  std::string path = windowConfPath();
  if (path.empty()) return;
  makeFolders(path);
  std::string partial = path + ".new";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file << formatWindowConf(place);
    if (!file.flush()) return;
  }
  std::rename(partial.c_str(), path.c_str());
}
