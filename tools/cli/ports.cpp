// pelitrax-cli ports (not built yet).
#include <cstdio>

#include "cli/commandes.h"

int CommandePorts(int, char**) {
  std::fprintf(stderr, "pelitrax-cli ports : pas encore disponible\n");
  return 2;
}
