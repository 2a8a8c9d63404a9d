// The desktop association of configuration files: the user's data folder, the two
// files and their texts, quoting of the program's path, writing only on a change, and
// errors that stay silent.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/association.h"
#include "util/fichiers.h"
#include "util/faux_util.h"

namespace fs = std::filesystem;

namespace {

struct TCasDossier {
  const char* nom;
  std::map<std::string, std::string> variables;
  std::string attendu;
};

void PrintTo(const TCasDossier& c, std::ostream* os) { *os << c.nom; }

class DossierDonnees : public ::testing::TestWithParam<TCasDossier> {};

TEST_P(DossierDonnees, SelonLesVariables) {
  const auto& c = GetParam();
  auto env = [&](const std::string& nom) -> std::optional<std::string> {
    const auto it = c.variables.find(nom);
    if (it == c.variables.end()) return std::nullopt;
    return it->second;
  };
  EXPECT_EQ(DossierDonneesUtilisateur(env), c.attendu);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, DossierDonnees,
    ::testing::Values(TCasDossier{"XdgAbsolu", {{"XDG_DATA_HOME", "/d/x"}, {"HOME", "/h"}}, "/d/x"},
                      TCasDossier{"XdgRelatifIgnore", {{"XDG_DATA_HOME", "x"}, {"HOME", "/h"}}, "/h/.local/share"},
                      TCasDossier{"XdgVide", {{"XDG_DATA_HOME", ""}, {"HOME", "/h"}}, "/h/.local/share"},
                      TCasDossier{"HomeSeul", {{"HOME", "/h"}}, "/h/.local/share"},
                      TCasDossier{"Rien", {}, ""}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(Association, EcritLeTypeMimeEtLEntreeDuBureau) {
  const fs::path dossier = DossierDuTest();
  std::vector<std::vector<std::string>> lances;
  const TAssociation a{dossier.string(), "/opt/pelitrax/bin/pelitrax",
                       [&](const std::vector<std::string>& c) { lances.push_back(c); }};
  ASSERT_TRUE(EnregistreAssociation(a));
  EXPECT_EQ(LitFichier((dossier / "mime/packages/pelitrax-configuration.xml").string()),
            std::optional<std::string>(
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                "  <mime-type type=\"application/x-pelitrax\">\n"
                "    <comment>Fichier config. pelitrax</comment>\n"
                "    <glob pattern=\"*.rs2\"/>\n"
                "  </mime-type>\n"
                "</mime-info>\n"));
  EXPECT_EQ(LitFichier((dossier / "applications/pelitrax-configuration.desktop").string()),
            std::optional<std::string>("[Desktop Entry]\n"
                                       "Type=Application\n"
                                       "Name=pelitrax\n"
                                       "Comment=Fichier config. pelitrax\n"
                                       "Exec=\"/opt/pelitrax/bin/pelitrax\" %f\n"
                                       "MimeType=application/x-pelitrax;\n"
                                       "NoDisplay=true\n"
                                       "Terminal=false\n"));
  EXPECT_EQ(lances, (std::vector<std::vector<std::string>>{
                        {"update-mime-database", dossier.string() + "/mime"},
                        {"update-desktop-database", dossier.string() + "/applications"}}));
  // At the next shut-down nothing has changed: nothing is written or refreshed.
  lances.clear();
  ASSERT_TRUE(EnregistreAssociation(a));
  EXPECT_TRUE(lances.empty());
}

struct TCasExec {
  const char* nom;
  std::string executable, exec;
};

void PrintTo(const TCasExec& c, std::ostream* os) { *os << c.nom; }

class LigneExec : public ::testing::TestWithParam<TCasExec> {};

// Inside the quotes '"', '`', '$', '\' take a backslash and '%' is doubled; then the
// string rule doubles every backslash.
TEST_P(LigneExec, CheminCite) {
  const auto& c = GetParam();
  const auto texte = TexteEntreeBureau(c.executable);
  ASSERT_TRUE(texte);
  EXPECT_NE(texte->find("\nExec=" + c.exec + " %f\n"), std::string::npos) << *texte;
}

INSTANTIATE_TEST_SUITE_P(
    Cas, LigneExec,
    ::testing::Values(TCasExec{"Blanc", "/opt/mes programmes/pelitrax", "\"/opt/mes programmes/pelitrax\""},
                      TCasExec{"Guillemet", "/opt/a\"b/p", "\"/opt/a\\\\\"b/p\""},
                      TCasExec{"Dollar", "/opt/$HOME/p", "\"/opt/\\\\$HOME/p\""},
                      TCasExec{"Pourcent", "/opt/100%/p", "\"/opt/100%%/p\""},
                      TCasExec{"BarreInverse", "/opt/a\\b/p", "\"/opt/a\\\\\\\\b/p\""},
                      TCasExec{"Accent", "/opt/données/p", "\"/opt/données/p\""}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(Association, NomsDuTypeEtDuProgramme) {
  EXPECT_EQ(NomProgramme("/usr/bin/Pelitrax.exe"), "Pelitrax");
  EXPECT_EQ(TypeMimeConfiguration("/usr/bin/Pelitrax.exe"), "application/x-pelitrax");
  EXPECT_EQ(TypeMimeConfiguration("/usr/bin/Mon Programme"), "application/x-mon-programme");
  EXPECT_NE(TexteTypeMime("/x/a&b").find("<comment>Fichier config. a&amp;b</comment>"), std::string::npos);
}

TEST(Association, LesErreursSontIgnorees) {
  const fs::path dossier = DossierDuTest();
  int lances = 0;
  auto lance = [&](const std::vector<std::string>&) { ++lances; };
  // A file where the folders should be.
  ASSERT_TRUE(EcritFichierSur((dossier / "bloque").string(), "x"));
  EXPECT_FALSE(EnregistreAssociation({(dossier / "bloque").string(), "/opt/p", lance}));
  // A path that no desktop entry can hold, and no data folder at all.
  EXPECT_FALSE(EnregistreAssociation({dossier.string(), "/opt/a\nb", lance}));
  EXPECT_FALSE(fs::exists(dossier / "applications"));
  EXPECT_FALSE(EnregistreAssociation({"", "/opt/p", lance}));
  EXPECT_EQ(lances, 0);
}

}  // namespace
