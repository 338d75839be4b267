#include "world_snapshot.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "app/frame_timing.h"
#include "app/ship.h"
#include "sound/sound_effects.h"

namespace {

// random() keeps its read position outside its state array and writes it
// into the array's first word only when setstate leaves the array, so two
// arrays take turns: saving parks the position in the active one; restoring
// fills the other and switches to it.
alignas(8) char randomStates[2][kRandomStateBytes];
int activeRandomState;

template <typename T, size_t N>
void copyTable(T (&to)[N], const T (&from)[N]) {
  std::copy(std::begin(from), std::end(from), std::begin(to));
}

// Exhaust is spawned into the lowest free record, so the live ones sit low in
// the pool; records past the last live one need not be copied.
int liveExhaustSpan() {
  int count = kExhaustSlots;
  while (count > 0 && exhaust[count - 1].life <= 0) --count;
  return count;
}

}  // namespace

void takeOverRandomState() {
  // Copy the generator's present state into our first array: setstate parks
  // the position in the old (library) array, which it hands back.
  char* library = setstate(randomStates[1]);
  std::memcpy(randomStates[0], library, kRandomStateBytes);
  setstate(randomStates[0]);
  activeRandomState = 0;
}

void saveWorld(WorldSnapshot* s, Picture picture) {
  s->level = levelState;
  s->loop = levelLoop;
  s->ball = ball;
  s->game = gameState;
  s->settings = settings;
  s->controls = controls;
  s->functionKeys = lastFunctionKeys;
  s->exhaustTimer = exhaustTimer;
  s->fireLatch = fireLatch;
  s->previousFrameMicros = previousFrameMicros;
  s->effectChannel = effectChannel;
  s->thrustSoundOn = thrustSoundOn;
  s->shipThrusting = shipThrusting;
  s->lastBox = lastBox;
  s->lastTurret = lastTurret;
  std::copy(boxes, boxes + lastBox + 1, s->boxes);
  copyTable(s->gates, gates);
  copyTable(s->turrets, turrets);
  copyTable(s->shots, shots);
  copyTable(s->debris, debris);
  s->exhaustInUse = liveExhaustSpan();
  std::copy(exhaust, exhaust + s->exhaustInUse, s->exhaust);
  copyTable(s->stars, stars);
  s->withPicture = picture == Picture::kKept;
  if (s->withPicture) s->picture = frameBuffer;
  s->headless = headlessMoment();
  char* active = randomStates[activeRandomState];
  setstate(active);  // parks the read position in the array
  std::memcpy(s->randomState, active, kRandomStateBytes);
}

void restoreWorld(const WorldSnapshot& s) {
  levelState = s.level;
  levelLoop = s.loop;
  ball = s.ball;
  gameState = s.game;
  settings = s.settings;
  controls = s.controls;
  lastFunctionKeys = s.functionKeys;
  exhaustTimer = s.exhaustTimer;
  fireLatch = s.fireLatch;
  previousFrameMicros = s.previousFrameMicros;
  effectChannel = s.effectChannel;
  thrustSoundOn = s.thrustSoundOn;
  shipThrusting = s.shipThrusting;
  lastBox = s.lastBox;
  lastTurret = s.lastTurret;
  std::copy(s.boxes, s.boxes + s.lastBox + 1, boxes);
  copyTable(gates, s.gates);
  copyTable(turrets, s.turrets);
  copyTable(shots, s.shots);
  copyTable(debris, s.debris);
  const int inUse = liveExhaustSpan();
  std::copy(s.exhaust, s.exhaust + s.exhaustInUse, exhaust);
  for (int i = s.exhaustInUse; i < inUse; ++i) exhaust[i].life = -1;
  copyTable(stars, s.stars);
  if (s.withPicture) frameBuffer = s.picture;
  headlessRestoreMoment(s.headless);
  activeRandomState = 1 - activeRandomState;
  std::memcpy(randomStates[activeRandomState], s.randomState, kRandomStateBytes);
  setstate(randomStates[activeRandomState]);
}
