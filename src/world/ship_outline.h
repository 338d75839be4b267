// The ship's outline: seven points joined by six lines, rotated to the
// heading, drawn in craftColour. Before drawing, the pixels under points 1..6
// are read back: any colour but 0 and craftColour destroys a ship below row 500.
#pragma once

void drawShip(int sx, int sy, float a);
