// The path a runner script flies through one level: the game runs the script
// from the program's start on the headless backend, fed one poll at a time, in
// a fresh HOME and folder of its own as the runner would, and the flight point
// is taken between the level's frames. An attempt starts
// where the ship stands at rest at its start; a lost attempt ends one part of
// the path and the next attempt begins another.
#pragma once

#include <string>
#include <vector>

struct RoutePoint {
  int x, y;
  bool towing;  // the ball hangs on the rod
  bool first;   // of an attempt
};

struct Route {
  std::vector<RoutePoint> points;
  std::vector<RoutePoint> tags;  // where the ball was when it was taken in tow
};

// Plays the script to its end for level `level` (0..7); false with *error on a bad script.
bool recordRoute(const std::string& script, int level, Route* route, std::string* error);
