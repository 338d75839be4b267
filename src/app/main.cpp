// The game program: the whole game on the SDL2 backend.
#include <cstring>

#include "app/main_cycle.h"
#include "platform/player_keys.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--print-keys") == 0) return printPlayerKeys();
  return kravixMain();
}
