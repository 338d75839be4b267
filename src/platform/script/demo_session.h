// The run's demo: which table it starts from, and a demo played in the window
// in place of the player's keys and the real clock, at the recorded pace. The
// backend for players calls these at its seam; the backend for tests plays
// scripts with script_player directly.
#pragma once

#include <sys/time.h>

#include "platform/demo.h"
#include "platform/script/script_format.h"

// Set by the program before the game starts; kScoreFile when never set.
void setDemoStart(DemoStart start, const DemoTable& table);

// From now on keys and clock come from the script, paced by its clock readings.
void startWindowPlayback(ParsedScript script);
bool demoPlaying();
// At every keyboard update, after the backend took its events: while playing,
// Escape or F12 held by the player ends the demo (F12 held for good), else one
// poll of the demo; then a recording takes what the game will read.
void takeDemoPoll(int (*liveKeyHeld)(int scancode), bool translated);
// While playing: the demo's keys.
int demoKeyHeld(int scancode);
// While playing: what typing a name reads from the key, in the demo's layout.
int demoKeyChar(int scancode);
// While playing: the demo's reading, given once its moment has come.
int takeDemoClockReading(timeval* now);
