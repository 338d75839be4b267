// The terrain is the box table painted into the frame each frame; from then
// on collisions read it back. drawMap shows the same boxes at 1/16 scale in
// a framed window at the top right.
#pragma once

void drawTerrain();
void drawMap();
