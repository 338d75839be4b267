// Shared helpers for the tests: a clean game state, scripted keys, and the
// game's programs run as children in a folder of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/child_process.h"

// Resets the headless backend, the frame buffer and video memory, enters graphics mode and
// takes the keyboard as the game does.
void startHeadlessVideo();
// Loads a script into the headless keyboard; fails the test on a bad script.
void useScript(const std::string& script);
// Pixels of the frame buffer with colour other than 0, as "x,y" strings, row by row.
std::vector<std::string> paintedPixels();

// The text's set font pixels have the colour in the 320x200 picture (and cells left blank
// are blank of it when `exact`).
bool showsText(const uint8_t* pixels, int x, int y, uint8_t colour, const std::string& text,
               bool exact = false);
// A 64-bit FNV-1a digest: a table pinned by one number, with a few spot values beside it.
uint64_t digestOf(const void* bytes, size_t size);

// Runs the action with every file write failing part way (a file size limit of
// 100 bytes, which holds even for root).
void withWritesFailing(const std::function<void()>& action);

// A new empty folder under the test temp folder.
std::string makeTempFolder(const std::string& name);
// The 64000 palette indices of a shot written by the runner.
std::vector<unsigned char> readShotIndices(const std::string& path);

struct RunResult {
  int status = -1;     // exit status, or 128 + signal
  std::string output;  // standard output
};
// Runs kravix-headless with the script in the folder (its --out and HOME).
RunResult runHeadless(const std::string& script, const std::string& folder,
                      const std::vector<std::string>& extraArguments = {});
