// Sleep between events: what a long acquisition costs while nothing happens. On the
// same nine polled pseudo-terminal instruments (written for this measure: "M" CR
// answered at once, 9600 8N1), polled once a second, side by side in one run: a bare
// QSerialPort poller doing the same cycle (a child of this program), then
// `pelitrax-cli acquire` with a time base of 30 s, for the same length of time.
// Figures: CPU time and voluntary context switches of each (wait4's rusage), and
// their ratios (goals: CPU at most 1.5 x the bare poller, wake-ups beyond those of the
// data at most 2 a second), also over the steady part of the run (from /proc, 5 s to
// 25 s, start-up and end left out); the turnaround of a channel, from the answer's writing to
// the next channel's request, median (goal: at most 1.3 x the bare poller); the delay
// from each program's start to its first request (goal: under 100 ms).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSerialPort>
#include <QTimer>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "commun_bench.h"

namespace {

constexpr int NbreVoies = 9;
constexpr int PremierCom = 3;
constexpr int DureeS = 30;
constexpr const char* Reponse = "7.02\r";

// ---- the bare poller: a child of this program, `--lecteur-nu MS PERIPHERIQUE...` ----

// Asks each port in turn "M" CR, the next one when the answer's CR has come, one cycle
// at once and then one a second, for MS milliseconds; it blocks in Qt's loop between.
int LecteurNu(int argc, char** argv) {
  int argcQt = 1;
  QCoreApplication application(argcQt, argv);
  const int dureeMs = std::atoi(argv[2]);
  std::vector<std::unique_ptr<QSerialPort>> ports;
  int courante = NbreVoies;
  std::string tampon;
  for (int i = 3; i < argc; ++i) {
    auto port = std::make_unique<QSerialPort>(QString::fromLocal8Bit(argv[i]));
    if (!port->open(QIODevice::ReadWrite)) return 1;
    port->setBaudRate(9600);
    ports.push_back(std::move(port));
  }
  for (std::size_t i = 0; i < ports.size(); ++i)
    QObject::connect(ports[i].get(), &QSerialPort::readyRead, [&, i] {
      const QByteArray octets = ports[i]->readAll();
      if (static_cast<int>(i) != courante) return;
      tampon.append(octets.constData(), static_cast<std::size_t>(octets.size()));
      if (tampon.find('\r') == std::string::npos) return;
      tampon.clear();
      if (++courante < static_cast<int>(ports.size())) ports[static_cast<std::size_t>(courante)]->write("M\r", 2);
    });
  auto cycle = [&] {
    courante = 0;
    tampon.clear();
    ports[0]->write("M\r", 2);
  };
  QTimer minuterie;
  QObject::connect(&minuterie, &QTimer::timeout, cycle);
  minuterie.start(1000);
  QTimer::singleShot(dureeMs, &application, &QCoreApplication::quit);
  cycle();
  return QCoreApplication::exec();
}

// ---- pelitrax-cli acquire on the same instruments ----

// A running child's CPU time (nanoseconds) and voluntary context switches so far,
// over all its threads, from /proc.
struct TEchantillon {
  double processeurNs = 0;
  double commutations = 0;
};

TEchantillon Echantillon(pid_t pid) {
  TEchantillon e;
  std::error_code erreur;
  const std::filesystem::path taches = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& t : std::filesystem::directory_iterator(taches, erreur)) {
    std::ifstream sched(t.path() / "schedstat");
    double ns = 0;
    if (sched >> ns) e.processeurNs += ns;
    std::ifstream etat(t.path() / "status");
    for (std::string ligne; std::getline(etat, ligne);)
      if (ligne.rfind("voluntary_ctxt_switches:", 0) == 0) e.commutations += std::atof(ligne.c_str() + 24);
  }
  return e;
}

// The steady part of a run, away from its start and its end: from 5 s to 25 s.
constexpr int DebutRegimeS = 5;
constexpr int FinRegimeS = 25;

struct TRegime {
  double processeurMsParS = 0;
  double reveilsParS = 0;
};

TRegime MesureRegime(const bench::TFils& fils) {
  auto dort = [&](int s) {
    const std::int64_t reste = fils.debutUs + s * 1000000LL - bench::MicrosecondesMonotones();
    if (reste > 0) std::this_thread::sleep_for(std::chrono::microseconds(reste));
  };
  dort(DebutRegimeS);
  const TEchantillon a = Echantillon(fils.pid);
  dort(FinRegimeS);
  const TEchantillon b = Echantillon(fils.pid);
  const double duree = FinRegimeS - DebutRegimeS;
  return {(b.processeurNs - a.processeurNs) / 1e6 / duree, (b.commutations - a.commutations) / duree};
}

// What one program did with the bench.
struct TReleve {
  TRegime regime;
  bench::TFinFils fin;
  std::vector<double> retournementsUs;  // answer of channel k to request of channel k + 1
  double premiereRequeteMs = 0;
  int requetes = 0;
};

TReleve Analyse(const bench::TFils& fils, const bench::TFinFils& fin, const std::vector<bench::TEchange>& echanges) {
  TReleve r;
  r.fin = fin;
  r.requetes = static_cast<int>(echanges.size());
  if (!echanges.empty()) r.premiereRequeteMs = static_cast<double>(echanges.front().requeteUs - fils.debutUs) / 1000.0;
  for (std::size_t j = 1; j < echanges.size(); ++j)
    if (echanges[j].voie == echanges[j - 1].voie + 1)
      r.retournementsUs.push_back(static_cast<double>(echanges[j].requeteUs - echanges[j - 1].reponseUs));
  return r;
}

void Veille(benchmark::State& state) {
  const auto cli = bench::ProgrammeDuBuild("PELITRAX_CLI", "tools/cli/pelitrax-cli");
  if (!std::filesystem::exists(cli)) {
    state.SkipWithError(("programme absent : " + cli.string()).c_str());
    return;
  }
  if (!bench::EcritAcquisition({"Banc veille", 9600, 0, "M|CR|"}, NbreVoies, PremierCom, DureeS, "veille.ini",
                               "veille.rs2")) {
    state.SkipWithError("écriture des fichiers de l'acquisition impossible");
    return;
  }
  bench::TBancReponseImmediate banc(Reponse);
  const std::vector<std::string> chemins = bench::AjouteInstruments(banc, NbreVoies);
  if (chemins.empty()) {
    state.SkipWithError("pseudo-terminal impossible");
    return;
  }
  banc.Demarre();
  std::error_code e;
  const auto soi = std::filesystem::read_symlink("/proc/self/exe", e);
  std::string erreur;
  TReleve programme, nu;
  for (auto _ : state) {
    // The program first: its run's length is the bare poller's.
    std::vector<std::string> args = {cli.string(), "acquire", "--ini", "veille.ini", "--config", "veille.rs2",
                                     "--sortie", "veille.txt", "--duree", std::to_string(DureeS), "--non"};
    for (int i = 0; i < NbreVoies; ++i) {
      args.push_back("--port");
      args.push_back("COM" + std::to_string(PremierCom + i) + "=" + chemins[static_cast<std::size_t>(i)]);
    }
    std::filesystem::create_directories("programme-cli");
    const std::string dossier = (std::filesystem::current_path() / "programme-cli").string();
    banc.Releve();
    const bench::TFils fils = bench::Lance(args, {"PELITRAX_DOSSIER_PROGRAMME=" + dossier}, "veille.out", "veille.err");
    const TRegime regime = MesureRegime(fils);
    const bench::TFinFils fin = bench::Attend(fils);
    programme = Analyse(fils, fin, banc.Releve());
    programme.regime = regime;
    if (fin.statut != 0) {
      erreur = "pelitrax-cli acquire a échoué (statut " + std::to_string(fin.statut) + ", voir veille.err)";
      break;
    }
    std::vector<std::string> argsNu = {soi.string(), "--lecteur-nu", std::to_string(fin.dureeUs / 1000)};
    argsNu.insert(argsNu.end(), chemins.begin(), chemins.end());
    const bench::TFils filsNu = bench::Lance(argsNu, {}, {}, "lecteur-nu.err");
    const TRegime regimeNu = MesureRegime(filsNu);
    const bench::TFinFils finNu = bench::Attend(filsNu);
    nu = Analyse(filsNu, finNu, banc.Releve());
    nu.regime = regimeNu;
    if (finNu.statut != 0) erreur = "le lecteur nu a échoué (statut " + std::to_string(finNu.statut) + ")";
    state.SetIterationTime(static_cast<double>(fin.dureeUs + finNu.dureeUs) / 1e6);
  }
  banc.Arrete();
  if (erreur.empty() && (programme.retournementsUs.empty() || nu.retournementsUs.empty()))
    erreur = "aucun retournement mesuré";
  if (!erreur.empty()) {
    state.SkipWithError(erreur.c_str());
    return;
  }
  const double duree = static_cast<double>(programme.fin.dureeUs) / 1e6;
  const double retournement = bench::Mediane(programme.retournementsUs);
  const double retournementNu = bench::Mediane(nu.retournementsUs);
  state.counters["duree_s"] = duree;
  state.counters["processeur_s"] = programme.fin.processeurS;
  state.counters["processeur_nu_s"] = nu.fin.processeurS;
  state.counters["processeur_rapport"] = programme.fin.processeurS / nu.fin.processeurS;
  state.counters["commutations_volontaires"] = static_cast<double>(programme.fin.commutationsVolontaires);
  state.counters["commutations_volontaires_nu"] = static_cast<double>(nu.fin.commutationsVolontaires);
  state.counters["reveils_par_s"] = static_cast<double>(programme.fin.commutationsVolontaires) / duree;
  state.counters["reveils_nu_par_s"] = static_cast<double>(nu.fin.commutationsVolontaires) / duree;
  // Those the data bring are the bare poller's: the same requests and answers.
  state.counters["reveils_au_dela_donnees_par_s"] =
      static_cast<double>(programme.fin.commutationsVolontaires - nu.fin.commutationsVolontaires) / duree;
  state.counters["regime_processeur_ms_par_s"] = programme.regime.processeurMsParS;
  state.counters["regime_processeur_nu_ms_par_s"] = nu.regime.processeurMsParS;
  state.counters["regime_processeur_rapport"] = programme.regime.processeurMsParS / nu.regime.processeurMsParS;
  state.counters["regime_reveils_par_s"] = programme.regime.reveilsParS;
  state.counters["regime_reveils_nu_par_s"] = nu.regime.reveilsParS;
  state.counters["regime_reveils_au_dela_donnees_par_s"] = programme.regime.reveilsParS - nu.regime.reveilsParS;
  state.counters["retournement_median_us"] = retournement;
  state.counters["retournement_nu_median_us"] = retournementNu;
  state.counters["retournement_rapport"] = retournement / retournementNu;
  state.counters["premiere_requete_ms"] = programme.premiereRequeteMs;
  state.counters["premiere_requete_nu_ms"] = nu.premiereRequeteMs;
  state.counters["requetes"] = programme.requetes;
  state.counters["requetes_nu"] = nu.requetes;
  state.SetLabel("9 instruments sur pseudo-terminaux, une scrutation par seconde, " + std::to_string(DureeS) + " s");
}
BENCHMARK(Veille)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--lecteur-nu") return LecteurNu(argc, argv);
  bench::PrepareDossier("veille");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
