#include "screens/help_screen.h"

// Placeholder until the help screen lands.
void runHelpScreen() {}
