#include "world/level_data.h"

#include "state/level_state.h"
#include "world/gates.h"
#include "world/turrets.h"

Box boxes[kBoxSlots];
int lastBox;

namespace {

constexpr int kLastTerminatorSlot = kBoxSlots - 2;  // a level holds at most 1999 boxes
constexpr int kMaxLastTurret = kTurretSlots - 1;

int readPosition;

int32_t nextWord(int level) {
  int32_t word = 0;
  readLevelWord(level, &word);
  return word;
}

void registerGate(int slot, int* gateSlot) {
  gates[*gateSlot] = Gate{slot, boxes[slot].x2, 0};
  if (*gateSlot < kGateSlots - 1) ++*gateSlot;
}

// Box records up to and including the terminator; returns the terminator's
// slot, or the slot after the last one a terminator may take when there is none.
int readBoxes(int level) {
  int gateSlot = 0;
  for (int slot = 0; slot < kBoxSlots; ++slot) {
    Box& box = boxes[slot];
    box.x1 = nextWord(level);
    box.y1 = nextWord(level);
    box.x2 = nextWord(level);
    box.y2 = nextWord(level);
    box.colour = nextWord(level);
    if (box.colour == kGateBoxColour) registerGate(slot, &gateSlot);
    if (box.colour == 0 && slot <= kLastTerminatorSlot) return slot;
  }
  return kLastTerminatorSlot + 1;
}

void readTurrets(int level) {
  for (int i = 0; i <= lastTurret; ++i) {
    turrets[i].x = nextWord(level);
    turrets[i].y = nextWord(level);
    turrets[i].kind = nextWord(level);
  }
}

}  // namespace

void readLevelWord(int level, int32_t* destination) {
  const LevelTable& table = levelTables[level];
  *destination = readPosition < table.count ? table.words[readPosition] : 0;
  ++readPosition;
}

bool buildLevel(int level, int loadTurrets) {
  readPosition = 0;
  for (Gate& gate : gates) gate.boxIndex = 0;
  lastBox = readBoxes(level);
  const bool complete = lastBox <= kLastTerminatorSlot;
  levelState.ballX = nextWord(level);
  levelState.ballY = nextWord(level);
  lastTurret = nextWord(level);
  if (lastTurret > kMaxLastTurret) lastTurret = kMaxLastTurret;
  if (loadTurrets) readTurrets(level);
  return complete;
}
