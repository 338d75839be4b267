// The title screen with the turning "KRAVIX" logo. Returns when a game should
// start, or with gameState.quitRequested (Escape) or controls.quickExit (F12) set.
#pragma once

void runTitleScreen();
