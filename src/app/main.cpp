// The game program: the whole game on the SDL2 backend.
#include "app/main_cycle.h"

int main() {
  return kravixMain();
}
