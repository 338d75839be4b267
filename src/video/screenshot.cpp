#include "video/screenshot.h"

// Placeholder until the screenshot writer lands.
void saveScreenshot() {}
