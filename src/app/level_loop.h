// One attempt at a level: owns the frame from the intro screen's Enter until
// the ship has left through the sky, Escape, or F12. The caller reads the
// outcome from levelState.leaving and levelState.ballTowed.
#pragma once

void runLevel();
