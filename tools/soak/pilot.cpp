#include "pilot.h"

#include <cstring>
#include <memory>
#include <vector>

#include "beam_search.h"
#include "cave_map.h"
#include "platform/vga.h"
#include "world_snapshot.h"

namespace {

struct Plan {
  std::vector<uint8_t> keys;  // one entry per frame
  size_t next = 0;
};

struct MappedLevel {
  CaveMap map;
  int level = -1, difficulty = -1;
};

Plan plan;
MappedLevel mapped;

// The map is drawn once per level: rock, turrets and the ball's stand as the level began.
const CaveMap& caveMapOfThisLevel() {
  if (mapped.level != gameState.level || mapped.difficulty != gameState.difficulty) {
    buildCaveMap(&mapped.map);
    mapped.level = gameState.level;
    mapped.difficulty = gameState.difficulty;
  }
  return mapped.map;
}

void takePlan(const SearchResult& result) {
  plan = Plan{};
  if (!result.won) return;
  for (const KeyRun& run : result.runs) plan.keys.insert(plan.keys.end(), run.frames, run.keys);
}

}  // namespace

bool planFlight(const PilotOptions& options) {
  static auto now = std::make_unique<WorldSnapshot>();
  static auto shown = std::make_unique<unsigned char[]>(kFrameBytes);
  const CaveMap& map = caveMapOfThisLevel();
  saveWorld(now.get());
  std::memcpy(shown.get(), vga_getgraphmem(), kFrameBytes);
  headlessSetScriptFeeder(nullptr);  // the search's own scripts end where it wants them to

  SearchOptions search;
  search.beamWidth = options.beamWidth;
  search.secondsAllowed = options.secondsAllowed;
  search.quiet = true;
  search.atIntro = false;
  takePlan(searchLevel(map, *now, search));

  restoreWorld(*now);
  std::memcpy(vga_getgraphmem(), shown.get(), kFrameBytes);
  headlessLoadScript("", nullptr);  // the feeder's caller finds an empty script, as before
  return !plan.keys.empty();
}

bool nextPlannedKeys(uint8_t* keys) {
  if (plan.next >= plan.keys.size()) return false;
  *keys = plan.keys[plan.next++];
  return true;
}
