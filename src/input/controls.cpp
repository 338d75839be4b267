#include "input/controls.h"

#include "input/alarm_signal.h"
#include "platform/keyboard.h"

void startKeyboard() {
  keyboard_init();
  keyboard_translatekeys(TRANSLATE_CURSORKEYS);
}

void stopKeyboard() {
  keyboard_close();
}

static uint8_t held(int scancode) {
  return static_cast<uint8_t>(keyboard_keypressed(scancode));
}

void pollControls() {
  endIfAlarmed();
  keyboard_update();
  controls.fire = held(SCANCODE_ENTER);
  controls.help = held(SCANCODE_F1);
  controls.pause = held(SCANCODE_F2);
  controls.screenshot = held(SCANCODE_F3);
  controls.options = held(SCANCODE_F4);
  controls.keyF5 = held(SCANCODE_F5);
  controls.keyF6 = held(SCANCODE_F6);
  controls.quickExit = held(SCANCODE_F12);
  controls.escape = held(SCANCODE_ESCAPE);
  controls.turnLeft = held(SCANCODE_A);
  controls.turnRight = held(SCANCODE_S);
  controls.thrust = held(SCANCODE_RIGHTSHIFT);
  controls.tag = held(SCANCODE_SPACE);
  controls.arrowUp = held(SCANCODE_CURSORUP);
  controls.arrowRight = held(SCANCODE_CURSORRIGHT);
  controls.arrowLeft = held(SCANCODE_CURSORLEFT);
  controls.arrowDown = held(SCANCODE_CURSORDOWN);
}

void clearOneShotControls() {
  controls.fire = 0;
  controls.help = 0;
  controls.pause = 0;
  controls.screenshot = 0;
  controls.options = 0;
  controls.keyF5 = 0;
  controls.keyF6 = 0;
}
