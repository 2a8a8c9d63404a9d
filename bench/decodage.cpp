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
#include "instruments/appareil.h"
#include "instruments/commande.h"
#include "instruments/unite.h"
#include "util/ini.h"
#include "util/regional_courant.h"

namespace {

// The definitions of the decoder tests, as a device file holds them.
const char* const Definitions = R"([TPS 901-PH]
Nom=pH
Symbole=pH
Unité=
Mini=0
Maxi=14
Precision=3
Demande=?D|CR|
TexteVerif=pH
NumVerif=1
FiltreDepasse=1

[TPS 901-PH T]
Nom=température
Symbole=θ
Unité=°C
Mini=-5
Maxi=105
Demande=?D|CR|
Numero=2
TexteVerif=oC
NumVerif=1

[TPS 901-C]
Nom=conductivité
Symbole=σ
Unité=mS
LireCoeffUnite=1
LireNomUnite=1
Mini=0
Maxi=0.2
Precision=4
Demande=?D|CR|
TexteVerif=S
NumVerif=2

[Sartorius 16]
Nom=masse
Symbole=m
Unité=g
Fixe=1
Debut=1
NombreCarac=16
Séparateur=32
Mini=-2200
Maxi=2200
Precision=6

[A&D EK]
Nom=masse
Symbole=m
Unité=g
Mini=0
Maxi=200
Precision=6
TexteVerif=g
NumVerif=3
FiltreDepasse=1

[A&D EK non filtrée]
Nom=masse
Symbole=m
Unité=g
Mini=0
Maxi=200
TexteVerif=g
NumVerif=3
FiltreDepasse=0

[EDT RE357 T]
Nom=température
Symbole=T
Unité=°C
Mini=-10
Maxi=110
NombreLigne=3
Numero=2

[Sper 850055]
Nom=pH
Symbole=pH
Unité=
Continu=1
Demande=p
Debut=2
NombreLigne=1
Mini=0
Maxi=14

[Titronic]
Nom=volume
Symbole=V
Unité=mL
Continu=1
Demande=01V=
Debut=5
Mini=0
Maxi=50
)";

struct CasTrame {
  const char* nom;
  const char* definition;  // section of Definitions
  const char* trame;       // escape notation of the device file
  double avant;            // ValeurCourante before the frame
  double attendue;         // NaN: no value
};

const double Rien = std::nan("");

// The frames of the decoder tests, with the values those tests expect.
const CasTrame Cas[] = {
    {"pH_metre_interroge", "TPS 901-PH", "  7.02pH    25.0oC |CR|", 0, 7.02},
    {"pH_metre_acide", "TPS 901-PH", "  1.68pH    24.8oCm|CR|", 0, 1.68},
    {"pH_metre_en_mode_mV_refuse", "TPS 901-PH", "-123.4mV    25.0oC |CR|", 7.02, 7.02},
    {"pH_metre_occupe_refuse", "TPS 901-PH", "BUSY|CR|", 7.02, 7.02},
    {"pH_metre_temperature_second_nombre", "TPS 901-PH T", "  7.02pH    25.0oC |CR|", 0, 25.0},
    {"conductimetre_milli", "TPS 901-C", "  12.5mS    25.0oC |CR|", 0, 0.0125},
    {"conductimetre_micro", "TPS 901-C", "  1413uS    25.0oC |CR|", 0, 0.001413},
    {"conductimetre_TDS_refuse", "TPS 901-C", "   640ppM   25.0oC |CR|", 0.0125, 0.0125},
    {"conductimetre_hors_gamme", "TPS 901-C", "  +OVRmS    25.0oC |CR|", 0.0125, 0.0125},
    {"balance_signe_et_blancs", "Sartorius 16", "+   123.56 g  |CR||LF|", 0, 123.56},
    {"balance_negative", "Sartorius 16", "-    12.30 g  |CR||LF|", 0, -12.3},
    {"balance_mille_grammes", "Sartorius 16", "+   1255.7 g  |CR||LF|", 0, 1255.7},
    {"balance_instable_sans_unite", "Sartorius 16", "+   123.57     |CR||LF|", 0, 123.57},
    {"balance_stable", "A&D EK", "ST,+00123.45  g|CR||LF|", 0, 123.45},
    {"balance_instable", "A&D EK", "US,+00123.47  g|CR||LF|", 0, 123.47},
    {"balance_comptage_refuse", "A&D EK", "QT,+00012345 PC|CR||LF|", 123.45, 123.45},
    {"balance_surcharge_filtree", "A&D EK", "OL,+999999.9  g|CR||LF|", 123.45, Rien},
    {"balance_surcharge_negative_filtree", "A&D EK", "OL,-999999.9  g|CR||LF|", 1, Rien},
    {"balance_surcharge_signalee", "A&D EK non filtrée", "OL,+999999.9  g|CR||LF|", 123.45, 999999.9},
    {"trois_lignes_temperature", "EDT RE357 T", "pH   7.00pH|CR||LF|T    21.5 °C|CR||LF|mV   0.2mV|CR||LF|", 0,
     21.5},
    {"flux_plusieurs_lignes_la_derniere_complete", "Sper 850055",
     "p07.01pH: m012.3mV:T025.0C@ 2007-04-18 18:48:47K|CR||LF|"
     "p07.02pH: m011.9mV:T025.0C@ 2007-04-18 18:48:48K|CR||LF|p07.0",
     0, 7.02},
    {"burette_volume", "Titronic", "01V=12.345|CR|", 0, 12.345},
};

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
  for (const CasTrame& c : Cas) {
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
  for (const CasTrame& c : Cas)
    benchmark::RegisterBenchmark((std::string("Decodage/") + c.nom).c_str(), DecodeUneDisposition, &c)->MinTime(0.1);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
