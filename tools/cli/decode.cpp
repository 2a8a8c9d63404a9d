// pelitrax-cli decode (not built yet).
#include <cstdio>

#include "cli/commandes.h"

int CommandeDecode(int, char**) {
  std::fprintf(stderr, "pelitrax-cli decode : pas encore disponible\n");
  return 2;
}
