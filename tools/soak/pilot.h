// The soak driver's autopilot: reads the running level's records and picks
// the keys that fly the ship down to the ball, tag it and tow it up out of
// the cave, so that random play also completes levels. It only reads.
#pragma once

struct PilotKeys {
  bool left, right, thrust, tag;
};

// Starts a new flight plan from where the ship is now.
void startPilot();
PilotKeys pilotKeys();
