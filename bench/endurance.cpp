// Soak: a 9-channel time base at the shortest interval the engine allows (1 s: the
// interval is whole seconds, and nine instruments answering at once add nothing to
// it), `pelitrax-cli acquire` against nine pseudo-terminal instruments written for
// this measure ("M" CR answered at once with "7.02" CR, 9600 8N1). Figures: the
// largest gap between two polls of one channel as the instruments saw them (goal:
// at most 1.5 s, the interval plus half of it), the peak resident set (wait4), and
// its growth per point over the steady part of the run (sampled from /proc) carried
// to 2048 points (goal: under 30 MB, the memory goal).
// A full 2048-point run lasts 34 minutes of real time and the program has no faster
// clock, so scripts/bench runs 121 points (2 minutes) and carries the growth on;
// PELITRAX_ENDURANCE_POINTS=2048 runs the whole of it by hand.
#include <benchmark/benchmark.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "commun_bench.h"

namespace {

constexpr int NbreVoies = 9;
constexpr int PremierCom = 3;
constexpr int PointsTableMaxi = 2048;
constexpr int PointsParDefaut = 121;
constexpr double DebutRegimeS = 10;  // start-up and the first points left out of the growth


long RssKo(pid_t pid) {
  std::ifstream etat("/proc/" + std::to_string(pid) + "/status");
  for (std::string ligne; std::getline(etat, ligne);)
    if (ligne.rfind("VmRSS:", 0) == 0) return std::atol(ligne.c_str() + 6);
  return -1;
}

// Least-squares slope of y over x; 0 for fewer than two samples.
double Pente(const std::vector<double>& x, const std::vector<double>& y) {
  const double n = static_cast<double>(x.size());
  if (x.size() < 2) return 0;
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    sx += x[i];
    sy += y[i];
    sxx += x[i] * x[i];
    sxy += x[i] * y[i];
  }
  const double d = n * sxx - sx * sx;
  return d == 0 ? 0 : (n * sxy - sx * sy) / d;
}

void Endurance(benchmark::State& state) {
  const auto cli = bench::ProgrammeDuBuild("PELITRAX_CLI", "tools/cli/pelitrax-cli");
  if (!std::filesystem::exists(cli)) {
    state.SkipWithError(("programme absent : " + cli.string()).c_str());
    return;
  }
  const char* demande = std::getenv("PELITRAX_ENDURANCE_POINTS");
  const int points = std::clamp(demande ? std::atoi(demande) : PointsParDefaut, 20, PointsTableMaxi);
  // One point at t = 0, then one a second: the last at t = points - 1.
  const int dureeS = points - 1;
  if (!bench::EcritAcquisition({"Banc endurance", 9600, 0, "M|CR|"}, NbreVoies, PremierCom, dureeS, "endurance.ini",
                               "endurance.rs2")) {
    state.SkipWithError("écriture des fichiers de l'acquisition impossible");
    return;
  }
  bench::TBancReponseImmediate banc;
  const std::vector<std::string> chemins = bench::AjouteInstruments(banc, NbreVoies);
  if (chemins.empty()) {
    state.SkipWithError("pseudo-terminal impossible");
    return;
  }
  banc.Demarre();
  bench::TFinFils fin;
  std::vector<double> temps, rss;
  for (auto _ : state) {
    std::vector<std::string> args = {cli.string(), "acquire", "--ini", "endurance.ini", "--config", "endurance.rs2",
                                     "--sortie", "endurance.txt", "--duree", std::to_string(dureeS), "--non"};
    for (int i = 0; i < NbreVoies; ++i) {
      args.push_back("--port");
      args.push_back("COM" + std::to_string(PremierCom + i) + "=" + chemins[static_cast<std::size_t>(i)]);
    }
    std::filesystem::create_directories("programme-cli");
    const std::string dossier = (std::filesystem::current_path() / "programme-cli").string();
    const bench::TFils fils =
        bench::Lance(args, {"PELITRAX_DOSSIER_PROGRAMME=" + dossier}, "endurance.out", "endurance.err");
    // The resident set four times a second while the child lives.
    std::atomic<bool> fini{false};
    std::thread releve([&] {
      while (!fini) {
        const long ko = RssKo(fils.pid);
        const double t = static_cast<double>(bench::MicrosecondesMonotones() - fils.debutUs) / 1e6;
        if (ko > 0 && t >= DebutRegimeS) {
          temps.push_back(t);
          rss.push_back(static_cast<double>(ko));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
      }
    });
    fin = bench::Attend(fils);
    fini = true;
    releve.join();
    state.SetIterationTime(static_cast<double>(fin.dureeUs) / 1e6);
  }
  banc.Arrete();
  if (fin.statut != 0) {
    state.SkipWithError(("pelitrax-cli acquire a échoué (statut " + std::to_string(fin.statut) +
                         ", voir endurance.err)").c_str());
    return;
  }
  // The largest gap between two polls of one channel, and the polls made.
  double ecartMaxMs = 0;
  std::vector<double> ecarts;
  std::size_t scrutationsMini = SIZE_MAX;
  // The arrival times of each channel's requests.
  std::vector<std::vector<std::int64_t>> parVoie(NbreVoies);
  for (const bench::TEchange& e : banc.Releve()) parVoie[static_cast<std::size_t>(e.voie)].push_back(e.requeteUs);
  for (const auto& instants : parVoie) {
    scrutationsMini = std::min(scrutationsMini, instants.size());
    for (std::size_t j = 1; j < instants.size(); ++j) {
      const double ms = static_cast<double>(instants[j] - instants[j - 1]) / 1000.0;
      ecarts.push_back(ms);
      ecartMaxMs = std::max(ecartMaxMs, ms);
    }
  }
  if (ecarts.empty()) {
    state.SkipWithError("aucune scrutation vue par le banc");
    return;
  }
  // One point a second: the growth per second is the growth per point.
  const double croissanceKoParPoint = Pente(temps, rss);
  const double pointeMo = static_cast<double>(fin.pointeRssKo) / 1024.0;
  state.counters["points_demandes"] = points;
  state.counters["scrutations_par_voie"] = static_cast<double>(scrutationsMini);
  state.counters["duree_s"] = static_cast<double>(fin.dureeUs) / 1e6;
  state.counters["ecart_max_scrutations_ms"] = ecartMaxMs;
  state.counters["ecart_median_scrutations_ms"] = bench::Mediane(ecarts);
  state.counters["pointe_rss_Mo"] = pointeMo;
  state.counters["croissance_rss_ko_par_point"] = croissanceKoParPoint;
  state.counters["pointe_extrapolee_2048_Mo"] =
      pointeMo + std::max(0.0, croissanceKoParPoint) * (PointsTableMaxi - points) / 1024.0;
  state.SetLabel("9 voies à 1 s, " + std::to_string(points) + " points, instruments sur pseudo-terminaux");
}
BENCHMARK(Endurance)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  bench::PrepareDossier("endurance");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
