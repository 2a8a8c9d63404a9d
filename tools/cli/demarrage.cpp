// pelitrax-cli demarrage: the start-up sequence without a window (filled in as the
// subsystems arrive).
#include <cstdio>

#include "cli/commandes.h"

int CommandeDemarrage(int, char**) {
  std::printf("Pelitrax : démarrage\n");
  return 0;
}
