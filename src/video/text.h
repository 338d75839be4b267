// The 3x5 font and the text and number drawing built on it. A character
// takes a 4-pixel cell; codes without a glyph are blank cells. Numbers are
// right-aligned on the cell at x; negative numbers draw nothing.
#pragma once

#include <cstdint>

// One glyph per character code 0..127: five rows, top first; bit 4 is the
// left pixel, 2 the middle, 1 the right. Blank glyphs are all zero.
struct FontGlyphs {
  uint8_t rows[128][5];
};

extern const FontGlyphs fontGlyphs;

void drawText(int x, int y, uint8_t colour, const char* text);
void drawTextOpaque(int x, int y, uint8_t colour, const char* text);
void drawNumber(int x, int y, uint8_t colour, int value);
void drawNumberOpaque(int x, int y, uint8_t colour, int value);
