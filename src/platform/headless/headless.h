// The headless backend's own controls, for the runner and the tests.
// The backend holds video memory and palette in memory, reads keys from a
// script (one script command step per keyboard_update) and advances its clock
// by a fixed step per read. After the script, F12 is held; after a million
// polls (a demo's own polls on top) the process ends with status 3. See the runner for the script
// format.
#pragma once

#include <string>

#include "platform/script/script_format.h"

// Back to the start state: text mode, no script, clock step 20 ms, nothing held.
void headlessReset();
// Parses a script; on a fault returns false and says why in *error (line number and text).
// A demo's settings and table become the table the run starts from.
bool headlessLoadScript(const std::string& text, std::string* error);
// Folder into which `shot` writes its files.
void headlessSetOutDir(const std::string& folder);
// How far the clock moves per read, in milliseconds.
void headlessSetFrameMs(int ms);
// For drivers that choose keys by what the game shows: the feeder is called at
// a poll that finds the script used up, and may add commands with
// headlessAppendScript; when it adds none, F12 is held as usual.
void headlessSetScriptFeeder(void (*feeder)());
// Adds commands after those already loaded; on a fault adds none and says why.
bool headlessAppendScript(const std::string& text, std::string* error);

// What the backend keeps besides the game's own records: the clock, its step,
// the poll count and the held keys. A driver that plays several futures from
// one moment (the solver) takes it with the game's records and puts it back.
struct HeadlessMoment {
  long long clockMicros;
  long long stepMicros;
  long polls;
  KeySet held;
};
HeadlessMoment headlessMoment();
void headlessRestoreMoment(const HeadlessMoment& moment);

// What a test can look at.
const unsigned char* headlessScreen();   // 64000 palette indices as last presented
const unsigned char* headlessPalette();  // 768 bytes, 6-bit components
long headlessPollCount();
long headlessPresentCount();
bool headlessInGraphicsMode();
bool headlessKeyboardOpen();
bool headlessScriptDone();  // every command consumed; F12 is now held

// Writes NAME.ppm and NAME.idx of what the screen shows now into the output folder.
bool headlessWriteShot(const std::string& name);
// A script's shot could not be written.
bool headlessShotFailed();
