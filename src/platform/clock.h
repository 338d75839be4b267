// Clock seam: the wall clock with the meaning of gettimeofday.
// The SDL2 backend reads the real clock; the headless backend advances a
// scripted clock by a fixed step per read, so runs repeat exactly.
#pragma once

#include <sys/time.h>

int clock_gettimeofday(struct timeval* now);
