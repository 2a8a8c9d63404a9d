// The page information dialog's rules: prefix expansion, validity and count of the
// constants, the symbol length, cancel, and the send button's preparation.
#include <gtest/gtest.h>

#include "core/page_dialogue.h"
#include "util/regional_courant.h"
#include "platform/simule/services_simules.h"

namespace {

struct TCasConstantes {
  const char* nom;
  std::string nom1, valeur1, nom2, valeur2;
  int nbre;
  bool const1, const2;
  std::string valeur1Apres, valeur2Apres;
};

void PrintTo(const TCasConstantes& c, std::ostream* os) { *os << c.nom; }

class ConstantesPage : public ::testing::TestWithParam<TCasConstantes> {
protected:
  void SetUp() override { InstalleRegional(&regional_); }
  void TearDown() override { InstalleRegional(nullptr); }
  TRegionalFixe regional_{','};
};

TEST_P(ConstantesPage, OKCalculeLesDrapeauxEtDeveloppeLesPrefixes) {
  const auto& c = GetParam();
  TPageInfo page;
  TPageDlg dlg(page);
  dlg.SetEditNom(1, c.nom1);
  dlg.SetEditValeur(1, c.valeur1);
  dlg.SetEditNom(2, c.nom2);
  dlg.SetEditValeur(2, c.valeur2);
  dlg.OKBtnClick();
  EXPECT_EQ(page.NbreConst, c.nbre);
  EXPECT_EQ(page.Const1, c.const1);
  EXPECT_EQ(page.Const2, c.const2);
  EXPECT_EQ(page.constante1.valeur, c.valeur1Apres);
  EXPECT_EQ(page.constante2.valeur, c.valeur2Apres);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, ConstantesPage,
    ::testing::Values(
        TCasConstantes{"PrefixeKilo", "R", "4.7k", "", "", 1, true, false, "4.7E+3", ""},
        TCasConstantes{"PrefixeMicro", "C", "22µ", "", "", 1, true, false, "22E-6", ""},
        TCasConstantes{"SymboleSansValeur", "R", "", "", "", 0, false, false, "", ""},
        TCasConstantes{"ValeurSansSymbole", "", "12", "", "", 0, false, false, "12", ""},
        TCasConstantes{"SeuleLaSeconde", "", "", "V0", "2,5", 1, false, true, "", "2,5"},
        TCasConstantes{"LesDeux", "m", "10m", "T", "298.15", 2, true, true, "10E-3", "298.15"},
        TCasConstantes{"LettreSeuleNonDeveloppee", "x", "k", "", "", 0, false, false, "k", ""},
        TCasConstantes{"YottaNonDeveloppe", "x", "10Y", "", "", 0, false, false, "10Y", ""},
        TCasConstantes{"PasUnNombre", "x", "douze", "y", "1.2.3", 0, false, false, "douze", "1.2.3"}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(PageDialogue, LeSymboleGardeHuitCaracteresSansCouperUneLettre) {
  TPageInfo page;
  TPageDlg dlg(page);
  dlg.SetEditNom(1, "abcdefghij");
  EXPECT_EQ(page.constante1.nom, "abcdefgh");
  dlg.SetEditNom(2, "ΔΔΔΔΔΔΔΔΔ");  // nine two-byte letters
  EXPECT_EQ(page.constante2.nom, "ΔΔΔΔΔΔΔΔ");
  dlg.SetEditNom(2, "σ");
  EXPECT_EQ(page.constante2.nom, "σ");
}

TEST(PageDialogue, AnnulerNeChangeAucunDrapeauEtGardeLesTextes) {
  TPageInfo page;
  TPageDlg dlg(page);
  dlg.SetEditNom(1, "R");
  dlg.SetEditValeur(1, "100");
  dlg.OKBtnClick();
  ASSERT_TRUE(page.Const1);
  dlg.SetEditValeur(1, "");
  dlg.SetEditNom(2, "T");
  dlg.SetEditValeur(2, "5");
  dlg.CancelBtnClick();
  EXPECT_EQ(page.NbreConst, 1);
  EXPECT_TRUE(page.Const1);
  EXPECT_FALSE(page.Const2);
  EXPECT_EQ(page.constante1.valeur, "");
  EXPECT_EQ(page.constante2.nom, "T");
}

TEST(PageDialogue, CreationEtPreparationDeLEnvoi) {
  TPageInfo page;
  page.NbreConst = 2;
  page.Const1 = page.Const2 = true;
  TPageDlg dlg(page);
  EXPECT_EQ(page.NbreConst, 0);
  EXPECT_FALSE(page.Const1);
  EXPECT_FALSE(page.Const2);
  ASSERT_EQ(page.Memo.size(), 1u);  // one empty line
  EXPECT_EQ(page.Memo[0], "");
  EXPECT_EQ(dlg.Caption, "Renseignements sur la page courante");
  EXPECT_EQ(dlg.NewPageCB, TPageDlg::ItemNouveauFichier);
  EXPECT_STREQ(TPageDlg::ItemsNewPage[1], "Nouvelle page");

  dlg.PrepareEnvoi();
  EXPECT_TRUE(dlg.NewPageCBVisible);
  EXPECT_EQ(dlg.OKBtnCaption, "Enregistrer");
  EXPECT_EQ(dlg.Caption, "Enregistre les données courantes dans Tracoria");
}

TEST(PageDialogue, LeCommentaireSeDecoupeEnLignes) {
  TPageInfo page;
  TPageDlg dlg(page);
  dlg.SetMemo("première\r\nseconde\ntroisième");
  EXPECT_EQ(page.Memo, (std::vector<std::string>{"première", "seconde", "troisième"}));
  EXPECT_EQ(dlg.TexteMemo(), "première\r\nseconde\r\ntroisième");
}

}  // namespace
