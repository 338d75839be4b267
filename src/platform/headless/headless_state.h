// State shared by the headless backend's files; nothing outside the backend reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ScriptCommand {
  enum Kind { kWait, kHold, kShot, kClock } kind;
  long polls;                  // wait, hold
  std::vector<int> scancodes;  // hold
  std::string name;            // shot
  int clockMs;                 // clock
};

struct HeadlessState {
  bool graphicsMode = false;
  bool keyboardOpen = false;
  bool translateCursorKeys = false;
  uint8_t videoMemory[64000] = {};
  uint8_t palette[768] = {};
  long presents = 0;

  std::vector<ScriptCommand> script;
  size_t nextCommand = 0;
  long pollsLeftInCommand = 0;
  bool scriptDone = false;
  long polls = 0;
  bool held[128] = {};
  void (*feeder)() = nullptr;

  std::string outDir = ".";
  int frameMs = 20;
  long long clockMicros = 1000000000LL * 1000000LL;
};

HeadlessState& headlessState();
