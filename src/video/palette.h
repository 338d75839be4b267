// The game's 256-colour palette (6-bit components) and the calls that load it.
// defaultPalette is the VGA power-on palette, built once from its rules.
#pragma once

#include <cstdint>

struct PaletteTable {
  uint8_t rgb[256][3];
};

extern const PaletteTable defaultPalette;

// Entries 0..count-1 from table, in ascending order, one hardware call each.
void loadPalette(int count, const PaletteTable& table);
void setPaletteEntry(int index, int red, int green, int blue);
