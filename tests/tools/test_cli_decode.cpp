// pelitrax-cli decode run as a user runs it: a device file, frames on standard input,
// one line of name, value, stability and overflow per frame.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Resultat {
  int statut = -1;
  std::string sortie;
  std::string erreurs;
};

std::string Lit(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string Fixture() { return std::string(PELITRAX_FIXTURES_DIR) + "/decode_appareils.ini"; }

// Runs the program in the test's scratch folder with the file entree.txt on its
// standard input.
Resultat DecodeEntreeTxt(const std::vector<std::string>& arguments) {
  const std::string dossier = std::filesystem::current_path().string();
  std::string commande = std::string("'") + PELITRAX_CLI + "' decode";
  for (const auto& a : arguments) commande += " '" + a + "'";
  commande += " < '" + dossier + "/entree.txt' > '" + dossier + "/sortie.txt' 2> '" + dossier + "/erreurs.txt'";
  Resultat r;
  const int brut = std::system(commande.c_str());
  r.statut = WIFEXITED(brut) ? WEXITSTATUS(brut) : -1;
  r.sortie = Lit(dossier + "/sortie.txt");
  r.erreurs = Lit(dossier + "/erreurs.txt");
  return r;
}

// The same with `entree` on its standard input.
Resultat Decode(const std::vector<std::string>& arguments, const std::string& entree) {
  {
    std::ofstream f("entree.txt", std::ios::binary);
    f << entree;
  }
  return DecodeEntreeTxt(arguments);
}

std::vector<std::string> Lignes(const std::string& t) {
  std::vector<std::string> lignes;
  std::size_t debut = 0;
  for (std::size_t p = t.find('\n'); p != std::string::npos; p = t.find('\n', debut)) {
    lignes.push_back(t.substr(debut, p - debut));
    debut = p + 1;
  }
  EXPECT_EQ(debut, t.size()) << "la sortie finit par un LF";
  return lignes;
}

TEST(CliDecode, PHMetreValeurPrecedenteEtStabiliteDeLigneEnLigne) {
  std::string entree;
  for (int i = 0; i < 5; ++i) entree += "  7.02pH    25.0oC |CR|\n";
  entree += "-123.4mV    25.0oC |CR|\n";  // refused by its check: the value stays
  entree += "  7.02pH    25.0oC |CR|\n";
  entree += "  7.50pH    25.0oC |CR|";  // a last line without its LF
  const Resultat r = Decode({"--ini", Fixture(), "--appareil", "TPS 901-PH"}, entree);
  ASSERT_EQ(r.statut, 0) << r.erreurs;
  EXPECT_EQ(r.erreurs, "");
  const std::vector<std::string> attendues = {
      "pH=7.02 \t7.02\tinstable\t0", "pH=7.02 \t7.02\tinstable\t0", "pH=7.02 \t7.02\tinstable\t0",
      "pH=7.02 \t7.02\tinstable\t0", "pH=7.02 \t7.02\tinstable\t0", "pH=7.02 \t7.02\tinstable\t0",
      "pH=7.02 \t7.02\tstable\t0",   "pH=7.5 \t7.5\tinstable\t0"};
  EXPECT_EQ(Lignes(r.sortie), attendues);
}

TEST(CliDecode, DepassementSignaleOuFiltre) {
  const std::string entree = "ST,+00123.45  g|CR||LF|\nOL,+999999.9  g|CR||LF|\n";
  const Resultat signale = Decode({"--ini", Fixture(), "--appareil", "A&D EK non filtrée"}, entree);
  ASSERT_EQ(signale.statut, 0) << signale.erreurs;
  EXPECT_EQ(Lignes(signale.sortie),
            (std::vector<std::string>{"m=123.45 g\t123.45\tinstable\t0", "m=1E06 g\t999999.9\tinstable\t1"}));
  const Resultat filtre = Decode({"--ini", Fixture(), "--appareil", "a&d ek"}, entree);
  ASSERT_EQ(filtre.statut, 0) << filtre.erreurs;
  EXPECT_EQ(Lignes(filtre.sortie),
            (std::vector<std::string>{"m=123.45 g\t123.45\tinstable\t0", "m=?\t \tinstable\t0"}));
}

TEST(CliDecode, SeparateurDecimalEtPrefixeDeLaTrame) {
  const std::string entree = "  12.5mS    25.0oC |CR|\r\n  1413uS    25.0oC |CR|\r\n";
  const Resultat r = Decode({"--ini", Fixture(), "--appareil", "Conductimètre TPS 901-C", "--decimal", ","}, entree);
  ASSERT_EQ(r.statut, 0) << r.erreurs;
  // The name follows the chosen separator; the value column always carries '.'. The
  // conductance symbol G becomes σ, as when the database is loaded.
  EXPECT_EQ(Lignes(r.sortie),
            (std::vector<std::string>{"σ=12,5 mS\t0.0125\tinstable\t0", "σ=1,413 mS\t0.001413\tinstable\t0"}));
}

// Only the first bytes of a line can make a frame: a line of 64 MB without its end
// must not be held whole.
TEST(CliDecode, UneLigneSansFinNeRemplitPasLaMemoire) {
  {
    // Written in pieces: a child started by this process counts what this one holds.
    std::ofstream f("entree.txt", std::ios::binary);
    const std::string morceau(1u << 20, '7');
    for (int i = 0; i < 64; ++i) f << morceau;
    f << "\n  7.02pH    25.0oC |CR|\n";
  }
  const Resultat r = DecodeEntreeTxt({"--ini", Fixture(), "--appareil", "TPS 901-PH"});
  ASSERT_EQ(r.statut, 0) << r.erreurs;
  const std::vector<std::string> lignes = Lignes(r.sortie);
  ASSERT_EQ(lignes.size(), 2u);
  EXPECT_EQ(lignes[1], "pH=7.02 \t7.02\tinstable\t0");
  rusage usage{};
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
  EXPECT_LT(usage.ru_maxrss, 48 * 1024) << "kB au plus fort";
}

TEST(CliDecode, EntreeVideRienAEcrire) {
  const Resultat r = Decode({"--ini", Fixture(), "--appareil", "TPS 901-PH"}, "");
  EXPECT_EQ(r.statut, 0);
  EXPECT_EQ(r.sortie, "");
}

struct CasErreur {
  const char* nom;
  std::vector<std::string> arguments;
  const char* message;  // start of what standard error must say
};

void PrintTo(const CasErreur& c, std::ostream* os) { *os << c.nom; }

class CliDecodeErreur : public ::testing::TestWithParam<CasErreur> {};

TEST_P(CliDecodeErreur, MessageEnFrancaisEtStatut2) {
  const Resultat r = Decode(GetParam().arguments, "  7.02pH    25.0oC |CR|\n");
  EXPECT_EQ(r.statut, 2);
  EXPECT_EQ(r.sortie, "");
  EXPECT_EQ(r.erreurs.rfind(GetParam().message, 0), 0u) << r.erreurs;
}

INSTANTIATE_TEST_SUITE_P(
    Cas, CliDecodeErreur,
    ::testing::Values(
        CasErreur{"fichier_inconnu", {"--ini", "absent.ini", "--appareil", "TPS 901-PH"},
                  "Fichier d'appareils introuvable : absent.ini"},
        CasErreur{"dossier", {"--ini", PELITRAX_FIXTURES_DIR, "--appareil", "TPS 901-PH"},
                  "Fichier d'appareils illisible : " PELITRAX_FIXTURES_DIR " (c'est un dossier)"},
        CasErreur{"appareil_inconnu", {"--ini", Fixture(), "--appareil", "Inconnu"}, "Appareil inconnu dans "},
        // The index lists models; it is none itself.
        CasErreur{"section_index", {"--ini", Fixture(), "--appareil", "index"}, "Appareil inconnu dans "},
        CasErreur{"sans_appareil", {"--ini", Fixture()}, "Usage : pelitrax-cli decode"},
        CasErreur{"option_inconnue", {"--ini", Fixture(), "--appareil", "TPS 901-PH", "--vite", "1"},
                  "Usage : pelitrax-cli decode"},
        CasErreur{"separateur_refuse", {"--ini", Fixture(), "--appareil", "TPS 901-PH", "--decimal", ";"},
                  "Usage : pelitrax-cli decode"}),
    [](const auto& cas) { return std::string(cas.param.nom); });

}  // namespace
