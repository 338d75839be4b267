// A beam search over the keys of one level attempt, played by the game's own
// level frame from saved worlds. Each step holds one key combination for a few
// frames; the steps kept are the most advanced by the cave map (to the ball,
// then with it to the sky), one per coarse state, so that the beam stays wide.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cave_map.h"
#include "world_snapshot.h"

// Key bits of one step.
constexpr uint8_t kKeyThrust = 1, kKeyLeft = 2, kKeyRight = 4, kKeyTag = 8, kKeyFire = 16;

struct SearchOptions {
  int beamWidth = 300;
  int holdFrames = 4;
  double secondsAllowed = 600;  // processor seconds
  bool quiet = false;
  bool atIntro = true;  // the world is at the level's intro; else in flight, between two frames
};

struct KeyRun {
  uint8_t keys;
  int frames;
};

struct SearchResult {
  bool won = false;
  std::vector<KeyRun> runs;  // from the level's first frame to its last
  long framesPlayed = 0;     // by the search, all branches together
  double seconds = 0;        // processor seconds the search took
};

// From the level's intro (the world as `atIntro` holds it, Enter not yet
// pressed), or from a world in flight; leaves the world wherever the search left it.
SearchResult searchLevel(const CaveMap& map, const WorldSnapshot& atIntro,
                         const SearchOptions& options);
// The keys of a run as runner script lines.
std::string scriptOf(const std::vector<KeyRun>& runs);
