// F3's screenshot: the frame as drawn so far, saved as screenNN.ppm (raw PPM,
// 6-bit palette components times 4, one trailing 255 byte) under the first
// free name in the working directory, created exclusively: never through a
// link, and never over another file but a plain screen99.ppm when all hundred
// names are taken. Returns once F3 is released.
#pragma once

void saveScreenshot();
