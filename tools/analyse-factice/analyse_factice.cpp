// analyse-factice: stands in for the analysis program. As a server it registers the
// service "TRACORIA" with the topic "ServeurDDE", holds the running lock "Tracoria",
// records each command it receives and, after a clipboard command, the clipboard text
// it reads; as a client it sends one command to this program's server and says how
// it was answered.
#include <QCoreApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "analyse-factice/journal_factice.h"
#include "platform/qt/boucle_qt.h"
#include "platform/qt/liaison/ipc_qt.h"
#include "platform/qt/graphique/services_bureau_qt.h"
#include "util/fichiers.h"
#include "util/textes.h"

namespace {
constexpr int CodeAccepte = 0, CodeRefuse = 1, CodePasDeServeur = 2, CodeUsage = 3, CodeDejaLance = 4;

void Usage() {
  std::fprintf(stderr,
               "Usage :\n"
               "  analyse-factice [--journal FICHIER] [--presse-papiers FICHIER] [--refuse]\n"
               "                  [--service NOM] [--dossier-ipc DOSSIER] [--duree MS]\n"
               "      sert \"TRACORIA\"/\"ServeurDDE\", tient le verrou \"Tracoria\" et note chaque\n"
               "      commande reçue et le presse-papiers lu ensuite (sur la sortie et dans FICHIER) ;\n"
               "      --presse-papiers lit le presse-papiers dans ce fichier (sans bureau, chaque\n"
               "      programme a son propre presse-papiers) ; --refuse refuse toutes les commandes.\n"
               "  analyse-factice --envoie COMMANDE [--service NOM] [--delai MS] [--dossier-ipc DOSSIER]\n"
               "      envoie COMMANDE (\"GETDATA\", \"FILE|LOAD(x.rs2)\"...) au serveur NOM (\"Pelitrax\")\n"
               "      et dit la réponse ; code de sortie 0 acceptée, 1 refusée, 2 pas de serveur.\n");
}

struct TOptions {
  std::string journal;
  std::string pressePapiers;
  std::string dossierIpc;
  std::string service;
  std::string envoie;
  bool modeEnvoi = false;
  bool refuse = false;
  int delaiMs = 30000;
  int dureeMs = 0;
};

bool LitOptions(int argc, char** argv, TOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto valeur = [&](std::string& cible) {
      if (i + 1 >= argc) return false;
      cible = argv[++i];
      return true;
    };
    auto entier = [&](int& cible) {
      std::string texte;
      if (!valeur(texte)) return false;
      char* fin = nullptr;
      const long n = std::strtol(texte.c_str(), &fin, 10);
      if (!fin || *fin != '\0' || n < 0 || n > 86400000) return false;
      cible = static_cast<int>(n);
      return true;
    };
    bool ok = true;
    if (a == "--journal") ok = valeur(o.journal);
    else if (a == "--presse-papiers") ok = valeur(o.pressePapiers);
    else if (a == "--dossier-ipc") ok = valeur(o.dossierIpc);
    else if (a == "--service") ok = valeur(o.service);
    else if (a == "--envoie") ok = (o.modeEnvoi = true, valeur(o.envoie));
    else if (a == "--refuse") o.refuse = true;
    else if (a == "--delai") ok = entier(o.delaiMs);
    else if (a == "--duree") ok = entier(o.dureeMs);
    else ok = false;
    if (!ok) {
      std::fprintf(stderr, "Option incorrecte : %s\n", a.c_str());
      return false;
    }
  }
  return true;
}

int Envoie(int argc, char** argv, const TOptions& o) {
  QCoreApplication application(argc, argv);
  TBoucleQt boucle;
  TLiaisonIPCQt ipc(boucle, o.dossierIpc);
  const std::string service = o.service.empty() ? "Pelitrax" : o.service;
  switch (ipc.Execute(service, "ServeurDDE", "", o.envoie, o.delaiMs)) {
    case TLiaisonIPC::TResultat::Accepte: std::printf("acceptée\n"); return CodeAccepte;
    case TLiaisonIPC::TResultat::Refuse: std::printf("refusée\n"); return CodeRefuse;
    case TLiaisonIPC::TResultat::PasDeServeur: break;
  }
  std::printf("pas de serveur %s\n", service.c_str());
  return CodePasDeServeur;
}

volatile std::sig_atomic_t arretDemande = 0;
extern "C" void SurSignal(int) { arretDemande = 1; }

class TServeurFactice {
public:
  explicit TServeurFactice(const TOptions& o) : options_(o) {}

  // One command: recorded, then, for a clipboard command, the clipboard text too.
  bool Recoit(const std::string& commande) {
    Note(BlocJournal("commande", commande));
    const bool presse = EgalSansCasse(commande, "CLIP|LOAD") || EgalSansCasse(commande, "CLIP|ADD") ||
                        EgalSansCasse(commande, "CLIP|PLUS");
    if (presse) Note(BlocJournal("presse-papiers", PressePapiers()));
    if (options_.refuse) return false;
    return presse || EgalSansCasse(commande, "FOCUS");
  }

private:
  std::string PressePapiers() const {
    if (!options_.pressePapiers.empty()) return LitFichier(options_.pressePapiers).value_or(std::string());
    return presse_.Texte();
  }
  void Note(const std::string& bloc) {
    std::fwrite(bloc.data(), 1, bloc.size(), stdout);
    std::fflush(stdout);
    if (!options_.journal.empty() && !AjouteAuFichier(options_.journal, bloc))
      std::fprintf(stderr, "Erreur d'écriture de %s\n", options_.journal.c_str());
  }

  const TOptions& options_;
  TPressePapiersQt presse_;
};

int Sert(int argc, char** argv, const TOptions& o) {
  // The real clipboard needs the windowing side of Qt; a clipboard file does not.
  std::unique_ptr<QCoreApplication> application;
  if (o.pressePapiers.empty()) application = std::make_unique<QGuiApplication>(argc, argv);
  else application = std::make_unique<QCoreApplication>(argc, argv);

  TVerrousQt verrous;
  const std::unique_ptr<TVerrou> verrou = verrous.Prend("Tracoria");
  if (!verrou) {
    std::fprintf(stderr, "Tracoria tourne déjà\n");
    return CodeDejaLance;
  }
  if (!o.journal.empty() && !EcritFichierSur(o.journal, "")) {
    std::fprintf(stderr, "Erreur d'écriture de %s\n", o.journal.c_str());
    return CodeUsage;
  }
  TBoucleQt boucle;
  TLiaisonIPCQt ipc(boucle, o.dossierIpc);
  TServeurFactice serveur(o);
  const std::string service = o.service.empty() ? "TRACORIA" : o.service;
  if (!ipc.Ecoute(service, "ServeurDDE", [&serveur](const std::string& c) { return serveur.Recoit(c); })) {
    std::fprintf(stderr, "Impossible d'enregistrer le service %s\n", service.c_str());
    return CodeDejaLance;
  }
  std::signal(SIGTERM, SurSignal);
  std::signal(SIGINT, SurSignal);
  // Signals only raise a flag; the loop sees it and ends cleanly (lock and socket freed).
  QTimer veille;
  QObject::connect(&veille, &QTimer::timeout, [] {
    if (arretDemande) QCoreApplication::quit();
  });
  veille.start(50);
  if (o.dureeMs > 0) QTimer::singleShot(o.dureeMs, [] { QCoreApplication::quit(); });
  std::printf("prêt %s\n", ipc.CheminServeur(service, "ServeurDDE").c_str());
  std::fflush(stdout);
  return QCoreApplication::exec();
}
}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!LitOptions(argc, argv, options)) {
    Usage();
    return CodeUsage;
  }
  return options.modeEnvoi ? Envoie(argc, argv, options) : Sert(argc, argv, options);
}
