#include "world/stars.h"

Star stars[kStarCount];

// Placeholders until the stars land.
void makeStars() {}
void drawStars() {}
