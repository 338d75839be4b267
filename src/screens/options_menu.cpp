#include "screens/options_menu.h"

// Placeholder until the options menu lands.
void runOptionsMenu() {}
