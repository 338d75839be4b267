#include "video/text.h"

#include "video/frame_buffer.h"

namespace {

struct GlyphEntry {
  uint8_t code;
  uint8_t rows[5];
};

// Every glyph of the font; codes not listed are blank cells.
constexpr GlyphEntry kGlyphList[] = {
    {7, {0, 0, 2, 0, 0}},   {9, {0, 7, 5, 7, 0}},    {24, {2, 7, 2, 2, 2}},
    {25, {2, 2, 2, 7, 2}},  {26, {4, 6, 7, 6, 4}},   {27, {1, 3, 7, 3, 1}},
    {'!', {2, 2, 2, 0, 2}}, {'"', {5, 5, 0, 0, 0}},  {'#', {2, 7, 2, 7, 2}},
    {'$', {3, 6, 2, 3, 6}}, {'%', {4, 1, 2, 4, 1}},  {'\'', {2, 4, 0, 0, 0}},
    {'(', {2, 4, 4, 4, 2}}, {')', {2, 1, 1, 1, 2}},  {'*', {0, 5, 2, 5, 0}},
    {'+', {0, 2, 7, 2, 0}}, {',', {0, 0, 0, 2, 4}},  {'-', {0, 0, 7, 0, 0}},
    {'.', {0, 0, 0, 0, 1}}, {'/', {0, 1, 2, 4, 0}},  {'0', {7, 5, 5, 5, 7}},
    {'1', {1, 1, 1, 1, 1}}, {'2', {7, 1, 7, 4, 7}},  {'3', {7, 1, 3, 1, 7}},
    {'4', {4, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}},  {'6', {4, 4, 7, 5, 7}},
    {'7', {7, 1, 1, 1, 1}}, {'8', {7, 5, 7, 5, 7}},  {'9', {7, 5, 7, 1, 1}},
    {':', {0, 2, 0, 2, 0}}, {';', {0, 2, 0, 2, 4}},  {'<', {1, 2, 4, 2, 1}},
    {'=', {0, 7, 0, 7, 0}}, {'>', {4, 2, 1, 2, 4}},  {'?', {2, 1, 2, 0, 2}},
    {'@', {2, 5, 5, 4, 3}}, {'A', {2, 5, 7, 5, 5}},  {'B', {6, 5, 6, 5, 6}},
    {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}},  {'E', {7, 4, 6, 4, 7}},
    {'F', {7, 4, 6, 4, 4}}, {'G', {3, 4, 4, 5, 3}},  {'H', {5, 5, 7, 5, 5}},
    {'I', {2, 2, 2, 2, 2}}, {'J', {1, 1, 1, 5, 2}},  {'K', {5, 5, 6, 5, 5}},
    {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}},  {'N', {5, 6, 7, 3, 5}},
    {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}},  {'Q', {2, 5, 5, 7, 3}},
    {'R', {6, 5, 6, 5, 5}}, {'S', {3, 4, 2, 1, 6}},  {'T', {7, 2, 2, 2, 2}},
    {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},  {'W', {5, 5, 7, 7, 5}},
    {'X', {5, 5, 2, 5, 5}}, {'Y', {5, 5, 2, 2, 2}},  {'Z', {7, 1, 2, 4, 7}},
    {'[', {6, 4, 4, 4, 6}}, {'\\', {0, 4, 2, 1, 0}}, {']', {6, 2, 2, 2, 6}},
    {'_', {0, 0, 0, 0, 7}},
};

constexpr FontGlyphs buildGlyphTable() {
  FontGlyphs table{};
  for (const GlyphEntry& entry : kGlyphList) {
    for (int r = 0; r < 5; ++r) table.rows[entry.code][r] = entry.rows[r];
  }
  return table;
}

void drawGlyphs(int x, int y, uint8_t colour, const char* text, bool opaque) {
  for (int i = 0; text[i] != '\0'; ++i) {
    unsigned code = static_cast<unsigned char>(text[i]);
    const uint8_t* glyph = fontGlyphs.rows[code < 128 ? code : 0];
    for (int r = 0; r < 5; ++r) {
      for (int k = 0; k < 3; ++k) {
        bool set = (glyph[r] >> (2 - k)) & 1;
        if (set) {
          putPixel(x + 4 * i + k, y + r, colour);
        } else if (opaque) {
          putPixel(x + 4 * i + k, y + r, 0);
        }
      }
    }
  }
}

void drawDigits(int x, int y, uint8_t colour, int value, bool opaque) {
  if (value == 0) {
    drawGlyphs(x, y, colour, "0", opaque);
    return;
  }
  while (value > 0) {
    const char digit[2] = {static_cast<char>('0' + value % 10), '\0'};
    drawGlyphs(x, y, colour, digit, opaque);
    x -= 4;
    value /= 10;
  }
}

}  // namespace

constinit const FontGlyphs fontGlyphs = buildGlyphTable();

void drawText(int x, int y, uint8_t colour, const char* text) {
  drawGlyphs(x, y, colour, text, false);
}

void drawTextOpaque(int x, int y, uint8_t colour, const char* text) {
  drawGlyphs(x, y, colour, text, true);
}

void drawNumber(int x, int y, uint8_t colour, int value) {
  drawDigits(x, y, colour, value, false);
}

void drawNumberOpaque(int x, int y, uint8_t colour, int value) {
  drawDigits(x, y, colour, value, true);
}
