// kravix-solve: finds keys that win levels, played by the game itself on the
// headless backend.
//   kravix-solve --level N [--to M] [--difficulty D] [--settings turnSpeed=T]
//                [--prefix SCRIPT] [--beam W] [--seconds S] --out FILE
// The game runs from its start through SCRIPT (by default the title screen
// and nothing more) to a level's intro; there the solver searches keys for
// that level, and the game then plays them for real, on to the next intro.
// With --to it goes on level after level. The script written is SCRIPT and
// every level's keys: a runner script that wins them from the program's
// start. --difficulty, --settings and a level other than the next one
// without a prefix jump there from level 1's intro instead; the keys then
// start at that intro and only the solver can reach it.
// --seconds limits each level's search, in processor seconds (default 600).
// Exit status: 0 every level won, 1 a level not won, 2 bad options.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/main_cycle.h"
#include "beam_search.h"
#include "cave_map.h"
#include "platform/script/script_file.h"
#include "platform/vga.h"
#include "video/frame_buffer.h"
#include "world_snapshot.h"

namespace {

constexpr char kTitleToFirstIntro[] =
    "# the title screen, then the intro of level 1\n"
    "wait 2\nhold ENTER 1\nwait 300\n";

struct Job {
  int firstLevel = 0, lastLevel = 0;  // 0..7
  int difficulty = 0;
  int turnSpeed = 50;
  bool jump = false;  // put the game at the level instead of playing there
  SearchOptions search;
  std::string prefix = kTitleToFirstIntro;
  const char* out = nullptr;
};

struct Progress {
  int level = -1;  // the level whose keys the game is playing now
  int polls = 0;
  bool finished = false;
  bool failed = false;
  std::string script;
};

Job job;
Progress progress;

int usage(const char* why) {
  std::fprintf(stderr,
               "kravix-solve: %s\n"
               "usage: kravix-solve --level N [--to M] [--difficulty D] [--settings turnSpeed=T]\n"
               "                    [--prefix SCRIPT] [--beam W] [--seconds S] --out FILE\n",
               why);
  return 2;
}

bool parseNumber(const char* text, int low, int high, int* value) {
  char* end = nullptr;
  const long number = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || number < low || number > high) return false;
  *value = static_cast<int>(number);
  return true;
}

bool parseOption(const char* name, const char* value) {
  int number = 0;
  if (!std::strcmp(name, "--level") && parseNumber(value, 1, 8, &number)) {
    job.firstLevel = job.lastLevel = number - 1;
  } else if (!std::strcmp(name, "--to") && parseNumber(value, 1, 8, &number)) {
    job.lastLevel = number - 1;
  } else if (!std::strcmp(name, "--difficulty") && parseNumber(value, 0, 99, &number)) {
    job.difficulty = number;
  } else if (!std::strcmp(name, "--settings") && !std::strncmp(value, "turnSpeed=", 10) &&
             parseNumber(value + 10, 30, 70, &number)) {
    job.turnSpeed = number;
  } else if (!std::strcmp(name, "--beam") && parseNumber(value, 1, 100000, &number)) {
    job.search.beamWidth = number;
  } else if (!std::strcmp(name, "--seconds") && parseNumber(value, 1, 1000000, &number)) {
    job.search.secondsAllowed = number;
  } else if (!std::strcmp(name, "--prefix")) {
    std::string error;
    return readScriptFile(value, &job.prefix, &error);
  } else if (!std::strcmp(name, "--out")) {
    job.out = value;
  } else {
    return false;
  }
  return true;
}

bool writeScript() {
  std::ofstream out(job.out, std::ios::binary | std::ios::trunc);
  out << job.prefix << progress.script;
  return static_cast<bool>(out.flush());
}

// What the screen and the frame buffer hold at the intro, put back after the search.
struct Screen {
  unsigned char video[kFrameBytes];
  unsigned char palette[768];
  FrameBuffer frame;
};

void saveScreen(Screen* screen) {
  std::memcpy(screen->video, vga_getgraphmem(), kFrameBytes);
  std::memcpy(screen->palette, headlessPalette(), sizeof screen->palette);
  screen->frame = frameBuffer;
}

void restoreScreen(const Screen& screen) {
  std::memcpy(vga_getgraphmem(), screen.video, kFrameBytes);
  for (int i = 0; i < 256; ++i) {
    vga_setpalette(i, screen.palette[3 * i], screen.palette[3 * i + 1], screen.palette[3 * i + 2]);
  }
  frameBuffer = screen.frame;
}

void jumpToLevel(int level) {
  gameState.level = level;
  gameState.difficulty = job.difficulty;
  settings.turnSpeed = static_cast<uint8_t>(job.turnSpeed);
  buildLevel(level, 1);
}

// A beam in which every branch was lost keeps too few ways open: the search
// starts again twice as wide, up to four times, while its time lasts.
SearchResult searchWidening(const CaveMap& map, const WorldSnapshot& atIntro) {
  SearchOptions options = job.search;
  SearchResult result = searchLevel(map, atIntro, options);
  double seconds = result.seconds;
  long frames = result.framesPlayed;
  while (!result.won && seconds < options.secondsAllowed &&
         options.beamWidth < 4 * job.search.beamWidth) {
    options.beamWidth *= 2;
    std::fprintf(stderr, "\n  every branch was lost: again with a beam of %d\n", options.beamWidth);
    SearchOptions rest = options;
    rest.secondsAllowed = job.search.secondsAllowed - seconds;
    result = searchLevel(map, atIntro, rest);
    seconds += result.seconds;
    frames += result.framesPlayed;
  }
  result.seconds = seconds;
  result.framesPlayed = frames;
  return result;
}

// At the intro of `level`: searches, puts the world back as it was, and hands
// the game the winning keys.
void solveAt(int level) {
  void (*feeder)() = nullptr;
  static WorldSnapshot atIntro;
  static Screen screen;
  saveScreen(&screen);
  saveWorld(&atIntro);
  CaveMap map;
  buildCaveMap(&map);
  std::fprintf(stderr, "level %d, difficulty %d, turn speed %d:\n", level + 1, gameState.difficulty,
               settings.turnSpeed);
  headlessSetScriptFeeder(feeder);
  const SearchResult result = searchWidening(map, atIntro);
  restoreWorld(atIntro);
  restoreScreen(screen);
  int frames = 0;
  for (const KeyRun& run : result.runs) frames += run.frames;
  std::fprintf(stderr, "\n  %s: %d polls, %ld frames searched, %.1f s of processor time\n",
               result.won ? "won" : "not won", frames + 1, result.framesPlayed, result.seconds);
  if (!result.won) {
    progress.failed = true;
    return;
  }
  char header[160];
  std::snprintf(header, sizeof header,
                "# level %d: %d polls, found in %.0f s\nhold ENTER 1  # the intro's Enter\n",
                level + 1, frames + 1, result.seconds);
  const std::string keys = std::string(header) + scriptOf(result.runs);
  progress.script += keys;
  progress.polls = frames + 1;
  progress.level = level;
  headlessLoadScript(keys, nullptr);
  writeScript();  // a long run keeps what it has won so far
}

// Called by the backend whenever the keys given so far are used up: at the
// first intro after the prefix, and at every intro after a level's keys.
void onKeysUsedUp() {
  if (progress.finished || progress.failed) return;  // F12 from here on
  if (progress.level >= 0 && gameState.level != (progress.level + 1) % 8) {
    std::fprintf(stderr, "kravix-solve: the game did not win level %d with the keys found\n",
                 progress.level + 1);
    progress.failed = true;
    return;
  }
  const int next = progress.level < 0 ? job.firstLevel : progress.level + 1;
  if (progress.level >= job.lastLevel || next > job.lastLevel) {
    progress.finished = true;
    char expectation[160];
    std::snprintf(expectation, sizeof expectation,
                  "# expect: level %d, difficulty %d, ships %d, score %d\n", gameState.level + 1,
                  gameState.difficulty + 1, gameState.ships, gameState.score * 100);
    progress.script += std::string(expectation) + "wait 20  # the next intro\n";
    headlessLoadScript("wait 20\n", nullptr);
    return;
  }
  if (progress.level < 0 && job.jump) jumpToLevel(next);
  if (gameState.level != next) {
    std::fprintf(stderr, "kravix-solve: the prefix ends at level %d's intro, not at level %d's\n",
                 gameState.level + 1, next + 1);
    progress.failed = true;
    return;
  }
  solveAt(next);
  headlessSetScriptFeeder(onKeysUsedUp);
}

// The score file goes to a folder of our own, never the player's.
void useOwnHome() {
  static char home[] = "/tmp/kravix-solve.XXXXXX";
  if (mkdtemp(home)) setenv("HOME", home, 1);
}

}  // namespace

int main(int argc, char** argv) {
  bool levelGiven = false;
  for (int i = 1; i < argc; i += 2) {
    if (i + 1 >= argc || !parseOption(argv[i], argv[i + 1])) return usage("bad option");
    levelGiven |= !std::strcmp(argv[i], "--level");
  }
  if (!levelGiven || !job.out) return usage("--level and --out are required");
  if (job.lastLevel < job.firstLevel) return usage("--to comes before --level");
  const bool prefixGiven = job.prefix != kTitleToFirstIntro;
  job.jump = job.difficulty != 0 || job.turnSpeed != 50 || (!prefixGiven && job.firstLevel != 0);
  takeOverRandomState();
  useOwnHome();
  std::string error;
  if (!headlessLoadScript(job.prefix, &error)) return usage(error.c_str());
  headlessSetScriptFeeder(onKeysUsedUp);
  kravixMain();
  if (!writeScript()) {
    std::fprintf(stderr, "kravix-solve: cannot write %s\n", job.out);
    return 1;
  }
  return progress.finished && !progress.failed ? 0 : 1;
}
