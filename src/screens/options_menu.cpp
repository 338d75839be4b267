#include "screens/options_menu.h"

#include <cstdint>

#include "input/controls.h"
#include "input/key_wait.h"
#include "sound/sound_effects.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "video/frame_buffer.h"
#include "video/text.h"
#include "world/ship_outline.h"

namespace {

enum MenuLine { kEffects, kSpeaker, kDebris, kMap, kStatusLine, kTurnSpeed, kExitOptions };
constexpr int kMenuLines = 7;

constexpr uint8_t kOrdinaryColour = 66;
constexpr uint8_t kSelectedColour = 15;
constexpr uint8_t kUnavailableColour = 114;
constexpr uint8_t kHeadingColour = 42;

constexpr int kSlowestTurn = 30;
constexpr int kFastestTurn = 70;
constexpr int kDefaultTurn = 50;

// A press acts once: the latch is set when the key acts and cleared while it is up.
struct Latch {
  bool set = false;
  bool pressed(uint8_t held) {
    if (!held) {
      set = false;
      return false;
    }
    if (set) return false;
    set = true;
    return true;
  }
};

struct Menu {
  int selection = kEffects;
  bool leave = false;
  bool openingF4Held = true;
  int frameCounter = 0;
  Latch nextKey, previousKey, downKey, upKey, toggleKey;
  uint8_t colours[kMenuLines];
};

// The speaker never works; the effects only with an audio device.
bool unavailable(int line) {
  return line == kSpeaker || (line == kEffects && !soundAvailable);
}

void flip(uint8_t& flag) {
  flag = static_cast<uint8_t>((1 - flag) & 1);
}

void colourLines(Menu& menu) {
  for (uint8_t& colour : menu.colours) colour = kOrdinaryColour;
  menu.colours[menu.selection] = kSelectedColour;
}

// The cursor keys skip one unavailable line; A and S do not.
void moveSelection(Menu& menu) {
  if (menu.nextKey.pressed(controls.turnRight)) ++menu.selection;
  if (menu.previousKey.pressed(controls.turnLeft)) --menu.selection;
  if (menu.downKey.pressed(controls.arrowDown)) {
    ++menu.selection;
    if (unavailable(menu.selection)) ++menu.selection;
  }
  if (menu.upKey.pressed(controls.arrowUp)) {
    --menu.selection;
    if (unavailable(menu.selection)) --menu.selection;
  }
}

void limitSelection(Menu& menu) {
  if (menu.selection < kEffects) menu.selection = kEffects;
  if (!soundAvailable) {
    menu.colours[kEffects] = kUnavailableColour;
    if (menu.selection < kSpeaker) menu.selection = kSpeaker;
  }
  menu.colours[kSpeaker] = kUnavailableColour;
  settings.speakerOn = 0;
  if (menu.selection > kExitOptions) menu.selection = kExitOptions;
}

void toggleSelectedLine(Menu& menu) {
  switch (menu.selection) {
    case kEffects:
      flip(settings.effectsOn);
      if (settings.effectsOn) settings.speakerOn = 0;
      break;
    case kSpeaker:  // shows ON for this pass only; the next pass clears it
      flip(settings.speakerOn);
      if (settings.speakerOn) settings.effectsOn = 0;
      break;
    case kDebris:
      flip(settings.debrisOn);
      break;
    case kMap:
      flip(settings.mapOn);
      break;
    case kStatusLine:
      flip(settings.statusLineFull);
      break;
    case kTurnSpeed:
      settings.turnSpeed = kDefaultTurn;
      break;
    case kExitOptions:
      menu.leave = true;
      break;
  }
}

// A held arrow moves the turn speed by one a pass; the flags return at the next poll.
void adjustTurnSpeed() {
  if (controls.arrowRight && settings.turnSpeed <= kFastestTurn - 1) {
    ++settings.turnSpeed;
    controls.arrowRight = 0;
  }
  if (controls.arrowLeft && settings.turnSpeed > kSlowestTurn) {
    --settings.turnSpeed;
    controls.arrowLeft = 0;
  }
}

// Four ships turning in the corners and one at the left that points at the selection.
void drawShipIcons(Menu& menu) {
  float turn = static_cast<float>(menu.frameCounter / 10.0);
  drawShip(20, 180, turn);
  drawShip(300, 180, -turn);
  drawShip(20, 20, turn);
  drawShip(300, 20, -turn);
  ++menu.frameCounter;
  drawShip(30, 110, static_cast<float>(menu.selection / 4.5 - 1.57 - 0.6));
}

void drawMenuText(const Menu& menu) {
  const uint8_t* line = menu.colours;
  drawText(101, 31, 43, "O  P  T  I  O  N  S  :");
  drawText(100, 30, kHeadingColour, "O  P  T  I  O  N  S  :");
  drawText(100, 60, kHeadingColour, "SOUND:");
  drawText(110, 70, line[kEffects], settings.effectsOn ? "EFFECTS       ON" : "EFFECTS       OFF");
  drawText(110, 80, line[kSpeaker], settings.speakerOn ? "SPEAKER       ON" : "SPEAKER       OFF");
  drawText(100, 90, kHeadingColour, "DISPLAY:   (MORE DETAILS MAY REDUCE YOUR FRAMERATE)");
  drawText(110, 100, line[kDebris],
           settings.debrisOn ? "DEBRIS        ON           F6" : "DEBRIS        OFF          F6");
  drawText(110, 110, line[kMap],
           settings.mapOn ? "MAP           ON           F5" : "MAP           OFF          F5");
  drawText(110, 120, line[kStatusLine],
           settings.statusLineFull ? "STATUSLINE    FULL" : "STATUSLINE    TEMPORARY");
  drawText(100, 130, kHeadingColour, "STEERING:");
  drawText(110, 140, line[kTurnSpeed], "TURNSPEED");
  drawNumber(180, 140, line[kTurnSpeed], settings.turnSpeed);
  if (settings.turnSpeed > 60) drawText(190, 140, line[kTurnSpeed], "FAST");
  if (settings.turnSpeed < 40) drawText(190, 140, line[kTurnSpeed], "SLOW");
  drawText(110, 160, line[kExitOptions], "EXIT OPTIONS               F4");
  // Codes 20 and 21 have no glyph: two blank cells.
  drawText(50, 180, kHeadingColour,
           "RETURN - EXIT      SPACE - TOGGLE   \x14\x15"
           "  CRSUP/DOWN");
}

void runMenuPass(Menu& menu) {
  pollControls();
  if (!controls.options) menu.openingF4Held = false;
  colourLines(menu);
  moveSelection(menu);
  limitSelection(menu);
  if (menu.toggleKey.pressed(controls.tag)) toggleSelectedLine(menu);
  if (menu.selection == kTurnSpeed) adjustTurnSpeed();
  drawShipIcons(menu);
  drawMenuText(menu);
  showFrame(0, kScreenHeight);
}

// Enter, Space on EXIT OPTIONS or a new press of F4 leave; so does F12, which
// ends the program from every loop.
bool menuGoesOn(const Menu& menu) {
  return !controls.fire && !menu.leave && (!controls.options || menu.openingF4Held) &&
         !controls.quickExit;
}

}  // namespace

void runOptionsMenu() {
  silenceThrust();
  Menu menu;
  controls.fire = 0;
  while (menuGoesOn(menu)) runMenuPass(menu);
  waitForKeys([] { return !controls.escape; }, FirstPoll::kAlways);
  clearOneShotControls();
  resumeFromStandstill();
}
