// Tells which screen the game shows from the presented picture alone: each
// screen has a fixed text that no other screen draws in the same place and
// colour. Used by the soak driver to steer its keys and count what it saw;
// it never touches the game's records.
#pragma once

enum class Screen { kTitle, kIntro, kFlying, kPause, kHelp, kOptions, kNameEntry, kHighScores };
constexpr int kScreenKinds = 8;

const char* screenName(Screen screen);
// Renders the marks once; call before the game draws anything.
void prepareScreenMarks();
// The screen shown by 64000 presented palette indices; kFlying when no mark matches.
Screen recogniseScreen(const unsigned char* shown);
