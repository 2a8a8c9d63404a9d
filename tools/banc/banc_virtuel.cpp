// banc-virtuel: serves bench instruments on pseudo-terminals until it is stopped
// (SIGINT, SIGTERM). It prints one line per instrument, "COM3=/dev/pts/5 pH-metre"
// (the part before the blank is a PELITRAX_PORTS entry), then the line "prêt".
//   banc-virtuel [NOM[=COMn]]...   without argument: pH-metre=COM3
//                                  pH-metre-continu=COM4 balance=COM5
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "banc/banc_pty.h"
#include "banc/catalogue.h"
#include "links/table_ports.h"

namespace {
struct Demande {
  std::string nom;
  int com;
};

void Usage() {
  std::fprintf(stderr, "Usage : banc-virtuel [NOM[=COMn]]...\n  instruments :");
  for (const std::string& nom : NomsInstruments()) std::fprintf(stderr, " %s", nom.c_str());
  std::fprintf(stderr, "\n  sans argument : pH-metre=COM3 pH-metre-continu=COM4 balance=COM5\n");
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<Demande> demandes;
  int suivant = 3;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument == "-h" || argument == "--aide") {
      Usage();
      return 0;
    }
    int com = suivant;
    if (const auto egal = argument.find('='); egal != std::string::npos) {
      com = TTablePorts::NumeroDeNom(argument.substr(egal + 1));
      argument.resize(egal);
      if (com == 0) {
        std::fprintf(stderr, "banc-virtuel : numéro de port invalide dans « %s »\n", argv[i]);
        return 2;
      }
    }
    if (!CreeInstrument(argument)) {
      std::fprintf(stderr, "banc-virtuel : instrument inconnu « %s »\n", argument.c_str());
      Usage();
      return 2;
    }
    demandes.push_back({argument, com});
    suivant = com + 1;
  }
  if (demandes.empty()) demandes = {{"pH-metre", 3}, {"pH-metre-continu", 4}, {"balance", 5}};

  // Blocked before the serving thread starts, so that only sigwait takes them.
  sigset_t signaux;
  sigemptyset(&signaux);
  sigaddset(&signaux, SIGINT);
  sigaddset(&signaux, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signaux, nullptr);

  TBancPty banc;
  for (const Demande& d : demandes) {
    const std::string chemin = banc.Ajoute(CreeInstrument(d.nom));
    if (chemin.empty()) {
      std::fprintf(stderr, "banc-virtuel : pseudo-terminal impossible pour %s\n", d.nom.c_str());
      return 1;
    }
    std::printf("COM%d=%s %s\n", d.com, chemin.c_str(), d.nom.c_str());
  }
  banc.Demarre();
  std::printf("prêt\n");
  std::fflush(stdout);

  int signal = 0;
  sigwait(&signaux, &signal);
  banc.Arrete();
  return 0;
}
