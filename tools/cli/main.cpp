// pelitrax-cli: the program's jobs without a window.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/aide.h"
#include "cli/commandes.h"

namespace {
struct SousCommande {
  const char* nom;
  int (*fonction)(int, char**);
};
const SousCommande sousCommandes[] = {
    {"demarrage", CommandeDemarrage},
    {"decode", CommandeDecode},
    {"ports", CommandePorts},
    {"acquire", CommandeAcquire},
};
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    AfficheResume(true);
    return 2;
  }
  if (AideDemandee(2, argv) || std::strcmp(argv[1], "aide") == 0) {
    if (argc > 2 && std::strcmp(argv[1], "aide") == 0 && AfficheAide(argv[2])) return 0;
    AfficheResume(false);
    return 0;
  }
  for (const auto& c : sousCommandes)
    if (std::strcmp(argv[1], c.nom) == 0) {
      if (AideDemandee(argc - 1, argv + 1)) return AfficheAide(c.nom) ? 0 : 2;
      return c.fonction(argc - 1, argv + 1);
    }
  std::fprintf(stderr, "Commande inconnue : %s\n", argv[1]);
  AfficheResume(true);
  return 2;
}
