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

#include "commun_bench.h"
#include "core/cinetique.h"
#include "core/demarrage.h"
#include "links/table_ports.h"
#include "platform/qt/plateforme_qt.h"
#include "util/cp1252.h"
#include "util/fichiers.h"
#include "util/regional_courant.h"

namespace {

constexpr int NbreModeles = 500;

// One model's section with every key the device file stores, in five kinds that
// take the decoder's different paths: a polled pH meter, a 16-character balance, a
// conductimeter reading its unit, a self-transmitting meter, a thermometer whose
// value is the second number.
std::string Section(int k) {
  struct Genre {
    const char* nom;
    const char* grandeur;
    const char* symbole;
    const char* unite;
    const char* reglages;
  };
  static const Genre genres[] = {
      {"pH-mètre", "pH", "pH", "",
       "Fixe=0\nDebut=0\nNombreCarac=1\nContinu=0\nDemande=PH?|CR|\nLireCoeffUnite=0\nLireNomUnite=0\n"
       "Numero=1\nTexteVerif=\nNumVerif=0\n"},
      {"balance", "masse", "m", "g",
       "Fixe=1\nDebut=1\nNombreCarac=16\nContinu=0\nDemande=|ESC|P\nLireCoeffUnite=0\nLireNomUnite=0\n"
       "Numero=1\nTexteVerif=g\nNumVerif=12\n"},
      {"conductimètre", "conductivité", "σ", "S/cm",
       "Fixe=0\nDebut=0\nNombreCarac=1\nContinu=0\nDemande=?D|CR|\nLireCoeffUnite=1\nLireNomUnite=1\n"
       "Numero=1\nTexteVerif=S\nNumVerif=2\n"},
      {"pH-mètre à impression", "pH", "pH", "",
       "Fixe=0\nDebut=2\nNombreCarac=1\nContinu=1\nDemande=p\nLireCoeffUnite=0\nLireNomUnite=0\n"
       "Numero=1\nTexteVerif=\nNumVerif=0\n"},
      {"thermomètre", "température", "θ", "°C",
       "Fixe=0\nDebut=0\nNombreCarac=1\nContinu=0\nDemande=T?|CR||LF|\nLireCoeffUnite=0\nLireNomUnite=0\n"
       "Numero=2\nTexteVerif=oC\nNumVerif=1\n"},
  };

  const Genre& g = genres[k % 5];
  char nom[96];
  std::snprintf(nom, sizeof nom, "Modèle %03d %s", k, g.nom);
  std::string s = "; model " + std::to_string(k) + "\n[" + nom + "]\n";
  s += std::string("Nom=") + g.grandeur + "\nSymbole=" + g.symbole + "\nUnité=" + g.unite + "\n";
  s += "Precision=4\nMini=0\nMaxi=" + std::to_string(14 + k) + "\nCom=" + std::to_string(1 + k % 16) + "\n";
  s += "Baud=" + std::to_string(k % 2 ? 9600 : 2400) + "\nDataBits=8\nParity=0\nStopBits=1\nRTS=0\nXonXoff=0\n";
  s += g.reglages;
  s += "Delai=100\nNombreLigne=1\nSéparateur=0\nFiltreDepasse=0\nDemandeBis=\nInitialisation=\nDeblocage=\n";
  s += "STAB=0\nCalibre=0\na=0\nb=1\nDiff=0\nCalibreApp=1\nCoeffCalibreApp1=1\nCoeffCalibreApp2=1\n";
  s += "CoeffCalibreApp3=1\nCoeffCalibreApp4=1\nDerive=0.01\nisSysam=0\n";
  s += "1=Modèle de la base de mesure, ligne d'aide une\n2=Brancher sur le port indiqué\n\n";
  return s;
}

std::string NomSection(int k) {
  const std::string s = Section(k);
  const auto a = s.find('[');
  return s.substr(a + 1, s.find(']') - a - 1);
}

// Writes the 500-model device file, Windows-1252 as on disk, into the folder.
bool EcritBase(const std::filesystem::path& dossier) {
  std::string texte;
  for (int k = 0; k < NbreModeles; ++k) texte += Section(k);
  texte +=
      "[BuretteRS232]\nNom=Volume du titrant\nUnité=mL\nPrecision=5\nMini=0\nMaxi=20\nCom=1\nBaud=4800\n"
      "DataBits=7\nParity=0\nStopBits=2\nContinu=1\nDemande=01V=\nDebut=5\nSymbole=V\n\n[Index]\n";
  for (int k = 0; k < NbreModeles; ++k) texte += std::to_string(k) + "=" + NomSection(k) + "\n";
  std::string crlf;
  for (char c : texte) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::filesystem::create_directories(dossier);
  return EcritFichierSur((dossier / "RS232.INI").string(), Utf8VersCp1252(crlf));
}

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
              rapport->find(NomSection(NbreModeles - 1)) != std::string::npos;
  }
  if (!complet) state.SkipWithError("pelitrax-cli demarrage n'a pas lu les 500 modèles");
  state.SetLabel("pelitrax-cli demarrage, du lancement à la sortie");
}
BENCHMARK(DemarrageProcessusComplet)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bench::PrepareDossier("demarrage");
  if (!EcritBase(DossierProgramme())) {
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
