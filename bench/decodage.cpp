// Frames decoded per second on one core, for each frame layout of the decoder's
// fixture table (captured frames of common lab instruments), and for all of them in
// turn (goal: at least 1,000,000 frames/s). Each frame is first checked to give the
// value the decoder tests expect, so the speed is that of a correct decoding.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "commun_bench.h"
#include "instruments/trames_decodage.h"
#include "instruments/appareil.h"
#include "instruments/commande.h"
#include "instruments/unite.h"
#include "util/ini.h"
#include "util/regional_courant.h"

namespace {

using fixtures_decodage::CasTrame;
using fixtures_decodage::Definitions;

// One frame ready to decode: its definition and its bytes.
struct Trame {
  const CasTrame* cas;
  std::unique_ptr<Tappareil> appareil;
  std::string octets;
};

Trame Prepare(const CasTrame& c) {
  const TFichierIni ini = TFichierIni::DepuisTexte("bench.ini", Definitions);
  Trame t{&c, std::make_unique<Tappareil>(), DecodeCommande(c.trame)};
  t.appareil->LitIni(c.definition, ini);
  return t;
}

// Decodes the frame as the reception does: the received bytes in ChaineLue, then
// SetValeurCourante. False when the value is not the one the tests expect.
bool Decode(Trame& t) {
  Tappareil& a = *t.appareil;
  a.ValeurCourante = t.cas->avant;
  a.ChaineLue = t.octets;
  a.SetValeurCourante();
  const double v = a.ValeurCourante;
  const double attendue = t.cas->attendue;
  return std::isnan(attendue) ? std::isnan(v) : std::fabs(v - attendue) <= 1e-9 * std::fabs(attendue);
}

void DecodeUneDisposition(benchmark::State& state, const CasTrame* c) {
  Trame t = Prepare(*c);
  if (!Decode(t)) {
    state.SkipWithError("valeur décodée différente de celle des tests");
    return;
  }
  for (auto _ : state) {
    Tappareil& a = *t.appareil;
    a.ValeurCourante = c->avant;
    a.ChaineLue = t.octets;
    a.SetValeurCourante();
    benchmark::DoNotOptimize(a.ValeurCourante);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(c->definition);
}

// Every layout in turn, as a mixed bench would send them.
void DecodeToutes(benchmark::State& state) {
  std::vector<Trame> trames;
  for (const CasTrame& c : fixtures_decodage::Trames) {
    trames.push_back(Prepare(c));
    if (!Decode(trames.back())) {
      state.SkipWithError((std::string("valeur inattendue pour ") + c.nom).c_str());
      return;
    }
  }
  std::size_t k = 0;
  for (auto _ : state) {
    Trame& t = trames[k];
    Tappareil& a = *t.appareil;
    a.ValeurCourante = t.cas->avant;
    a.ChaineLue = t.octets;
    a.SetValeurCourante();
    benchmark::DoNotOptimize(a.ValeurCourante);
    if (++k == trames.size()) k = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(std::to_string(trames.size()) + " dispositions en alternance");
}

}  // namespace

int main(int argc, char** argv) {
  bench::PrepareDossier("decodage");
  InstalleRegional(nullptr);  // '.' as the decimal separator, as in the decoder tests
  ConstruitUnitesConnues();
  benchmark::RegisterBenchmark("Decodage/toutes", DecodeToutes)->MinTime(0.3);
  for (const CasTrame& c : fixtures_decodage::Trames)
    benchmark::RegisterBenchmark((std::string("Decodage/") + c.nom).c_str(), DecodeUneDisposition, &c)->MinTime(0.1);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
