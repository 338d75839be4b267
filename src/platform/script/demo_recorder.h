// Writes a demo as the run goes: the table it starts from, then every poll's
// held keys (runs of equal polls on one line) and every clock reading, in the
// script format. Lines gather in a fixed buffer that is written out at each
// level's end and at the finish, so a frame never waits on the disk; a write
// that fails gives up the demo with one message and never stops the game.
#pragma once

#include <sys/time.h>

#include <string>
#include <string_view>

#include "platform/demo.h"

// Creates or empties the file now; false with the reason when it cannot.
bool startDemoRecording(const char* path, std::string* error);

// The backend's keyboard_keychar: the head records the layout a name is typed in.
void setDemoKeyChars(int (*keyChar)(int scancode));
void recordDemoTable(const DemoTable& table);
// One poll's keys as the game reads them: codes 1..127 through keyHeld.
void recordDemoPoll(int (*keyHeld)(int scancode), bool translated);
void recordDemoClock(const timeval& reading);
void recordDemoShot(std::string_view name);

// Writes out the finished lines (the run of polls in progress stays buffered).
void writeOutDemo();
// The last lines and `end`; closes the file. Nothing more is recorded.
void finishDemoRecording();
