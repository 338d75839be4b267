// Pieces of scripts for whole runs of kravix-headless: the way from the
// program's start into level 1, level 1 won, and steady thrust patterns.
#pragma once

#include <string>
#include <vector>

#include "support/test_support.h"

// From the program's start to the first frame of level 1: the title, its end,
// and the intro's Enter. The next poll is the level's first frame.
inline constexpr char kIntoLevelOne[] =
    "wait 2\n"
    "hold ENTER 1  # the title screen\n"
    "wait 300      # time for the title to finish; the intro waits\n"
    "hold ENTER 1  # the intro of level 1\n";

// Level 1 won from the program's start as the playthrough wins it, with a shot
// "level1" in its first frames and "towing" near its end; level 2's intro is up
// when the keys end.
inline std::string levelOneWon() {
  const std::string round = readWhole(std::string(KRAVIX_SOURCE_DIR) + "/demos/playthrough.script");
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = round.find('\n', at)) < round.find("# level 2"); at = end + 1)
    lines.push_back(round.substr(at, end + 1 - at));
  std::string script;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i + 30 == lines.size()) script += "shot towing\n";
    script += lines[i];
    if (i > 0 && lines[i - 1].starts_with("hold ENTER 1  # the intro")) script += "shot level1\n";
  }
  return script;
}

// Runs of `length` frames with thrust in `thrusting` of them, spread evenly.
// Thrust on 3 of every 10 frames holds an upright ship's height: the thrust
// of 1/3 against gravity's 0.1.
inline std::string thrustCycles(int cycles, int thrusting, int length = 20) {
  std::string script;
  for (int frame = 0; frame < cycles * length; ++frame) {
    const int f = frame % length;
    script +=
        f * thrusting / length == (f + 1) * thrusting / length ? "wait 1\n" : "hold RSHIFT 1\n";
  }
  return script;
}
