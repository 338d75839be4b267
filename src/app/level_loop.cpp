#include "app/level_loop.h"

// Placeholder until the level loop lands.
void runLevel() {}
