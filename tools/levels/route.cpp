#include "route.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/main_cycle.h"
#include "platform/headless/headless.h"
#include "state/game_state.h"
#include "state/level_state.h"

namespace {

constexpr float kStartX = 1200, kStartY = 550;

struct Recording {
  std::vector<std::string> polls;  // one poll's command each, with the free commands before it
  size_t next = 0;
  int level = 0;
  bool finished = false;
  Route* route = nullptr;
};

Recording recording;

bool atRestOnStart() {
  const LevelState& s = levelState;
  return s.posX == kStartX && s.posY == kStartY && s.velX == 0 && s.velY == 0;
}

void takePoint() {
  const LevelState& s = levelState;
  std::vector<RoutePoint>& points = recording.route->points;
  if (recording.finished) return;
  if (gameState.level != recording.level) {
    recording.finished = !points.empty();  // the level was left: later visits are not drawn
    return;
  }
  const RoutePoint point{static_cast<int>(s.posX), static_cast<int>(s.posY), s.ballTowed != 0,
                         false};
  const bool moved = points.empty() || points.back().x != point.x || points.back().y != point.y;
  if (atRestOnStart() && moved) {
    points.push_back({point.x, point.y, false, true});
    return;
  }
  if (points.empty() || !moved) return;  // before the first attempt, or between frames
  if (point.towing && !points.back().towing)
    recording.route->tags.push_back({s.ballX, s.ballY, true, false});
  points.push_back(point);
}

void feedOnePoll() {
  takePoint();
  if (recording.next < recording.polls.size())
    headlessAppendScript(recording.polls[recording.next++], nullptr);
}

// The script with every waiting or holding command split into single polls;
// screenshots are left out, so that a route run writes no files.
std::vector<std::string> splitIntoPolls(const std::string& script) {
  std::vector<std::string> polls;
  std::istringstream lines(script);
  std::string line, pending;
  while (std::getline(lines, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::vector<std::string> command;
    for (std::string word; words >> word;) command.push_back(word);
    if (command.empty()) continue;
    if (command[0] == "clock") pending.append(line).append(1, '\n');
    if (command[0] != "wait" && command[0] != "hold") continue;
    const long count = std::strtol(command.back().c_str(), nullptr, 10);
    std::string onePoll;
    for (size_t i = 0; i + 1 < command.size(); ++i) onePoll.append(command[i]).append(1, ' ');
    onePoll.append("1\n");
    for (long n = 0; n < count; ++n) {
      polls.push_back(pending + onePoll);
      pending.clear();
    }
  }
  return polls;
}

}  // namespace

bool recordRoute(const std::string& script, int level, Route* route, std::string* error) {
  if (!headlessLoadScript(script, error)) return false;  // checks every line
  headlessLoadScript("", nullptr);
  recording = Recording{splitIntoPolls(script), 0, level, false, route};
  // As the runner plays it: a fresh HOME, which is also where screenshots land.
  const std::filesystem::path back = std::filesystem::current_path();
  char folder[] = "/tmp/kravix-route.XXXXXX";
  if (!mkdtemp(folder) || chdir(folder) != 0) {
    if (error) *error = "no folder of its own to play in";
    return false;
  }
  setenv("HOME", folder, 1);
  headlessSetScriptFeeder(feedOnePoll);
  kravixMain();
  headlessSetScriptFeeder(nullptr);
  std::filesystem::current_path(back);
  std::filesystem::remove_all(folder);
  return true;
}
