// Checks on pictures of the screens: a presented screen, a shot written by the
// headless backend, or the frame buffer; each is 64000 palette indices.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// The 4-pixel cells of text at (x, y) show colour exactly where the font's glyphs are set.
::testing::AssertionResult showsText(const unsigned char* screen, int x, int y, uint8_t colour,
                                     const std::string& text);
// The colour of the first painted pixel in the 4x5 cell at (x, y); 0 if none.
uint8_t cellColour(const unsigned char* screen, int x, int y);
// Rows 0..89 show the title logo at this angle and nothing else.
::testing::AssertionResult bandShowsLogo(const unsigned char* screen, uint32_t angle);

// The 64000 indices and 768 palette bytes of the shot NAME in folder.
std::vector<unsigned char> readShot(const std::string& folder, const std::string& name);

// Resets the headless backend and every record the screens read or write.
void resetScreenState();
