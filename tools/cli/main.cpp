// pelitrax-cli: the program's jobs without a window.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commandes.h"

namespace {
struct SousCommande {
  const char* nom;
  int (*fonction)(int, char**);
  const char* aide;
};
const SousCommande sousCommandes[] = {
    {"demarrage", CommandeDemarrage, "démarre comme le programme, sans fenêtre, et dit ce qu'il a trouvé"},
    {"decode", CommandeDecode, "--ini FICHIER --appareil NOM [--decimal ,|.] : décode les trames lues sur l'entrée"},
    {"ports", CommandePorts, "liste la table des ports COM"},
    {"acquire", CommandeAcquire,
     "--ini FICHIER --config FICHIER.rs2 [--port COMn=PERIPH]... [--sortie F] [--image F.png] [--duree S] [--increment V] [--oui|--non]"
     " [--usb-ph pH|potentiel]"},
};

void Usage() {
  std::fprintf(stderr, "Usage : pelitrax-cli <commande> [options]\n");
  for (const auto& c : sousCommandes) std::fprintf(stderr, "  %-10s %s\n", c.nom, c.aide);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Usage();
    return 2;
  }
  for (const auto& c : sousCommandes)
    if (std::strcmp(argv[1], c.nom) == 0) return c.fonction(argc - 1, argv + 1);
  std::fprintf(stderr, "Commande inconnue : %s\n", argv[1]);
  Usage();
  return 2;
}
