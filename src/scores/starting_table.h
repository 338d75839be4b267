// The table and settings a run starts from: as always the score file, or the
// table a demo carries (then the score file may be left alone altogether).
// Whatever the run starts from is handed to a recording, if one is made.
// Called once at start-up, after the defaults are set.
#pragma once

void loadStartingTable();
