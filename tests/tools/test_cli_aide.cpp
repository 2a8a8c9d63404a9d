// pelitrax-cli --help and SOUS-COMMANDE --help: French, every option with an example,
// exit status 0; and the man page names the same options.
#include <gtest/gtest.h>

#include <QProcess>

#include <string>
#include <vector>

#include "lance_programme.h"
#include "util/fichiers.h"

namespace {
using Resultat = TResultatProgramme;

Resultat Cli(const QStringList& arguments) {
  return LanceProgramme(PELITRAX_CLI, arguments, QProcessEnvironment::systemEnvironment(), 10000);
}

struct TSousCommande {
  const char* nom;
  std::vector<std::string> options;  // every option the sub-command accepts
};
const std::vector<TSousCommande> SousCommandes = {
    {"demarrage", {}},
    {"decode", {"--ini", "--appareil", "--decimal"}},
    {"ports", {}},
    {"acquire", {"--ini", "--config", "--port", "--sortie", "--image", "--duree", "--increment", "--oui", "--non", "--usb-ph"}},
};

TEST(CliAide, LAideGeneraleListeLesSousCommandes) {
  for (const char* demande : {"--help", "-h"}) {
    const Resultat r = Cli({demande});
    EXPECT_EQ(r.statut, 0) << demande;
    EXPECT_EQ(r.erreurs, "");
    EXPECT_EQ(r.sortie.rfind("Usage : pelitrax-cli SOUS-COMMANDE [options]\n", 0), 0u) << r.sortie;
    for (const auto& c : SousCommandes) EXPECT_NE(r.sortie.find(std::string("\n  ") + c.nom + " "), std::string::npos) << c.nom;
  }
  // Without a sub-command the summary still comes, as a usage error.
  const Resultat vide = Cli({});
  EXPECT_EQ(vide.statut, 2);
  EXPECT_NE(vide.erreurs.find("Sous-commandes :"), std::string::npos);
}

TEST(CliAide, LAideDeChaqueSousCommandeDonneSesOptionsEtUnExemple) {
  for (const auto& c : SousCommandes)
    for (const QStringList& arguments : {QStringList{c.nom, "--help"}, QStringList{c.nom, "-h"},
                                         QStringList{c.nom, "--ini", "x.ini", "--help"}}) {
      SCOPED_TRACE(arguments.join(' ').toStdString());
      const Resultat r = Cli(arguments);
      EXPECT_EQ(r.statut, 0);
      EXPECT_EQ(r.erreurs, "");
      EXPECT_EQ(r.sortie.rfind(std::string("Usage : pelitrax-cli ") + c.nom, 0), 0u) << r.sortie;
      const auto exemple = r.sortie.find("Exemple :\n");
      ASSERT_NE(exemple, std::string::npos) << r.sortie;
      EXPECT_NE(r.sortie.find(std::string("pelitrax-cli ") + c.nom, exemple), std::string::npos);
      for (const std::string& o : c.options) EXPECT_NE(r.sortie.find("  " + o + " "), std::string::npos) << o;
      if (c.options.empty()) {
        EXPECT_NE(r.sortie.find("Options : aucune."), std::string::npos);
      }
    }
}

TEST(CliAide, LaPageDeManuelNommeChaqueSousCommandeEtChaqueOption) {
  const auto page = LitFichier(PELITRAX_SOURCE_DIR "/tools/cli/pelitrax-cli.1");
  ASSERT_TRUE(page);
  for (const auto& c : SousCommandes) {
    EXPECT_NE(page->find(std::string(".SS ") + c.nom), std::string::npos) << c.nom;
    for (std::string o : c.options) {
      std::string troff;  // troff writes every hyphen of an option as "\-"
      for (char x : o) troff += x == '-' ? std::string("\\-") : std::string(1, x);
      o = troff;
      EXPECT_NE(page->find(o), std::string::npos) << o;
    }
  }
}
}  // namespace
