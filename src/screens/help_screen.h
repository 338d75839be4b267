// F1's key list, shown in place of the level until left; sets the level's
// dt and frameMs to 0 on the way out.
#pragma once

void runHelpScreen();
