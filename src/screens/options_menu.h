// F4's options menu: switches the Settings and the turn speed; the level
// stands still meanwhile and resumes slowly (dt and frameMs set to 0).
#pragma once

void runOptionsMenu();
