#include "state/settings.h"

Settings settings;
