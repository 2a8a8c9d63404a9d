// Start-up to ready with a device database of 500 models (goal: under 200 ms): the
// start-up sequence (documents folder, units, vendor libraries, device database with
// the burette) then the engine's creation (the COM port table, the 50 port objects,
// the plot, the registry settings) on the Qt platform, in this process; and the whole
// headless program, `pelitrax-cli demarrage`, from its launch to its exit.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "base_generee.h"
#include "commun_bench.h"
#include "core/cinetique.h"
#include "core/demarrage.h"
#include "links/table_ports.h"
#include "platform/qt/graphique/plateforme_qt.h"
#include "util/cp1252.h"
#include "util/fichiers.h"
#include "util/regional_courant.h"

namespace {

constexpr int NbreModeles = 500;

std::filesystem::path DossierProgramme() { return std::filesystem::current_path() / "programme"; }

void DemarrageEnProcessus(benchmark::State& state) {
  const std::string dossier = DossierProgramme().string();
  std::size_t modeles = 0;
  std::int64_t sequenceUs = 0, moteurUs = 0;
  for (auto _ : state) {
    const std::int64_t t0 = bench::MicrosecondesMonotones();
    auto qt = std::make_unique<TPlateformeQt>();
    InstalleRegional(&qt->regional);
    TDemarrage d = Demarre(qt->Plateforme(), dossier);
    const std::int64_t t1 = bench::MicrosecondesMonotones();
    if (!d.messageArret.empty()) {
      state.SkipWithError(d.messageArret.c_str());
      break;
    }
    auto table = std::make_unique<TTablePorts>(qt->serie, &qt->reglages, LectureEnvironnementSysteme);
    auto moteur = std::make_unique<TCinetiqueMain>(qt->Plateforme(), *d.base, *table);
    moteur->FormCreate();
    benchmark::DoNotOptimize(moteur.get());
    state.PauseTiming();
    sequenceUs += t1 - t0;
    moteurUs += bench::MicrosecondesMonotones() - t1;
    modeles = d.base->ListeAppareils.size();
    moteur.reset();
    table.reset();
    d = TDemarrage{};
    InstalleRegional(nullptr);
    qt.reset();
    state.ResumeTiming();
  }
  state.counters["modeles"] = static_cast<double>(modeles);
  // Where the time goes: the platform and the start-up sequence, then the port table
  // and the engine.
  const double n = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
  state.counters["sequence_ms"] = static_cast<double>(sequenceUs) / 1000.0 / n;
  state.counters["moteur_ms"] = static_cast<double>(moteurUs) / 1000.0 / n;
  if (modeles < NbreModeles) state.SkipWithError("la base générée n'a pas été lue entière");
  state.SetLabel("Demarre + table des ports + moteur (FormCreate, 50 ports)");
}
BENCHMARK(DemarrageEnProcessus)->Unit(benchmark::kMillisecond);

// The headless program from its launch (loading, Qt, the start-up sequence, the port
// table) to its exit; its report must list the 500 models.
void DemarrageProcessusComplet(benchmark::State& state) {
  const auto cli = bench::ProgrammeDuBuild("PELITRAX_CLI", "tools/cli/pelitrax-cli");
  if (!std::filesystem::exists(cli)) {
    state.SkipWithError(("programme absent : " + cli.string()).c_str());
    return;
  }
  const std::vector<std::string> env = {"PELITRAX_DOSSIER_PROGRAMME=" + DossierProgramme().string()};
  bool complet = true;
  for (auto _ : state) {
    const bench::TFinFils fin = bench::Attend(bench::Lance({cli.string(), "demarrage"}, env, "demarrage.txt"));
    state.SetIterationTime(static_cast<double>(fin.dureeUs) / 1e6);
    const auto rapport = LitFichier("demarrage.txt");
    complet = complet && fin.statut == 0 && rapport &&
              rapport->find(bench::NomSection(NbreModeles - 1)) != std::string::npos;
  }
  if (!complet) state.SkipWithError("pelitrax-cli demarrage n'a pas lu les 500 modèles");
  state.SetLabel("pelitrax-cli demarrage, du lancement à la sortie");
}
BENCHMARK(DemarrageProcessusComplet)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bench::PrepareDossier("demarrage");
  if (!bench::EcritBase(DossierProgramme(), NbreModeles)) {
    std::fprintf(stderr, "Écriture de la base de 500 modèles impossible\n");
    return 1;
  }
  int argcQt = 1;
  QCoreApplication application(argcQt, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
