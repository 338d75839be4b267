// The program: start-up, the main cycle of title screen, game and saving,
// and the shutdown that returns the console to text mode.
#pragma once

constexpr int kScoreFilePathSize = 256;

// "$HOME/.kravix.sco", or empty when HOME is unset or too long (no score file then).
extern char scoreFilePath[kScoreFilePathSize];

// Builds scoreFilePath from home; leaves it empty when home is null or the path does not fit.
void makeScoreFilePath(const char* home);
// The whole program; returns the exit status.
int kravixMain();
