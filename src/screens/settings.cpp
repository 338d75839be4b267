#include "screens/settings.h"

Settings settings;
