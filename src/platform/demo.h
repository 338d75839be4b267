// Demo seam: a run may start from the table and settings a demo carries
// instead of the score file, and a recording writes down the ones the run
// starts from. The game marks each level's end, when a recording writes out
// what it has buffered. Both backends implement it (src/platform/script/).
#pragma once

#include <cstdint>

constexpr int kDemoRows = 21;
constexpr int kDemoNameLength = 20;
constexpr int kDemoSettings = 6;

struct DemoTable {
  uint8_t settings[kDemoSettings];  // in the score file's order
  char names[kDemoRows][kDemoNameLength + 1];
  uint32_t scores[kDemoRows];
};

enum class DemoStart {
  kScoreFile,        // as always: defaults, then the score file
  kDemoTable,        // the demo's table; the score file is saved as always
  kDemoTableNoFile,  // the demo's table; the score file is neither read nor written
  kDefaultsNoFile,   // the defaults; the score file is neither read nor written
};

// How this run starts; fills *table for the two demo-table cases.
DemoStart demoStart(DemoTable* table);
// The table and settings the run starts from, for a recording.
void recordDemoStart(const DemoTable& table);
// A level has ended: a good moment to write out what a recording holds.
void markDemoLevelEnd();
