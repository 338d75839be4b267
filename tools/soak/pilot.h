// The soak driver's autopilot: plans keys that win the running level with the
// solver's beam search, from the world as it stands between two frames, and
// hands them out one frame at a time. The world is saved before the search and
// put back after it (the game's records, random()'s state, the backend's clock
// and screen), so the game plays on exactly as if no search had run.
// takeOverRandomState() must have been called before the game started.
#pragma once

#include <cstdint>

struct PilotOptions {
  int beamWidth;
  double secondsAllowed;  // per search
};

// Searches from the present world; false when no plan was found. Call it only
// from the keyboard feeder at a level frame's poll; the feeder must then be
// set again, as the search runs without one.
bool planFlight(const PilotOptions& options);
// The next frame's keys of the plan (the solver's kKey bits); false when the plan has run out.
bool nextPlannedKeys(uint8_t* keys);
