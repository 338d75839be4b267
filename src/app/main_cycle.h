// The program: start-up, the main cycle of title screen, game and saving,
// and the shutdown that returns the console to text mode.
#pragma once

// The whole program; returns the exit status.
int kravixMain();
