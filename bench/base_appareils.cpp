// Loading the device file (goal: 10 000 models in under a second): TBaseAppareils::
// ChargeAppareils on generated files of 500 and 10 000 models, each with every key a
// section stores, the burette and the index; the file is read from disk, parsed,
// every model read, named and sorted, as at start-up. The peak resident set of the
// process after the largest load is reported too.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "base_generee.h"
#include "commun_bench.h"
#include "instruments/base_appareils.h"
#include "instruments/unite.h"
#include "platform/simule/boucle_simulee.h"
#include "platform/simule/services_simules.h"
#include "util/regional_courant.h"

namespace {

std::filesystem::path Dossier(int modeles) {
  return std::filesystem::current_path() / ("base-" + std::to_string(modeles));
}

void ChargementBase(benchmark::State& state) {
  const int modeles = static_cast<int>(state.range(0));
  const std::filesystem::path dossier = Dossier(modeles);
  if (!bench::EcritBase(dossier, modeles)) {
    state.SkipWithError("écriture de la base générée impossible");
    return;
  }
  TBoucleSimulee boucle;
  std::size_t lus = 0;
  for (auto _ : state) {
    TBaseAppareils base(boucle, dossier.string());
    std::string message;
    if (!base.ChargeAppareils(message)) {
      state.SkipWithError(message.c_str());
      break;
    }
    lus = base.ListeAppareils.size();
    benchmark::DoNotOptimize(lus);
  }
  // The five built-in USB meters come with every file.
  if (lus < static_cast<std::size_t>(modeles) + 5) state.SkipWithError("la base générée n'a pas été lue entière");
  state.counters["modeles"] = static_cast<double>(modeles);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["pointe_rss_Mo"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.SetLabel("ChargeAppareils, " + std::to_string(modeles) + " modèles");
}
BENCHMARK(ChargementBase)->Arg(500)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bench::PrepareDossier("base_appareils");
  // '.' as the decimal separator, as the generated file writes its reals.
  static const TRegionalFixe regional('.');
  InstalleRegional(&regional);
  ConstruitUnitesConnues();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  InstalleRegional(nullptr);
  return 0;
}
