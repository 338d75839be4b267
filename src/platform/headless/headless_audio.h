// The headless audio device's one control, for tests: by default "/dev/dsp"
// is missing and the game runs silent; a test may let it stand for another
// path (a FIFO whose reader checks what the sound server writes).
#pragma once

// "/dev/dsp" opens `path` from now on; nullptr makes it missing again.
void headlessRouteDsp(const char* path);
