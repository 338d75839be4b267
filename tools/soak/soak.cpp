// kravix-soak: the whole game on the headless backend under random keys.
//   kravix-soak --seed N --polls N [--record FILE] [--report FILE] [--require-all]
//               [--autopilot SHARE] [--beam W] [--plan-seconds S] [--slips RATE]
// Runs in the working folder (screenshots land there) with the score file
// where HOME says. The keys are chosen poll by poll from what the screen shows,
// with weights that lead into every screen; Escape is never pressed on the
// title, which would end the program. A share of the level attempts is flown
// by the autopilot, which plans with the solver and slips now and then. After
// the polls F12 ends the game. The recorded keys replay the same run through
// kravix-headless.
// Exit status: 0 clean; 1 when the game's status, the score file or (with
// --require-all) the screens reached fall short; 2 for bad options.
#include <dirent.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/ball.h"
#include "app/level_loop.h"
#include "app/main_cycle.h"
#include "pilot.h"
#include "platform/headless/headless.h"
#include "scores/score_file.h"
#include "scores/score_table.h"
#include "screen_marks.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "world_snapshot.h"

namespace {

// Every key the game reads but F12: the 16 game keys, then the name entry's.
const std::vector<std::string> kGameKeys = {"ENTER", "ESC",  "SPACE", "RSHIFT", "A",  "S",
                                            "UP",    "DOWN", "LEFT",  "RIGHT",  "F1", "F2",
                                            "F3",    "F4",   "F5",    "F6"};
const std::vector<std::string> kTypingKeys = {
    "Q", "W", "E", "R", "T", "Y", "U",     "I",      "O",         "P",   "D",      "F",    "G", "H",
    "J", "K", "L", "Z", "X", "C", "V",     "B",      "N",         "M",   "1",      "2",    "3", "4",
    "5", "6", "7", "8", "9", "0", "MINUS", "EQUALS", "BACKSPACE", "TAB", "LSHIFT", "LCTRL"};
const std::vector<std::string> kFlightKeys = {"A", "S", "RSHIFT", "ENTER", "SPACE"};
const std::vector<int> kClockSteps = {0, 1, 5, 20, 20, 20, 45, 120, 700};

struct Options {
  unsigned seed = 1;
  long polls = 200000;
  std::string recordPath, reportPath;
  bool requireAll = false;
  double autopilotShare = 0.5;  // of the level attempts
  double slipRate = 0.003;      // per piloted poll
  PilotOptions pilot{60, 60};
};

// Keys held for a number of polls.
struct Plan {
  std::vector<std::string> keys;
  long polls = 0;
};

// The autopilot's hold on the present level attempt.
struct Autopilot {
  long attempt = -1;  // the attempt it has decided on
  bool flying = false;
  bool replan = true;  // after a slip, and at the attempt's start
};

struct Tally {
  long polls[kScreenKinds] = {};
  long visits[kScreenKinds] = {};
  long attempts = 0, levelsCompleted = 0, ballsTowed = 0, clockChanges = 0;
  long completedByLevel[8] = {};
  long pilotedAttempts = 0, pilotedPolls = 0, plans = 0, plansNotFound = 0, slips = 0;
  long pilotShots = 0;
  int highestLevel = 0, highestDifficulty = 0;
  int bestScore = 0;
};

Options options;
std::mt19937 generator;  // the driver's own: the game's random() sequence stays untouched
Plan plan;
Autopilot autopilot;
Tally tally;
Screen lastScreen = Screen::kFlying;
bool seenAny = false;
long fed = 0;
int lastLevel = 0, lastDifficulty = 0, lastTowed = 0;
std::string recordLine;
long recordRepeats = 0;
std::ofstream record;

long range(long low, long high) {
  return std::uniform_int_distribution<long>(low, high)(generator);
}
bool chance(double p) {
  return std::uniform_real_distribution<double>(0, 1)(generator) < p;
}
const std::string& pick(const std::vector<std::string>& keys) {
  return keys[static_cast<size_t>(range(0, static_cast<long>(keys.size()) - 1))];
}

Plan hold(std::vector<std::string> keys, long low, long high) {
  return Plan{std::move(keys), range(low, high)};
}

// Up to `most` keys drawn from the game's and the typing keys.
Plan mash(int most, long low, long high, bool allowEscape) {
  std::vector<std::string> keys;
  for (long n = range(0, most); n > 0; --n) {
    const std::string& key = chance(0.7) ? pick(kGameKeys) : pick(kTypingKeys);
    if (key != "ESC" || allowEscape) keys.push_back(key);
  }
  return hold(keys, low, high);
}

Plan titlePlan() {
  if (chance(0.25)) return hold({chance(0.5) ? "ENTER" : "SPACE"}, 1, 40);
  if (chance(0.2)) return hold({}, 1, 100);
  return mash(3, 1, 20, false);
}

Plan introPlan() {
  if (chance(0.8)) return hold({"ENTER"}, 1, 3);
  if (chance(0.3)) return hold({"ESC"}, 1, 10);
  return mash(3, 1, 10, true);
}

Plan flyingPlan() {
  if (levelState.shipDestroyed) return chance(0.4) ? hold({"ESC"}, 1, 5) : mash(3, 1, 30, false);
  const double roll = std::uniform_real_distribution<double>(0, 1)(generator);
  if (roll < 0.50) {
    std::vector<std::string> keys;
    for (const std::string& key : kFlightKeys) {
      if (chance(0.35)) keys.push_back(key);
    }
    return hold(keys, 1, 15);
  }
  if (roll < 0.65) return mash(4, 1, 15, false);
  if (roll < 0.68) return hold({"F1"}, 1, 5);
  if (roll < 0.71) return hold({"F2"}, 1, 3);
  if (roll < 0.74) return hold({"F3"}, 1, 3);
  if (roll < 0.77) return hold({"F4"}, 1, 3);
  if (roll < 0.80) return hold({chance(0.5) ? "F5" : "F6"}, 1, 3);
  if (roll < 0.83) return hold({"ESC"}, 1, 5);
  return hold({}, 1, 30);
}

Plan pausePlan() {
  if (chance(0.4)) return hold({"F2"}, 1, 3);
  return mash(3, 1, 10, false);
}

Plan helpPlan() {
  if (chance(0.4)) return hold({pick({"ENTER", "F1", "ESC"})}, 1, 5);
  return mash(3, 1, 20, false);
}

Plan optionsPlan() {
  if (chance(0.2)) return hold({pick({"ENTER", "F4", "ESC"})}, 1, 5);
  if (chance(0.2)) return hold({}, 1, 10);
  return hold({pick({"A", "S", "UP", "DOWN", "LEFT", "RIGHT", "SPACE"})}, 1, 8);
}

Plan nameEntryPlan() {
  if (chance(0.08)) return hold({pick({"ENTER", "ESC"})}, 1, 5);
  if (chance(0.1)) return hold({}, 1, 5);
  if (chance(0.2)) return hold({pick(kTypingKeys), pick(kTypingKeys)}, 1, 4);
  return hold({chance(0.9) ? pick(kTypingKeys) : "SPACE"}, 1, 4);
}

Plan highScoresPlan() {
  if (chance(0.4)) return hold({pick({"ENTER", "SPACE", "ESC"})}, 1, 5);
  std::vector<std::string> keys;
  for (long n = range(0, 3); n > 0; --n) keys.push_back(pick(kTypingKeys));
  return hold(keys, 1, 20);
}

Plan planFor(Screen screen) {
  switch (screen) {
    case Screen::kTitle:
      return titlePlan();
    case Screen::kIntro:
      return introPlan();
    case Screen::kFlying:
      return flyingPlan();
    case Screen::kPause:
      return pausePlan();
    case Screen::kHelp:
      return helpPlan();
    case Screen::kOptions:
      return optionsPlan();
    case Screen::kNameEntry:
      return nameEntryPlan();
    case Screen::kHighScores:
      return highScoresPlan();
  }
  return hold({}, 1, 1);
}

void flushRecord() {
  if (record.is_open() && recordRepeats > 0) record << recordLine << ' ' << recordRepeats << '\n';
  recordRepeats = 0;
}

// Polls with the same keys are merged into one script line ("hold A S 12").
void recordPoll(const std::string& keys) {
  if (!record.is_open()) return;
  if (keys == recordLine && recordRepeats > 0) {
    ++recordRepeats;
    return;
  }
  flushRecord();
  recordLine = keys;
  recordRepeats = 1;
}

void appendCommand(const std::string& text) {
  std::string error;
  if (!headlessAppendScript(text + "\n", &error)) {
    std::fprintf(stderr, "kravix-soak: %s\n", error.c_str());
    std::exit(2);
  }
}

// Now and then frames of another length, down to none and up past the clamps.
void changeClockStep() {
  const std::string command =
      "clock " + std::to_string(kClockSteps[static_cast<size_t>(range(0, 8))]);
  appendCommand(command);
  flushRecord();
  if (record.is_open()) record << command << '\n';
  tally.clockChanges += 1;
}

void count(Screen screen) {
  tally.polls[static_cast<int>(screen)] += 1;
  if (!seenAny || screen != lastScreen) tally.visits[static_cast<int>(screen)] += 1;
  if (screen == Screen::kIntro && (!seenAny || lastScreen != Screen::kIntro)) tally.attempts += 1;
  if (gameState.level != lastLevel || gameState.difficulty != lastDifficulty) {
    if (gameState.level == lastLevel + 1 || gameState.difficulty == lastDifficulty + 1) {
      tally.levelsCompleted += 1;
      tally.completedByLevel[lastLevel & 7] += 1;
    }
  }
  if (levelState.ballTowed && !lastTowed) tally.ballsTowed += 1;
  lastLevel = gameState.level, lastDifficulty = gameState.difficulty;
  lastTowed = levelState.ballTowed;
  if (gameState.level > tally.highestLevel) tally.highestLevel = gameState.level;
  if (gameState.difficulty > tally.highestDifficulty)
    tally.highestDifficulty = gameState.difficulty;
  if (gameState.score > tally.bestScore) tally.bestScore = gameState.score;
  lastScreen = screen;
  seenAny = true;
}

const char* const kKeyNames[] = {"RSHIFT", "A", "S", "SPACE", "ENTER"};  // by kKey bit

std::vector<std::string> namesOf(uint8_t keys) {
  std::vector<std::string> names;
  for (int bit = 0; bit < 5; ++bit) {
    if (keys & (1 << bit)) names.push_back(kKeyNames[bit]);
  }
  return names;
}

void feedOnePoll();

// A picture of the screen while the pilot flies; the replay writes it too, so
// a replay that strays from the soak shows up in these files.
void shootPilotView() {
  constexpr long kMostShots = 200;
  if (tally.pilotShots >= kMostShots) return;
  char name[32];
  std::snprintf(name, sizeof name, "pilot%03ld", tally.pilotShots++);
  const std::string command = std::string("shot ") + name;
  appendCommand(command);
  flushRecord();
  if (record.is_open()) record << command << '\n';
}

bool inFlight(Screen screen) {
  return screen == Screen::kFlying && !levelState.shipDestroyed && !levelState.ballDestroyed &&
         !levelLoop.levelDone;
}

// Plans anew when asked to or when the plan has run out; false when no plan is found.
bool plannedKeys(uint8_t* keys) {
  if (!autopilot.replan && nextPlannedKeys(keys)) return true;
  autopilot.replan = false;
  tally.plans += 1;
  const bool found = planFlight(options.pilot);
  headlessSetScriptFeeder(feedOnePoll);
  if (!found || !nextPlannedKeys(keys)) {
    tally.plansNotFound += 1;
    return false;
  }
  shootPilotView();
  return true;
}

// A slip: one flight key dropped or added for a single frame.
uint8_t slip(uint8_t keys) {
  tally.slips += 1;
  autopilot.replan = true;
  return static_cast<uint8_t>(keys ^ (1 << range(0, 4)));
}

// The autopilot's keys for this poll, when it flies the present attempt.
bool pilotKeys(Screen screen, std::vector<std::string>* keys) {
  if (autopilot.attempt != tally.attempts) {
    autopilot = Autopilot{tally.attempts, chance(options.autopilotShare), true};
    if (autopilot.flying) tally.pilotedAttempts += 1;
  }
  if (!autopilot.flying || !inFlight(screen)) return false;
  uint8_t bits = 0;
  if (!plannedKeys(&bits)) {
    autopilot.flying = false;  // random keys for the rest of this attempt
    return false;
  }
  if (chance(options.slipRate)) bits = slip(bits);
  if (++tally.pilotedPolls % 250 == 0) shootPilotView();
  *keys = namesOf(bits);
  return true;
}

// Called by the headless keyboard at every poll: one poll of keys at a time.
void feedOnePoll() {
  if (fed >= options.polls) return;  // nothing more: F12 is held and the game ends
  ++fed;
  const Screen screen = recogniseScreen(headlessScreen());
  const Screen previous = lastScreen;
  count(screen);
  std::vector<std::string> keys;
  if (!pilotKeys(screen, &keys)) {
    if (plan.polls <= 0 || screen != previous) {
      plan = planFor(screen);
      if (chance(0.01)) changeClockStep();
    }
    plan.polls -= 1;
    keys = plan.keys;
  }
  std::string line = "hold";
  for (const std::string& key : keys) {
    if (key == "ESC" && screen == Screen::kTitle) continue;  // would end the program
    line += ' ' + key;
  }
  if (line == "hold") line = "wait";
  appendCommand(line + " 1");
  recordPoll(line);
}

bool parseOptions(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (option == "--require-all") {
      options.requireAll = true;
      continue;
    }
    if (!value) return false;
    ++i;
    if (option == "--seed") {
      options.seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
    } else if (option == "--polls") {
      options.polls = std::strtol(value, nullptr, 10);
      if (options.polls < 1 || options.polls > 900000) return false;
    } else if (option == "--autopilot") {
      options.autopilotShare = std::strtod(value, nullptr);
      if (!(options.autopilotShare >= 0 && options.autopilotShare <= 1)) return false;
    } else if (option == "--slips") {
      options.slipRate = std::strtod(value, nullptr);
      if (!(options.slipRate >= 0 && options.slipRate <= 1)) return false;
    } else if (option == "--beam") {
      options.pilot.beamWidth = static_cast<int>(std::strtol(value, nullptr, 10));
      if (options.pilot.beamWidth < 1 || options.pilot.beamWidth > 5000) return false;
    } else if (option == "--plan-seconds") {
      options.pilot.secondsAllowed = std::strtod(value, nullptr);
      if (!(options.pilot.secondsAllowed > 0)) return false;
    } else if (option == "--record") {
      options.recordPath = value;
    } else if (option == "--report") {
      options.reportPath = value;
    } else {
      return false;
    }
  }
  return true;
}

int countScreenshots() {
  int files = 0;
  if (DIR* folder = opendir(".")) {
    while (dirent* entry = readdir(folder)) {
      const char* name = entry->d_name;
      if (std::strlen(name) == 12 && std::strncmp(name, "screen", 6) == 0 &&
          std::strcmp(name + 8, ".ppm") == 0)
        ++files;
    }
    closedir(folder);
  }
  return files;
}

// The file the game saved last must hold the table and settings it ended with.
std::string checkScoreFile() {
  std::ifstream file(scoreFilePath, std::ios::binary);
  if (!file) return "no score file";
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), {});
  if (bytes.size() != kScoreFileBytes)
    return "score file of " + std::to_string(bytes.size()) + " bytes";
  if (!scoreFileChecksumHolds(bytes.data())) return "score file checksum fails";
  char names[kScoreRows][kNameField];
  uint32_t scores[kScoreRows];
  std::memcpy(names, highScoreNames, sizeof names);
  std::memcpy(scores, highScores, sizeof scores);
  const Settings before = settings;
  decodeScoreFile(bytes.data(), bytes.size());
  if (std::memcmp(names, highScoreNames, sizeof names) != 0 ||
      std::memcmp(scores, highScores, sizeof scores) != 0)
    return "score file table differs from the game's";
  if (std::memcmp(&before, &settings, sizeof before) != 0) return "score file settings differ";
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  if (!parseOptions(argc, argv)) {
    std::fprintf(stderr,
                 "usage: kravix-soak --seed N --polls N [--record FILE] [--report FILE] "
                 "[--require-all]\n"
                 "                   [--autopilot SHARE] [--beam W] [--plan-seconds S] "
                 "[--slips RATE]\n");
    return 2;
  }
  generator.seed(options.seed);
  takeOverRandomState();
  if (!options.recordPath.empty()) record.open(options.recordPath);
  prepareScreenMarks();
  std::string error;
  headlessLoadScript("", &error);
  headlessSetScriptFeeder(feedOnePoll);
  const int status = kravixMain();
  flushRecord();
  record.close();

  const std::string scoreFault = checkScoreFile();
  const int screenshots = countScreenshots();
  bool allReached = screenshots > 0;
  for (long visits : tally.visits) allReached = allReached && visits > 0;

  std::FILE* out =
      options.reportPath.empty() ? stderr : std::fopen(options.reportPath.c_str(), "w");
  if (!out) out = stderr;
  std::fprintf(out, "seed %u: %ld polls fed, %ld polls in all, %ld presents, exit status %d\n",
               options.seed, fed, headlessPollCount(), headlessPresentCount(), status);
  for (int kind = 0; kind < kScreenKinds; ++kind) {
    std::fprintf(out, "  %-12s %6ld visits %8ld polls\n", screenName(static_cast<Screen>(kind)),
                 tally.visits[kind], tally.polls[kind]);
  }
  std::fprintf(out, "  screenshots  %d files\n", screenshots);
  std::fprintf(out,
               "  attempts %ld, levels completed %ld, balls towed %ld, highest level %d, "
               "highest difficulty %d, best score %d, clock changes %ld\n",
               tally.attempts, tally.levelsCompleted, tally.ballsTowed, tally.highestLevel + 1,
               tally.highestDifficulty + 1, tally.bestScore * 100, tally.clockChanges);
  std::fprintf(out, "  completed by level:");
  for (int level = 0; level < 8; ++level)
    std::fprintf(out, " %d: %ld%s", level + 1, tally.completedByLevel[level],
                 level < 7 ? "," : "\n");
  std::fprintf(out, "  autopilot: %ld attempts flown, %ld plans (%ld not found), %ld slips\n",
               tally.pilotedAttempts, tally.plans, tally.plansNotFound, tally.slips);
  std::fprintf(out, "  score file: %s\n",
               scoreFault.empty() ? "passes its check" : scoreFault.c_str());
  std::fprintf(out, "  every screen reached: %s\n", allReached ? "yes" : "no");
  if (out != stderr) std::fclose(out);

  if (status != 0 || !scoreFault.empty()) return 1;
  if (options.requireAll && !allReached) return 1;
  return 0;
}
