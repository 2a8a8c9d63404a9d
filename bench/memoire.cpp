// Memory of a 9-channel acquisition (goal: a headless run under 30 MB at its peak).
// A full 2048-point run at the shortest interval lasts 2048 s of real time, so two
// measures stand side by side: the real headless program, `pelitrax-cli acquire`,
// run as a child against banc-virtuel on pseudo-terminals for a short time base (its
// peak resident set from wait4), and the engine alone recording the full 2048 x 9
// table on the simulated platform in this process (heap and peak resident set
// before and after). Their sum is the estimate of the full headless run.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "banc/grandeur.h"
#include "banc/jonction_simulee.h"
#include "banc/phmetre.h"
#include "commun_bench.h"
#include "core/cinetique.h"
#include "instruments/base_appareils.h"
#include "links/table_ports.h"
#include "platform/simule/plateforme_simulee.h"
#include "util/regional_courant.h"

namespace {

constexpr int NbreVoies = 9;
constexpr int PremierCom = 3;
constexpr int DureeCourte = 8;  // seconds: the shortest time base the engine accepts at 1 s

double Mo(double octets) { return octets / (1024.0 * 1024.0); }

long PointeRssKo() {
  rusage r{};
  ::getrusage(RUSAGE_SELF, &r);
  return r.ru_maxrss;
}

// Heap in use: the arenas' allocated blocks and the mapped ones.
double TasOctets() {
  const struct mallinfo2 m = ::mallinfo2();
  return static_cast<double>(m.uordblks + m.hblkhd);
}

// The engine recording a 2048-point time base of nine polled pH meters, in virtual
// time (a few seconds of real time).
void AcquisitionSimulee2048(benchmark::State& state) {
  for (auto _ : state) {
    const double tas0 = TasOctets();
    const long rss0 = PointeRssKo();
    double tas1 = 0, tas2 = 0;
    long rss2 = 0;
    int points = 0;
    {
      const std::string racine = (std::filesystem::current_path() / "simule").string();
      std::filesystem::create_directories(racine + "/programme");
      std::string ports;
      TPlateformeSimulee p(racine);
      InstalleRegional(&p.regional);
      TBaseAppareils base(p.boucle, racine + "/programme");
      TTablePorts table(p.serie, &p.reglages, [&](const std::string& nom) -> std::optional<std::string> {
        if (nom == TTablePorts::Variable) return ports;
        return std::nullopt;
      });
      std::vector<std::unique_ptr<TPhMetre>> phmetres;
      std::vector<std::unique_ptr<TJonctionSimulee>> jonctions;
      for (int i = 0; i < NbreVoies; ++i) {
        const int com = PremierCom + i;
        const std::string chemin = "/sim/com" + std::to_string(com);
        auto ph = std::make_shared<TDeriveAmortie>(4.0 + i * 0.3, 7.0, 60000.0, 0.02);
        phmetres.push_back(std::make_unique<TPhMetre>(ph));
        TLigneSimulee& ligne = p.serie.AjouteLigne(chemin);
        jonctions.push_back(std::make_unique<TJonctionSimulee>(p.boucle, ligne, *phmetres.back()));
        if (!ports.empty()) ports += ';';
        ports.append("COM").append(std::to_string(com)).append("=").append(chemin);
      }
      table.Actualise();
      std::string message;
      base.ChargeAppareils(message);
      TCinetiqueMain moteur(p.Plateforme(), base, table);
      moteur.FormCreate();
      moteur.TraceCB = false;
      moteur.SetNbreVoies(NbreVoies);
      for (int i = 0; i < NbreVoies; ++i) {
        base.ListeAppareils.push_back(std::make_unique<Tappareil>());
        Tappareil& a = *base.ListeAppareils.back();
        a.NomAppareil.assign("pH-mètre ").append(std::to_string(i));
        a.ComNumber = static_cast<std::uint16_t>(PremierCom + i);
        a.Baud = 2400;
        a.Demande = std::string("PH?\r");
        a.SymboleGrandeur = std::string("pH");
        a.UniteGrandeur.clear();
        a.ValMaxi = 14;
        a.Precision = 3;
        a.Delai = 100;
        moteur.AppareilAcq[static_cast<std::size_t>(i)] = &a;
      }
      moteur.ModeAcq = maTemps;
      moteur.DeltatMesure = 1;
      moteur.DureeMesure = MaxPoints;
      moteur.InitAttente();
      moteur.TimerTimer();
      p.boucle.Avance(1000);
      tas1 = TasOctets();
      moteur.EnregistreBtnClick();
      for (int s = 0; s < MaxPoints + 20 && moteur.EtatAcq == eaEnCours; ++s) p.boucle.Avance(1000);
      points = moteur.Graphe->NbrePoints;
      tas2 = TasOctets();
      rss2 = PointeRssKo();
      moteur.FormDestroy();
      InstalleRegional(nullptr);
    }
    state.counters["points"] = points;
    state.counters["moteur_pret_Mo"] = Mo(tas1 - tas0);
    state.counters["tas_table_pleine_Mo"] = Mo(tas2 - tas0);
    state.counters["croissance_2048_points_Mo"] = Mo(tas2 - tas1);
    state.counters["pointe_rss_croissance_Mo"] = static_cast<double>(rss2 - rss0) / 1024.0;
    if (points < MaxPoints - 1)
      state.SkipWithError(("acquisition incomplète : " + std::to_string(points) + " points").c_str());
  }
  state.SetLabel("moteur seul, plateforme simulée, 9 voies x 2048 points");
}
BENCHMARK(AcquisitionSimulee2048)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// Reads banc-virtuel's lines "COM3=/dev/pts/5 pH-metre" up to "prêt" (10 s at most).
std::map<int, std::string> LitPorts(int tube) {
  std::map<int, std::string> ports;
  std::string recu;
  const std::int64_t debut = bench::MicrosecondesMonotones();
  while (recu.find("prêt\n") == std::string::npos && bench::MicrosecondesMonotones() - debut < 10000000) {
    pollfd p{tube, POLLIN, 0};
    if (::poll(&p, 1, 200) <= 0) continue;
    char tampon[512];
    const ssize_t n = ::read(tube, tampon, sizeof tampon);
    if (n <= 0) break;
    recu.append(tampon, static_cast<std::size_t>(n));
  }
  if (recu.find("prêt\n") == std::string::npos) return {};
  std::size_t debutLigne = 0;
  for (std::size_t fin; (fin = recu.find('\n', debutLigne)) != std::string::npos; debutLigne = fin + 1) {
    const std::string ligne = recu.substr(debutLigne, fin - debutLigne);
    const auto egal = ligne.find('='), blanc = ligne.find(' ');
    if (ligne.rfind("COM", 0) != 0 || egal == std::string::npos || blanc == std::string::npos || blanc < egal) continue;
    ports[std::stoi(ligne.substr(3, egal - 3))] = ligne.substr(egal + 1, blanc - egal - 1);
  }
  return ports;
}

// The real headless program: nine pH meters of banc-virtuel, the shortest time base.
void PelitraxCliAcquire(benchmark::State& state) {
  const auto cli = bench::ProgrammeDuBuild("PELITRAX_CLI", "tools/cli/pelitrax-cli");
  const auto banc = bench::ProgrammeDuBuild("PELITRAX_BANC_VIRTUEL", "tools/banc/banc-virtuel");
  for (const auto& f : {cli, banc})
    if (!std::filesystem::exists(f)) {
      state.SkipWithError(("programme absent : " + f.string()).c_str());
      return;
    }
  // The bench's pH meter under nine names and ports.
  if (!bench::EcritAcquisition({"Banc virtuel pH-mètre", 2400, 100, "PH?|CR|"}, NbreVoies, PremierCom, DureeCourte,
                               "acquisition.ini", "acquisition.rs2")) {
    state.SkipWithError("écriture des fichiers de l'acquisition impossible");
    return;
  }
  for (auto _ : state) {
    std::vector<std::string> argsBanc = {banc.string()};
    for (int i = 0; i < NbreVoies; ++i) argsBanc.push_back("pH-metre=COM" + std::to_string(PremierCom + i));
    int tube = -1;
    const bench::TFils filsBanc = bench::Lance(argsBanc, {}, {}, "banc-virtuel.err", &tube);
    const std::map<int, std::string> ports = LitPorts(tube);
    std::string erreur;
    bench::TFinFils fin;
    if (ports.size() != NbreVoies) {
      erreur = "banc-virtuel n'a pas donné ses " + std::to_string(NbreVoies) + " ports";
    } else {
      std::vector<std::string> args = {cli.string(), "acquire", "--ini", "acquisition.ini", "--config",
                                       "acquisition.rs2", "--sortie", "acquisition.txt", "--duree",
                                       std::to_string(DureeCourte), "--non"};
      for (const auto& [com, chemin] : ports) {
        args.push_back("--port");
        args.push_back("COM" + std::to_string(com) + "=" + chemin);
      }
      std::filesystem::remove("acquisition.txt");
      // Its program folder (the text copy RS232.txt goes there) is the scratch one.
      std::filesystem::create_directories("programme-cli");
      const std::string dossier = (std::filesystem::current_path() / "programme-cli").string();
      fin = bench::Attend(bench::Lance(args, {"PELITRAX_DOSSIER_PROGRAMME=" + dossier}, "acquire.out", "acquire.err"));
      if (fin.statut != 0 || !std::filesystem::exists("acquisition.txt"))
        erreur = "pelitrax-cli acquire a échoué (statut " + std::to_string(fin.statut) + ", voir acquire.err)";
    }
    if (filsBanc.pid > 0) {
      ::kill(filsBanc.pid, SIGTERM);
      bench::Attend(filsBanc);
    }
    if (tube >= 0) ::close(tube);
    if (!erreur.empty()) {
      state.SkipWithError(erreur.c_str());
      return;
    }
    state.SetIterationTime(static_cast<double>(fin.dureeUs) / 1e6);
    state.counters["pointe_rss_Mo"] = static_cast<double>(fin.pointeRssKo) / 1024.0;
    state.counters["duree_s"] = DureeCourte;
  }
  state.SetLabel("pelitrax-cli acquire, 9 pH-mètres de banc-virtuel, base de temps de " + std::to_string(DureeCourte) +
                 " s");
}
BENCHMARK(PelitraxCliAcquire)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  bench::PrepareDossier("memoire");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
