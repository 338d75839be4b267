// F3's screenshot: the frame as drawn so far, saved as screenNN.ppm (raw PPM,
// 6-bit palette components times 4, one trailing 255 byte) under the first
// free name in the working directory. Returns once F3 is released.
#pragma once

void saveScreenshot();
