#include "input/key_wait.h"

#include "input/controls.h"

void waitForKeys(bool (*done)(), FirstPoll firstPoll) {
  if (firstPoll == FirstPoll::kAlways) pollControls();
  while (!done()) pollControls();
}
