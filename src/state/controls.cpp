#include "state/controls.h"

Controls controls;
