// The window's rules that need no window: the Greek letters typed with Ctrl, the
// geometry of the channel panels in both views, and the toolbar pictures.
#include <gtest/gtest.h>

#include "core/window/disposition_voies.h"
#include "core/window/icones.h"
#include "core/window/lettres_grecques.h"

struct CasLettre {
  const char* nom;
  int code;
  bool shift;
  bool selection;
  TActionCtrl action;
  const char* lettre;
};
class CtrlLettre : public ::testing::TestWithParam<CasLettre> {};

TEST_P(CtrlLettre, Decision) {
  const CasLettre& c = GetParam();
  const TDecisionCtrl d = DecideCtrlLettre(c.code, c.shift, c.selection);
  EXPECT_EQ(d.action, c.action);
  EXPECT_EQ(d.lettre, c.lettre);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, CtrlLettre,
    ::testing::Values(CasLettre{"CtrlA", 1, false, false, TActionCtrl::Lettre, "α"},
                      CasLettre{"CtrlShiftD", 4, true, false, TActionCtrl::Lettre, "Δ"},
                      CasLettre{"CtrlD", 4, false, false, TActionCtrl::Lettre, "δ"},
                      CasLettre{"CtrlCAvecSelection", 3, false, true, TActionCtrl::Copie, ""},
                      CasLettre{"CtrlCSansSelection", 3, false, false, TActionCtrl::Lettre, "χ"},
                      CasLettre{"CtrlShiftCAvecSelection", 3, true, true, TActionCtrl::Lettre, "Χ"},
                      CasLettre{"CtrlXAvecSelection", 24, false, true, TActionCtrl::Coupe, ""},
                      CasLettre{"CtrlXSansSelection", 24, false, false, TActionCtrl::Lettre, "ξ"},
                      CasLettre{"CtrlVLatin", 22, false, true, TActionCtrl::Lettre, "v"},
                      CasLettre{"CtrlShiftOLatin", 15, true, false, TActionCtrl::Lettre, "O"},
                      CasLettre{"CtrlOOmicron", 15, false, false, TActionCtrl::Lettre, "ο"},
                      CasLettre{"CtrlW", 23, false, false, TActionCtrl::Lettre, "ω"},
                      CasLettre{"CtrlZ", 26, true, false, TActionCtrl::Lettre, "Ζ"},
                      CasLettre{"HorsDesLettres", 27, false, false, TActionCtrl::Aucune, ""},
                      CasLettre{"Zero", 0, false, false, TActionCtrl::Aucune, ""}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(LettresGrecques, TableComplete) {
  // Capitals U+0391..U+03A9 and small letters U+03B1..U+03C9, four letters Latin.
  int grecques = 0;
  for (int code = 1; code <= 26; ++code) {
    const std::string maj = LettreGrecque(code, true), min = LettreGrecque(code, false);
    ASSERT_FALSE(maj.empty());
    ASSERT_FALSE(min.empty());
    if (maj.size() == 2) {
      ++grecques;
      const unsigned m = (static_cast<unsigned char>(maj[0]) & 0x1F) << 6 | (static_cast<unsigned char>(maj[1]) & 0x3F);
      EXPECT_GE(m, 0x391u);
      EXPECT_LE(m, 0x3A9u);
    } else {
      EXPECT_EQ(maj, std::string(1, static_cast<char>('A' + code - 1)));
    }
  }
  EXPECT_EQ(grecques, 22);
}

TEST(DispositionVoies, VueNormale) {
  const auto d = DisposeVoies(false, 3, 600, 1000);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->hauteurPanneau, 60);
  EXPECT_EQ(d->policeTitre, 12);
  EXPECT_EQ(d->nomPoliceTitre, "Tracoria");
  EXPECT_EQ(d->policeValeur, 18);
  EXPECT_EQ(d->hautValeur, 24);
  EXPECT_EQ(d->gaucheIndicateur, 168);
  EXPECT_EQ(d->largeurPanneauVoies, 210);
  EXPECT_FALSE(d->fondBlanc);
  // The normal view needs no channel.
  EXPECT_TRUE(DisposeVoies(false, 0, 600, 1000));
}

TEST(DispositionVoies, MultimetreTroisVoies) {
  const auto d = DisposeVoies(true, 3, 600, 1000);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->hauteurPanneau, 200);
  EXPECT_EQ(d->policeValeur, 100);
  EXPECT_EQ(d->policeTitre, 50);
  EXPECT_EQ(d->nomPoliceTitre, "Calibri");
  EXPECT_EQ(d->hautValeur, 66);
  EXPECT_EQ(d->gaucheIndicateur, 666);
  EXPECT_EQ(d->largeurPanneauVoies, 0);
  EXPECT_TRUE(d->fondBlanc);
  // A narrow window limits the font by its width.
  EXPECT_EQ(DisposeVoies(true, 1, 600, 400)->policeValeur, 50);
}

TEST(DispositionVoies, MultimetreSansVoieNeDivisePas) { EXPECT_FALSE(DisposeVoies(true, 0, 600, 1000)); }

TEST(Icones, ListeEtTaille) {
  EXPECT_STREQ(NomIcone(0), "Item1");
  EXPECT_STREQ(NomIcone(16), "Item17");
  EXPECT_STREQ(NomIcone(17), "CANCEL");
  EXPECT_STREQ(NomIcone(21), "ficopen");
  EXPECT_STREQ(NomIcone(22), "");
  EXPECT_EQ(TailleIcones(96), 20);
  EXPECT_EQ(TailleIcones(144), 20);
  EXPECT_EQ(TailleIcones(192), 40);
  EXPECT_EQ(TailleIcones(288), 60);
  EXPECT_EQ(TailleIcones(400), 60);
  // The pictures of the modes on "Mode acquisition".
  EXPECT_EQ(icones::Temps, 14);
  EXPECT_EQ(icones::Increment, 15);
  EXPECT_EQ(icones::Maitre, 16);
  EXPECT_EQ(icones::Clavier, 13);
  EXPECT_EQ(icones::Burette, 1);
}
