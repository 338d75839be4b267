// The program: start-up, the main cycle of title screen, game and saving,
// and the shutdown that returns the console to text mode.
#pragma once

// The whole program; returns the exit status.
int kravixMain();
// kravixMain, written to recordPath as a demo unless that is null. A demo that
// cannot be started is named on standard error after `program`: status 2.
int kravixMainRecording(const char* program, const char* recordPath);
