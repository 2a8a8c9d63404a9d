// pelitrax-cli acquire: a whole acquisition without a window. Loads a device file and
// a configuration, binds the ports, waits for live values, runs the configuration's
// mode to its end and writes the table.
//   pelitrax-cli acquire --ini FICHIER --config FICHIER.rs2 [--port COMn=PERIPHERIQUE]...
//                        [--sortie FICHIER] [--image FICHIER.png] [--duree S] [--increment V] [--oui|--non]
//                        [--usb-ph pH|potentiel]
// --increment gives a titration fixed additions of V mL, as the burette settings do.
// --usb-ph answers the quantity choice of the configuration's OPH218 USB channels.
// The run uses only the ports it is given (--port, then PELITRAX_PORTS), never the
// system's own serial devices; the files, ports and outputs are checked before
// anything is sent. Ctrl-C ends the acquisition and keeps what was recorded.
// Exit status: 0 completed, 1 no point recorded, a port error or a result not
// written, 2 bad usage, unreadable files, refused ports or outputs.
#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "cli/aide.h"
#include "cli/commandes.h"
#include "cli/controles.h"
#include "cli/image_graphe.h"
#include "cli/plateforme_console.h"
#include "core/adaptateurs_bibliotheques.h"
#include "core/cinetique.h"
#include "core/configuration.h"
#include "core/noms_controles.h"
#include "dialogs/choix_grandeur.h"
#include "instruments/base_appareils.h"
#include "instruments/burette.h"
#include "instruments/unite.h"
#include "links/table_ports.h"
#include "util/nombres.h"
#include "util/regional_courant.h"
#include "util/textes.h"

namespace {
volatile std::sig_atomic_t interrompu = 0;
// The loop sleeps until an event: a signal wakes it through this pipe.
int tubeInterruption[2] = {-1, -1};
void SurInterruption(int) {
  interrompu = 1;
  if (tubeInterruption[1] >= 0) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(tubeInterruption[1], &c, 1);
  }
}

// Makes the signals wake the sleeping loop: a notifier on the pipe's reading end.
class TReveilInterruption {
public:
  TReveilInterruption() {
    if (::pipe2(tubeInterruption, O_NONBLOCK | O_CLOEXEC) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(tubeInterruption[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] {
      char octets[16];
      while (::read(tubeInterruption[0], octets, sizeof octets) > 0) {
      }
    });
  }
  ~TReveilInterruption() {
    notifier_.reset();
    for (int& fd : tubeInterruption) {
      if (fd >= 0) ::close(fd);
      fd = -1;
    }
  }
  TReveilInterruption(const TReveilInterruption&) = delete;
  TReveilInterruption& operator=(const TReveilInterruption&) = delete;

private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

// A deadline of the run (no live value in time, the end of a --duree): one timer,
// armed once, that only wakes the loop and says it has passed.
class TEcheance {
public:
  TEcheance(TBoucleEvenements& boucle, std::int64_t ms) : minuterie_(boucle.CreeMinuterie()) {
    minuterie_->SetIntervalle(static_cast<int>(std::min<std::int64_t>(ms, INT32_MAX)));
    minuterie_->SetRappel([this] { minuterie_->SetActif(false); });
    minuterie_->SetActif(true);
  }
  bool Passee() const { return !minuterie_->Actif(); }

private:
  std::unique_ptr<TMinuterie> minuterie_;
};

struct TOptions {
  std::string ini, config;
  std::optional<std::string> sortie, image;  // given, even empty
  std::map<int, std::string> ports;
  std::optional<int> duree;
  std::optional<double> increment;
  bool oui = false;
  std::optional<bool> usbPotentiel;  // not given: each channel keeps the configuration's
};

// "pH" or "potentiel", without regard to case.
std::optional<bool> LitChoixUSB(const std::string& texte) {
  if (EgalSansCasse(texte, "pH")) return false;
  if (EgalSansCasse(texte, "potentiel")) return true;
  std::fprintf(stderr, "Choix USB invalide : %s (attendu pH ou potentiel)\n", texte.c_str());
  return std::nullopt;
}

void Usage() { AfficheUsage("acquire"); }

std::optional<TOptions> LitOptions(int argc, char** argv) {
  TOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto valeur = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    std::optional<std::string> v;
    if (a == "--oui") o.oui = true;
    else if (a == "--non") o.oui = false;
    else if (a == "--ini" && (v = valeur())) o.ini = *v;
    else if (a == "--config" && (v = valeur())) o.config = *v;
    else if (a == "--sortie" && (v = valeur())) o.sortie = *v;
    else if (a == "--image" && (v = valeur())) o.image = *v;
    else if (a == "--usb-ph" && (v = valeur())) {
      if (!(o.usbPotentiel = LitChoixUSB(*v))) return std::nullopt;
    }
    else if (a == "--duree" && (v = valeur())) {
      char* fin = nullptr;
      const long d = std::strtol(v->c_str(), &fin, 10);
      if (*fin != '\0' || d < 1 || d > 60L * MaxPoints) {
        std::fprintf(stderr, "Durée invalide : %s (en secondes, de 1 à %d)\n", v->c_str(), 60 * MaxPoints);
        return std::nullopt;
      }
      o.duree = static_cast<int>(d);
    } else if (a == "--increment" && (v = valeur())) {
      const double x = LitNombre(*v);
      if (!(x > 0) || x > 1) {
        std::fprintf(stderr, "Incrément invalide : %s (en mL, au plus 1)\n", v->c_str());
        return std::nullopt;
      }
      o.increment = x;
    } else if (a == "--port" && (v = valeur())) {
      const auto egal = v->find('=');
      const int com = egal == std::string::npos ? 0 : TTablePorts::NumeroDeNom(v->substr(0, egal));
      if (com == 0 || egal + 1 >= v->size()) {
        std::fprintf(stderr, "Port invalide : %s (attendu COMn=PERIPHERIQUE)\n", v->c_str());
        return std::nullopt;
      }
      if (!o.ports.emplace(com, v->substr(egal + 1)).second) {
        std::fprintf(stderr, "Port donné deux fois : COM%d\n", com);
        return std::nullopt;
      }
    } else {
      std::fprintf(stderr, "Option inconnue ou incomplète : %s\n", a.c_str());
      return std::nullopt;
    }
  }
  if (o.ini.empty() || o.config.empty()) {
    std::fprintf(stderr, "Les options --ini et --config sont obligatoires.\n");
    return std::nullopt;
  }
  return o;
}

std::string NomsVoies(TCinetiqueMain& m, bool (*choix)(const Tappareil&)) {
  std::string noms;
  for (int i = 0; i < m.NbreVoies(); ++i)
    if (Tappareil* a = m.Voie(i); a && choix(*a)) noms += (noms.empty() ? "" : ", ") + a->NomAppareil;
  return noms;
}

// Each channel whose port could not be bound, with the serial layer's reason.
std::string VoiesSansPort(TCinetiqueMain& m) {
  std::string noms;
  for (int i = 0; i < m.NbreVoies(); ++i) {
    Tappareil* a = m.Voie(i);
    if (!a || a->VoieSerieOK) continue;
    noms += (noms.empty() ? "" : ", ") + a->NomAppareil;
    if (a->ComNumber < 1 || a->ComNumber > TCinetiqueMain::NbreComs) continue;
    if (const auto& p = m.voieSerieCin[a->ComNumber]; p && !p->DerniereErreur().empty())
      noms += " (" + p->DerniereErreur() + ")";
  }
  return noms;
}

// "t=12 s  N=12  pH=7,02 (stable)  ..." on one line of the standard error.
void LigneVivante(TCinetiqueMain& m) {
  std::string t = "\rt=" + std::to_string(static_cast<long>(std::floor((m.Plateforme().boucle.DateHeure() - m.InstantDebut) * 86400.0))) +
                  " s  N=" + std::to_string(m.Graphe->NbrePoints);
  for (int i = 0; i < m.NbreVoies(); ++i)
    if (Tappareil* a = m.Voie(i)) t += "  " + a->NomValeurUniteCourante() + (a->isStable() ? "(stable)" : "(instable)");
  t += "    ";
  std::fputs(t.c_str(), stderr);
  std::fflush(stderr);
}

// The configuration's USB meter channels on the connected meters, a meter serving one
// channel of each definition; an OPH218 measuring pH or potential goes through the
// quantity choice, answered by --usb-ph (without it, the configuration's quantity).
void AttacheMetresUSB(TCinetiqueMain& m, TAdaptateurs& adaptateurs, std::optional<bool> potentiel) {
  if (!adaptateurs.UsbCharge()) return;
  const std::vector<TMetreUSB> metres = adaptateurs.MetresUSB();
  const TBaseAppareils& base = m.Base();
  std::set<std::pair<std::string, std::string>> pris;  // (definition kind, meter path)
  bool change = false;
  for (int i = 0; i < m.NbreVoies(); ++i) {
    Tappareil* A = m.Voie(i);
    if (!A || !A->isOrigalys) continue;
    const bool mesure = A == base.AppareilPH || A == base.AppareilTension;
    const std::string genre = mesure ? "mesure" : A->NomAppareil;
    for (const TMetreUSB& metre : metres) {
      if (!metre.connecte || metre.ident != A->identOrigalys || !pris.insert({genre, metre.chemin}).second) continue;
      if (mesure) {
        TChoixGrandeurDlg choix(m, adaptateurs);
        choix.Prepare(metre, i);
        if (potentiel.value_or(A == base.AppareilTension)) choix.tensionBtnClick();
        else choix.pHBtnClick();
      } else {
        m.AppareilAcq[static_cast<std::size_t>(i)] = adaptateurs.DefinitionMetre(*A, metre);
      }
      change = true;
      break;
    }
  }
  if (change) m.InitAttente();
}

// Lines of the standard input, read as they come without blocking the loop.
class TEntree {
public:
  TEntree() : notifier_(STDIN_FILENO, QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { Lit(); });
  }
  bool Fin() const { return fin_; }
  std::optional<std::string> Ligne() {
    const auto p = tampon_.find('\n');
    if (p == std::string::npos) {
      if (fin_ && !tampon_.empty()) {
        std::string reste = std::move(tampon_);
        tampon_.clear();
        return reste;
      }
      return std::nullopt;
    }
    std::string ligne = tampon_.substr(0, p);
    tampon_.erase(0, p + 1);
    if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
    return ligne;
  }

private:
  void Lit() {
    char octets[4096];
    const ssize_t n = ::read(STDIN_FILENO, octets, sizeof octets);
    if (n <= 0) {
      fin_ = true;
      notifier_.setEnabled(false);
      return;
    }
    tampon_.append(octets, static_cast<std::size_t>(n));
  }
  QSocketNotifier notifier_;
  std::string tampon_;
  bool fin_ = false;
};
}  // namespace

int CommandeAcquire(int argc, char** argv) {
  const auto options = LitOptions(argc, argv);
  if (!options) {
    Usage();
    return 2;
  }
  const TOptions& o = *options;
  for (const std::string* f : {&o.ini, &o.config})
    if (const auto message = MessageFichierEntree("Fichier", *f)) {
      std::fprintf(stderr, "%s\n", message->c_str());
      return 2;
    }
  // Where the results go is known to work before anything is acquired.
  for (const auto& [sortie, quoi] : {std::pair{&o.sortie, "Sortie"}, std::pair{&o.image, "Image"}})
    if (const auto raison = *sortie ? RaisonSortieImpossible(**sortie) : std::nullopt) {
      std::fprintf(stderr, "%s impossible : %s (%s)\n", quoi, (*sortie)->c_str(), raison->c_str());
      return 2;
    }
  // The picture's module and its graphics libraries only for a picture: a run without
  // one loads Qt Core alone.
  std::unique_ptr<TModuleImage> moduleImage;
  std::unique_ptr<QCoreApplication> application;
  if (o.image) {
    std::string raison;
    moduleImage = TModuleImage::Charge(raison);
    if (!moduleImage) {
      std::fprintf(stderr, "Image impossible : %s (%s)\n", o.image->c_str(), raison.c_str());
      return 2;
    }
    application = moduleImage->CreeApplication(argc, argv);
  } else {
    application = std::make_unique<QCoreApplication>(argc, argv);
  }
  TPlateformeConsole console(o.oui);
  TPlateforme& plateforme = console.Plateforme();
  InstalleRegional(&console.regional);
  ConstruitUnitesConnues();

  TBaseAppareils base(console.boucle, console.shell.DossierProgramme());
  base.SetNomFichierIni(o.ini);
  std::string message;
  if (!base.ChargeAppareils(message)) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 2;
  }
  std::map<int, std::string> portsDuRun;
  std::string refus;
  if (!PortsDuRun(o.ports, LectureEnvironnementSysteme(TTablePorts::Variable), console.serie, portsDuRun, refus)) {
    std::fprintf(stderr, "%s\n", refus.c_str());
    return 2;
  }
  if (const auto manque = PortManquant(o.config, portsDuRun, base)) {
    std::fprintf(stderr, "%s\n", manque->c_str());
    return 2;
  }
  const std::string ports = TexteTablePorts(portsDuRun);
  TTablePorts table(console.serie, &console.reglages, [&](const std::string& nom) -> std::optional<std::string> {
    if (nom == TTablePorts::Variable) return ports;
    return std::nullopt;
  });
  const auto adaptateurs = ChargeAdaptateurs(plateforme);
  TCinetiqueMain moteur(plateforme, base, table, adaptateurs.get());
  moteur.FormCreate();
  moteur.TraceCB = false;  // no trace files in the current folder unless asked for
  if (!LitConfig(moteur, o.config) || moteur.NbreVoies() < 1) {
    std::fprintf(stderr, "Configuration inutilisable : %s\n", o.config.c_str());
    return 2;
  }
  AttacheMetresUSB(moteur, *adaptateurs, o.usbPotentiel);
  const std::string sansPort = VoiesSansPort(moteur);
  if (!sansPort.empty()) {
    std::fprintf(stderr, "Voie série inutilisable pour : %s\n", sansPort.c_str());
    return 1;
  }
  if (o.increment) {
    base.Burette().modeIncrement = true;
    base.Burette().incrementVolume = *o.increment;
  }
  if (o.duree && moteur.ModeAcq == maTemps) {
    moteur.DureeMesure = *o.duree;
    moteur.AjusteIntervalles();
    moteur.AfficheDuree();
  }

  TReveilInterruption reveil;
  std::signal(SIGINT, SurInterruption);
  std::signal(SIGTERM, SurInterruption);
  TBoucleEvenements& boucle = console.boucle;

  // The readings must be live before "Acquérir", as a person waits to see them; the
  // binding posted the first poll cycle. The loop sleeps until something happens.
  auto silencieux = [&] { return NomsVoies(moteur, [](const Tappareil& a) { return std::isnan(a.ValeurCourante); }); };
  {
    const TEcheance dixSecondes(boucle, 10000);
    while (!interrompu && !dixSecondes.Passee() && !silencieux().empty()) boucle.AttendEvenement();
  }
  if (interrompu) return 1;
  if (const std::string s = silencieux(); !s.empty()) {
    std::fprintf(stderr, "Aucune valeur reçue en 10 s de : %s\n", s.c_str());
    return 1;
  }

  // In the space-bar mode each empty line is a press of "Acquérir"; the first one too.
  if (moteur.ModeAcq != maIncrement) moteur.EnregistreBtnClick();
  std::optional<TEcheance> finDuree;
  if (moteur.ModeAcq == maAppareilMaitre && o.duree) finDuree.emplace(boucle, *o.duree * 1000LL);
  std::optional<TEntree> entree;
  if (moteur.ModeAcq == maIncrement || moteur.ModeAcq == maClavier) entree.emplace();
  std::int64_t dernierAffichage = 0;
  for (;;) {
    if (interrompu) {
      ArreteEnGardantLesPoints(moteur);
      break;
    }
    boucle.AttendEvenement();
    // At the wake-ups the acquisition brings anyway: the line has no timer of its own.
    if (boucle.Millisecondes() - dernierAffichage >= 500) {
      dernierAffichage = boucle.Millisecondes();
      LigneVivante(moteur);
    }
    const TEtatAcquisition e = moteur.EtatAcq;
    if (e == eaTerminee || e == eaNone || e == eaAttente) break;
    if (finDuree && finDuree->Passee()) {
      moteur.StopBtnClick();
      break;
    }
    if (entree) {
      while (auto ligne = entree->Ligne()) {
        if (moteur.ModeAcq == maIncrement) {
          if (ligne->empty()) moteur.EnregistreBtnClick();
        } else {
          moteur.Vue().SetTexte(ctl::ClavierEdit, *ligne);
          moteur.ValideClavierBtnClick();
        }
      }
      if (entree->Fin()) {
        ArreteEnGardantLesPoints(moteur);
        break;
      }
    }
  }
  LigneVivante(moteur);
  std::fputs("\n", stderr);

  const int n = moteur.Graphe->NbrePoints;
  int statut = n > 0 ? 0 : 1;
  if (n == 0) std::fprintf(stderr, "Aucun point enregistré.\n");
  for (int i = 0; i < moteur.NbreVoies(); ++i)
    if (auto* port = moteur.Voie(i) ? dynamic_cast<TPortSerie*>(moteur.Voie(i)->VoieSerie) : nullptr; port && port->Perdu()) {
      std::fprintf(stderr, "%s\n", port->MessagePerte().c_str());
      statut = 1;
    }
  if (n > 0 && o.sortie && !EcritTableSortie(moteur, *o.sortie, base.NomFichierTexte())) statut = 1;
  if (std::string raison; o.image && !moduleImage->EcritImageGraphe(moteur, *o.image, raison)) {
    std::fprintf(stderr, "Erreur d'écriture de %s (%s)\n", o.image->c_str(), raison.c_str());
    statut = 1;
  }
  moteur.FormDestroy();
  InstalleRegional(nullptr);
  return statut;
}
