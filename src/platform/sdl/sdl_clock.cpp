#include "platform/clock.h"

int clock_gettimeofday(struct timeval* now) {
  return gettimeofday(now, nullptr);
}
