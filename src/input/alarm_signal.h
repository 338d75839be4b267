// SIGALRM hands the console back and ends the game with status 1. The handler
// itself only notes the signal (nothing else is safe while it may have cut into
// the window system or malloc); the next keyboard poll releases the keyboard,
// returns to text mode and ends the process. Should no poll come within a
// second, a second alarm ends the process at once from the handler.
#pragma once

void installAlarmHandler();
// After an alarm: keyboard released, text mode, exit status 1. Otherwise nothing.
void endIfAlarmed();
