// Keyboard seam: held keys by PC set-1 scan code, read after an update call.
// Codes outside 0..127 read as up. After keyboard_translatekeys(TRANSLATE_CURSORKEYS)
// the cursor block reports the keypad arrow codes.
#pragma once

constexpr int TRANSLATE_CURSORKEYS = 1;

// Set-1 make codes of every key the game reads.
constexpr int SCANCODE_ESCAPE = 1;
constexpr int SCANCODE_1 = 2;  // digits 1..9, 0 are 2..11
constexpr int SCANCODE_MINUS = 12;
constexpr int SCANCODE_EQUAL = 13;
constexpr int SCANCODE_BACKSPACE = 14;
constexpr int SCANCODE_TAB = 15;
constexpr int SCANCODE_Q = 16;  // Q W E R T Y U I O P are 16..25
constexpr int SCANCODE_ENTER = 28;
constexpr int SCANCODE_LEFTCONTROL = 29;
constexpr int SCANCODE_A = 30;  // A S D F G H J K L are 30..38
constexpr int SCANCODE_S = 31;
constexpr int SCANCODE_LEFTSHIFT = 42;
constexpr int SCANCODE_Z = 44;  // Z X C V B N M are 44..50
constexpr int SCANCODE_RIGHTSHIFT = 54;
constexpr int SCANCODE_SPACE = 57;
constexpr int SCANCODE_F1 = 59;  // F1..F10 are 59..68
constexpr int SCANCODE_F2 = 60;
constexpr int SCANCODE_F3 = 61;
constexpr int SCANCODE_F4 = 62;
constexpr int SCANCODE_F5 = 63;
constexpr int SCANCODE_F6 = 64;
constexpr int SCANCODE_F11 = 87;
constexpr int SCANCODE_F12 = 88;
constexpr int SCANCODE_CURSORUP = 72;     // keypad 8
constexpr int SCANCODE_CURSORLEFT = 75;   // keypad 4
constexpr int SCANCODE_CURSORRIGHT = 77;  // keypad 6
constexpr int SCANCODE_CURSORDOWN = 80;   // keypad 2
// The cursor block before translation (Linux key codes).
constexpr int SCANCODE_CURSORBLOCKUP = 103;
constexpr int SCANCODE_CURSORBLOCKLEFT = 105;
constexpr int SCANCODE_CURSORBLOCKRIGHT = 106;
constexpr int SCANCODE_CURSORBLOCKDOWN = 108;

int keyboard_init();
void keyboard_translatekeys(int mask);
// Takes in every key change since the last call.
void keyboard_update();
// Non-zero while the key is held.
int keyboard_keypressed(int scancode);
void keyboard_close();

// Our own calls for typing a name. The letter or digit (upper case) printed on
// the key with this set-1 code in the player's layout, or 0 when it shows none.
int keyboard_keychar(int scancode);
// Non-zero while a name is typed: then every key reads as the key it is, not
// through the player's own key bindings, and a gamepad holds no letter keys.
void keyboard_typing(int on);
