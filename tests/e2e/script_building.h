// Pieces of scripts for whole runs of kravix-headless: the way from the
// program's start into level 1, steady thrust patterns, and the scripts kept
// beside the tests.
#pragma once

#include <string>

#include "support/test_support.h"

// From the program's start to the first frame of level 1: the title, its end,
// and the intro's Enter. The next poll is the level's first frame.
inline constexpr char kIntoLevelOne[] =
    "wait 2\n"
    "hold ENTER 1  # the title screen\n"
    "wait 300      # time for the title to finish; the intro waits\n"
    "hold ENTER 1  # the intro of level 1\n";

inline std::string testScript(const std::string& name) {
  return readWhole(std::string(KRAVIX_SOURCE_DIR) + "/tests/e2e/" + name);
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
