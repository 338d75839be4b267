// The title screen's "KRAVIX" logo: block letters as boxes on a grid 23 units
// wide and 5 high (letter n in x 4n..4n+3, strokes one unit thick), drawn
// turned about the grid's vertical line x = 12 and centred on (160, 50). Only
// the title screen draws it; it never touches rows 90 and below.
#pragma once

#include <cstdint>

// Draws the logo into the frame at angle in units of 1/90 radian (565 to a turn).
void drawTitleLogo(uint32_t angle);
