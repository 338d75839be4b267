// The texts the level loop draws over the world: the status line at the top
// left (the score for a while after it changes, or score, ships and level in
// the full mode) and the pause display with the frame rate.
#pragma once

// Shows the score for 50 time units after a change of the score; the timer and
// the remembered score belong to the level loop.
void drawStatusLine(float* scoreShownTimer, int* lastScore);
void drawPauseDisplay();
