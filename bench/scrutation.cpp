// The engine on real QSerialPort over pseudo-terminals: one poll cycle of 9 channels
// to bench instruments that answer at once (goal: under 2 ms beyond the bytes' wire
// time), and the latency from the last byte of a frame written on the pty to the value
// in the view model (goals: median under 1 ms and within 3x the floor, 99th
// percentile under 5 ms). The floor is a bare QSerialPort reader on the same
// pseudo-terminals, measured in alternating rounds with the engine so that both see
// the same load; the program's own cost is its figure minus the floor's.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSerialPort>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "banc/banc_pty.h"
#include "banc/instrument.h"
#include "commun_bench.h"
#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "instruments/base_appareils.h"
#include "instruments/unite.h"
#include "links/table_ports.h"
#include "platform/qt/graphique/plateforme_qt.h"
#include "platform/serie.h"
#include "util/regional_courant.h"

namespace {

constexpr int NbreVoies = 9;
constexpr int PremierCom = 3;
constexpr int Baud = 9600;
constexpr int OctetsTrame = 10;  // nine digits and CR
constexpr int Manches = 4;       // rounds: floor then engine, each on freshly opened ports
constexpr int CyclesParManche = 15;
constexpr int DelaiMaxCycleMs = 3000;

// When frame `estampille` of channel `voie` really left for its pty (monotonic
// microseconds), as noted by the bench that served it.
class TEnvois {
public:
  virtual ~TEnvois() = default;
  virtual std::optional<std::int64_t> Envoi(int voie, std::int64_t estampille) const = 0;
};

// The bench instruments of this measure: on each pseudo-terminal, an instrument that
// answers "V?" CR at once with its send time, the planned end of the frame's last byte
// in microseconds of the bench's clock, nine digits then CR ("000512345\r"), each
// byte leaving at the line speed. The bench of tools/banc paces bytes on whole
// milliseconds, which would add up to a millisecond per frame to what is measured:
// this one sleeps to the microsecond (the thread's timer slack is 1 µs) and notes the
// instant each frame's last byte really left, so the latency does not depend on how
// closely the serving thread keeps to its plan.
class TBancHorodate final : public TEnvois {
public:
  TBancHorodate() : origine_(bench::MicrosecondesMonotones()) {}
  ~TBancHorodate() override { serveur_.Arrete(); }

  // A new instrument on its own pseudo-terminal: the path a port opens, empty on failure.
  std::string Ajoute() { return postes_.Ajoute(); }
  void Demarre() { serveur_.Demarre([this] { Boucle(); }); }
  void Arrete() { serveur_.Arrete(); }

  std::optional<std::int64_t> Envoi(int voie, std::int64_t estampille) const override {
    std::lock_guard verrou(mutex_);
    const auto i = envois_.find({voie, estampille});
    if (i == envois_.end()) return std::nullopt;
    return i->second;
  }

  static double CaractereUs() { return 1e6 * BitsParCaractere(LigneBanc()) / Baud; }

private:
  struct Octet {
    std::int64_t duUs;  // the instant its stop bit ends
    char valeur;
  };
  struct Poste {
    int maitre = -1;
    int esclave = -1;
    std::string commande;
    std::deque<Octet> sortie;
    std::deque<std::int64_t> estampilles;  // of the frames queued
  };

  static TReglageLigne LigneBanc() {
    TReglageLigne l;
    l.baud = Baud;
    return l;
  }

  void Repond(Poste& p, std::int64_t maintenant) {
    const std::int64_t debut = p.sortie.empty() ? maintenant : p.sortie.back().duUs;
    const auto fin = debut + static_cast<std::int64_t>(std::llround(OctetsTrame * CaractereUs()));
    const std::int64_t estampille = (fin - origine_) % 1000000000LL;
    char texte[16];
    std::snprintf(texte, sizeof texte, "%09lld\r", static_cast<long long>(estampille));
    for (int k = 0; k < OctetsTrame; ++k)
      p.sortie.push_back({debut + static_cast<std::int64_t>(std::llround((k + 1) * CaractereUs())), texte[k]});
    p.estampilles.push_back(estampille);
  }

  void Boucle() {
    ::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
    std::vector<pollfd> attente;
    while (!serveur_.Arret()) {
      attente.assign(1, pollfd{serveur_.Eveil(), POLLIN, 0});
      std::int64_t prochain = bench::MicrosecondesMonotones() + 1000000;
      for (const Poste& p : postes_.liste) {
        attente.push_back(pollfd{p.maitre, POLLIN, 0});
        if (!p.sortie.empty()) prochain = std::min(prochain, p.sortie.front().duUs);
      }
      const std::int64_t delai = std::max<std::int64_t>(prochain - bench::MicrosecondesMonotones(), 0);
      const timespec ts{static_cast<time_t>(delai / 1000000), static_cast<long>(delai % 1000000) * 1000};
      ::ppoll(attente.data(), attente.size(), &ts, nullptr);
      for (std::size_t k = 0; k < postes_.liste.size(); ++k) {
        Poste& p = postes_.liste[k];
        if (attente[k + 1].revents & POLLIN) {
          char tampon[256];
          const ssize_t n = ::read(p.maitre, tampon, sizeof tampon);
          bench::PourChaqueCommande(p.commande, tampon, n, [&](const std::string& commande) {
            if (commande == "V?") Repond(p, bench::MicrosecondesMonotones());
          });
        }
        const std::int64_t maintenant = bench::MicrosecondesMonotones();
        std::string octets;
        bool finDeTrame = false;
        while (!p.sortie.empty() && p.sortie.front().duUs <= maintenant) {
          octets += p.sortie.front().valeur;
          finDeTrame = finDeTrame || p.sortie.front().valeur == '\r';
          p.sortie.pop_front();
        }
        if (octets.empty()) continue;
        [[maybe_unused]] auto ecrits = ::write(p.maitre, octets.data(), octets.size());
        if (finDeTrame && !p.estampilles.empty()) {
          const std::int64_t parti = bench::MicrosecondesMonotones();
          std::lock_guard verrou(mutex_);
          envois_[{static_cast<int>(k), p.estampilles.front()}] = parti;
          p.estampilles.pop_front();
        }
      }
      if (attente[0].revents & POLLIN) serveur_.VideEveil();
    }
  }

  bench::TPostesPty<Poste> postes_;
  bench::TFilServeur serveur_;
  std::int64_t origine_;
  mutable std::mutex mutex_;
  std::map<std::pair<int, std::int64_t>, std::int64_t> envois_;
};

// The same instrument on tools/banc's bench (TBancPty), whose serving thread wakes on
// whole milliseconds: measured too, to show what that pacing adds.
class TJournalEnvois final : public TEnvois {
public:
  void Note(int voie, std::int64_t estampille, std::int64_t instantUs) {
    std::lock_guard verrou(mutex_);
    envois_[{voie, estampille}] = instantUs;
  }
  std::optional<std::int64_t> Envoi(int voie, std::int64_t estampille) const override {
    std::lock_guard verrou(mutex_);
    const auto i = envois_.find({voie, estampille});
    if (i == envois_.end()) return std::nullopt;
    return i->second;
  }

private:
  mutable std::mutex mutex_;
  std::map<std::pair<int, std::int64_t>, std::int64_t> envois_;
};

class TInstrumentHorodate final : public TInstrumentCadence {
public:
  TInstrumentHorodate(int voie, TJournalEnvois& journal)
      : TInstrumentCadence("horodate", Ligne9600()), voie_(voie), journal_(journal) {}

  // Runs in the serving thread just before it writes the bytes.
  std::string Sortie(std::int64_t ms) override {
    std::string octets = TInstrumentCadence::Sortie(ms);
    for (char c : octets)
      if (c == '\r' && !enVol_.empty()) {
        journal_.Note(voie_, enVol_.front(), bench::MicrosecondesMonotones());
        enVol_.pop_front();
      }
    return octets;
  }

protected:
  void Commande(std::int64_t ms, const std::string& ligne) override {
    if (ligne != "V?") return;
    // An empty queue starts the answer at `ms`, as Envoie does.
    const std::int64_t fin = (ms * 1000 + static_cast<std::int64_t>(OctetsTrame * TBancHorodate::CaractereUs())) % 1000000000LL;
    char texte[16];
    std::snprintf(texte, sizeof texte, "%09lld\r", static_cast<long long>(fin));
    enVol_.push_back(fin);
    Envoie(ms, texte);
  }

private:
  static TReglageLigne Ligne9600() {
    TReglageLigne l;
    l.baud = Baud;
    return l;
  }
  int voie_;
  TJournalEnvois& journal_;
  std::deque<std::int64_t> enVol_;
};

// One frame as a reader saw it: its channel, its stamp, the instant it was complete.
struct TArrivee {
  int voie;
  std::int64_t estampille;
  std::int64_t instantUs;
};

struct TMesures {
  std::vector<double> cyclesMs;
  std::vector<TArrivee> arrivees;
  int echecs = 0;
};

// The floor: a bare QSerialPort reader that asks each port in turn and stamps each
// frame when its CR arrives.
class TLecteurNu {
public:
  TLecteurNu(TBoucleEvenements& boucle, const std::vector<std::string>& chemins) : boucle_(boucle) {
    for (std::size_t i = 0; i < chemins.size(); ++i) {
      auto port = std::make_unique<QSerialPort>(QString::fromStdString(chemins[i]));
      if (!port->open(QIODevice::ReadWrite)) continue;
      port->setBaudRate(Baud);
      QObject::connect(port.get(), &QSerialPort::readyRead, port.get(), [this, i] { Lit(static_cast<int>(i)); });
      ports_.push_back(std::move(port));
    }
  }
  bool Pret() const { return ports_.size() == NbreVoies; }

  void Cycle(TMesures* mesures) {
    mesures_ = mesures;
    courante_ = 0;
    tampon_.clear();
    const std::int64_t debut = bench::MicrosecondesMonotones();
    ports_[0]->write("V?\r", 3);
    while (courante_ < NbreVoies && bench::MicrosecondesMonotones() - debut < DelaiMaxCycleMs * 1000LL)
      boucle_.TraiteEvenements(20);
    mesures_ = nullptr;
    if (!mesures) return;
    if (courante_ < NbreVoies) ++mesures->echecs;
    else mesures->cyclesMs.push_back(static_cast<double>(fin_ - debut) / 1000.0);
  }

private:
  void Lit(int i) {
    if (i != courante_) {
      ports_[static_cast<std::size_t>(i)]->readAll();
      return;
    }
    tampon_ += ports_[static_cast<std::size_t>(i)]->readAll().toStdString();
    const auto cr = tampon_.find('\r');
    if (cr == std::string::npos) return;
    const std::int64_t instant = bench::MicrosecondesMonotones();
    if (mesures_) mesures_->arrivees.push_back({i, std::strtoll(tampon_.c_str(), nullptr, 10), instant});
    tampon_.clear();
    fin_ = instant;
    if (++courante_ < NbreVoies) ports_[static_cast<std::size_t>(courante_)]->write("V?\r", 3);
  }

  TBoucleEvenements& boucle_;
  std::vector<std::unique_ptr<QSerialPort>> ports_;
  TMesures* mesures_ = nullptr;
  int courante_ = 0;
  std::string tampon_;
  std::int64_t fin_ = 0;
};

// The engine with nine channels, one model per port, polled by hand one cycle at a
// time (the main timer stays off). A channel's value reaches the view model when its
// label changes: the observer stamps it there.
class TMoteurBanc {
public:
  TMoteurBanc(TPlateformeQt& qt, const std::string& dossierProgramme, const std::vector<std::string>& chemins)
      : qt_(qt), base_(qt.boucle, dossierProgramme), table_(qt.serie, nullptr, [this](const std::string& nom) {
          return nom == TTablePorts::Variable ? std::optional<std::string>(ports_) : std::nullopt;
        }) {
    for (std::size_t i = 0; i < chemins.size(); ++i) {
      if (i) ports_ += ';';
      ports_.append("COM").append(std::to_string(PremierCom + static_cast<int>(i))).append("=").append(chemins[i]);
    }
    table_.Actualise();
    std::string message;
    charge_ = base_.ChargeAppareils(message);
    moteur_ = std::make_unique<TCinetiqueMain>(qt.Plateforme(), base_, table_);
    moteur_->FormCreate();
    moteur_->TraceCB = false;
    moteur_->SetNbreVoies(NbreVoies);
    for (int i = 0; i < NbreVoies; ++i) {
      base_.ListeAppareils.push_back(std::make_unique<Tappareil>());
      Tappareil& a = *base_.ListeAppareils.back();
      a.NomAppareil.assign("Horodaté ").append(std::to_string(i));
      a.ComNumber = static_cast<std::uint16_t>(PremierCom + i);
      a.Baud = Baud;
      a.Demande = "V?\r";
      // Strings built first: GCC 12 -O3 warns wrongly (-Wrestrict) on a literal here.
      a.SymboleGrandeur = std::string("t");
      a.nomGrandeur = std::string("instant");
      a.UniteGrandeur.clear();
      a.ValMini = 0;
      a.ValMaxi = 1e12;
      a.Precision = 10;
      moteur_->AppareilAcq[static_cast<std::size_t>(i)] = &a;
    }
    moteur_->Vue().SetObservateur([this](const std::string& nom) { Change(nom); });
  }
  ~TMoteurBanc() {
    moteur_->FormDestroy();
    // The engine posts messages to itself (the crosshairs' update after each frame)
    // that hold no guard against its end: they must run while it still exists, or the
    // next engine's loop would run them on a destroyed one.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
  }

  // Binds the channels to their ports (they open) and stops the main timer.
  bool Ouvre() {
    moteur_->InitAttente();
    moteur_->MinuteriePrincipale().SetActif(false);
    for (int i = 0; i < NbreVoies; ++i)
      if (!moteur_->Voie(i)->VoieSerieOK) return false;
    return charge_ && moteur_->EtatAcq != eaNone;
  }
  void Ferme() {
    for (int i = 0; i < NbreVoies; ++i)
      if (auto* p = moteur_->voieSerieCin[static_cast<std::size_t>(PremierCom + i)].get()) p->SetOpen(false);
  }

  void Cycle(TMesures* mesures) {
    mesures_ = mesures;
    recues_ = 0;
    const std::int64_t debut = bench::MicrosecondesMonotones();
    moteur_->TimerTimer();
    while (recues_ < NbreVoies && bench::MicrosecondesMonotones() - debut < DelaiMaxCycleMs * 1000LL)
      qt_.boucle.TraiteEvenements(20);
    mesures_ = nullptr;
    if (!mesures) return;
    if (recues_ < NbreVoies) ++mesures->echecs;
    else mesures->cyclesMs.push_back(static_cast<double>(fin_ - debut) / 1000.0);
  }

private:
  void Change(const std::string& nom) {
    for (int i = 0; i < NbreVoies; ++i) {
      if (nom != ctl::Label(i)) continue;
      // Preparing the channels empties the labels: no value arrives then.
      const double v = moteur_->Voie(i)->ValeurCourante;
      if (std::isnan(v) || moteur_->Vue().Controle(nom).caption.empty()) return;
      const std::int64_t instant = bench::MicrosecondesMonotones();
      if (mesures_) mesures_->arrivees.push_back({i, static_cast<std::int64_t>(std::llround(v)), instant});
      ++recues_;
      fin_ = instant;
      return;
    }
  }

  TPlateformeQt& qt_;
  std::string ports_;
  TBaseAppareils base_;
  TTablePorts table_;
  bool charge_ = false;
  std::unique_ptr<TCinetiqueMain> moteur_;
  TMesures* mesures_ = nullptr;
  int recues_ = 0;
  std::int64_t fin_ = 0;
};

std::vector<double> LatencesMs(const TMesures& m, const TEnvois& banc, int& sansEnvoi) {
  std::vector<double> l;
  for (const TArrivee& a : m.arrivees) {
    if (const auto envoi = banc.Envoi(a.voie, a.estampille))
      l.push_back(static_cast<double>(a.instantUs - *envoi) / 1000.0);
    else
      ++sansEnvoi;
  }
  return l;
}

// Floor and engine in turn on the served pseudo-terminals, then the figures.
void Mesure(benchmark::State& state, const std::vector<std::string>& chemins, const TEnvois& envois) {
  TPlateformeQt qt;
  InstalleRegional(&qt.regional);
  std::filesystem::create_directories("programme");
  TMesures plancher, programme;
  std::string erreur;
  {
    TMoteurBanc moteur(qt, (std::filesystem::current_path() / "programme").string(), chemins);
    for (auto _ : state) {
      for (int manche = 0; manche < Manches && erreur.empty(); ++manche) {
        {
          TLecteurNu lecteur(qt.boucle, chemins);
          if (!lecteur.Pret()) {
            erreur = "le lecteur nu n'ouvre pas les pseudo-terminaux";
            break;
          }
          lecteur.Cycle(nullptr);  // the first cycle after opening is not counted
          for (int k = 0; k < CyclesParManche; ++k) lecteur.Cycle(&plancher);
        }
        if (!moteur.Ouvre()) {
          erreur = "le moteur n'ouvre pas ses voies";
          break;
        }
        moteur.Cycle(nullptr);
        for (int k = 0; k < CyclesParManche; ++k) moteur.Cycle(&programme);
        moteur.Ferme();
      }
    }
  }
  InstalleRegional(nullptr);
  if (!erreur.empty()) {
    state.SkipWithError(erreur.c_str());
    return;
  }

  int sansEnvoi = 0;
  const std::vector<double> latences = LatencesMs(programme, envois, sansEnvoi);
  const std::vector<double> latencesPlancher = LatencesMs(plancher, envois, sansEnvoi);
  const double ligneMs = NbreVoies * OctetsTrame * TBancHorodate::CaractereUs() / 1000.0;
  const double cycle = bench::Mediane(programme.cyclesMs);
  const double cyclePlancher = bench::Mediane(plancher.cyclesMs);
  const double mediane = bench::Mediane(latences);
  const double medianePlancher = bench::Mediane(latencesPlancher);
  if (latences.empty() || latencesPlancher.empty()) {
    state.SkipWithError("aucune trame mesurée");
    return;
  }

  state.counters["temps_ligne_ms"] = ligneMs;
  state.counters["cycle_ms"] = cycle;
  state.counters["cycle_plancher_ms"] = cyclePlancher;
  state.counters["cycle_au_dela_ligne_ms"] = cycle - ligneMs;
  state.counters["cycle_plancher_au_dela_ligne_ms"] = cyclePlancher - ligneMs;
  state.counters["cycle_au_dela_plancher_ms"] = cycle - cyclePlancher;
  state.counters["cycle_p90_ms"] = bench::Quantile(programme.cyclesMs, 0.9);
  state.counters["latence_mediane_ms"] = mediane;
  state.counters["latence_p99_ms"] = bench::Quantile(latences, 0.99);
  state.counters["latence_plancher_mediane_ms"] = medianePlancher;
  state.counters["latence_plancher_p99_ms"] = bench::Quantile(latencesPlancher, 0.99);
  state.counters["latence_rapport_plancher"] = mediane / medianePlancher;
  state.counters["latence_au_dela_plancher_ms"] = mediane - medianePlancher;
  state.counters["cycles"] = static_cast<double>(programme.cyclesMs.size());
  state.counters["trames"] = static_cast<double>(latences.size());
  state.counters["echecs"] = static_cast<double>(programme.echecs + plancher.echecs + sansEnvoi);
}

void ScrutationPty(benchmark::State& state) {
  TBancHorodate banc;
  const std::vector<std::string> chemins = bench::AjouteInstruments(banc, NbreVoies);
  if (chemins.empty()) {
    state.SkipWithError("pseudo-terminal impossible");
    return;
  }
  banc.Demarre();
  Mesure(state, chemins, banc);
  banc.Arrete();
  state.SetLabel("9 voies, " + std::to_string(Baud) + " bauds, trames de " + std::to_string(OctetsTrame) + " octets");
}
BENCHMARK(ScrutationPty)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

void ScrutationPtyBancMilliseconde(benchmark::State& state) {
  TJournalEnvois journal;
  TBancPty banc;
  std::vector<std::string> chemins;
  for (int i = 0; i < NbreVoies; ++i) chemins.push_back(banc.Ajoute(std::make_unique<TInstrumentHorodate>(i, journal)));
  for (const auto& c : chemins)
    if (c.empty()) {
      state.SkipWithError("pseudo-terminal impossible");
      return;
    }
  banc.Demarre();
  Mesure(state, chemins, journal);
  banc.Arrete();
  state.SetLabel("les mêmes instruments sur TBancPty (octets cadencés à la milliseconde)");
}
BENCHMARK(ScrutationPtyBancMilliseconde)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  bench::PrepareDossier("scrutation");
  int argcQt = 1;
  QCoreApplication application(argcQt, argv);
  ConstruitUnitesConnues();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
