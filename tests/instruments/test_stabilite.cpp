// Stability of a reading: the instrument's own report and the line fitted through the
// last six decoded values, compared with the tolerance Derive.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "aides_instruments.h"
#include "instruments/appareil.h"
#include "instruments/statistique.h"

namespace {

// Decodes each reading as a polled frame, so the buffer is fed as in service.
void Lit(Tappareil& a, const std::vector<std::string>& trames) {
  for (const auto& t : trames) {
    a.ChaineLue = t + "\r";
    a.SetValeurCourante();
  }
}

struct CasStabilite {
  const char* nom;
  std::vector<std::string> lectures;
  double derive;
  bool stable;
};

void PrintTo(const CasStabilite& c, std::ostream* os) { *os << c.nom; }

class StabiliteParDroite : public AvecRegional, public ::testing::WithParamInterface<CasStabilite> {};

TEST_P(StabiliteParDroite, DeriveDeLaDroiteSurSixLectures) {
  Tappareil a;
  a.ValMini = -100;
  a.ValMaxi = 100;
  a.Derive = GetParam().derive;
  Lit(a, GetParam().lectures);
  EXPECT_EQ(a.isStable(), GetParam().stable);
}

INSTANTIATE_TEST_SUITE_P(
    Lectures, StabiliteParDroite,
    ::testing::Values(
        CasStabilite{"six_identiques", {"7.01", "7.01", "7.01", "7.01", "7.01", "7.01"}, 0.001, true},
        CasStabilite{"six_identiques_derive_nulle", {"7.01", "7.01", "7.01", "7.01", "7.01", "7.01"}, 0, false},
        CasStabilite{"six_identiques_derive_negative", {"7", "7", "7", "7", "7", "7"}, -1, false},
        CasStabilite{"pente_0_01_derive_0_1", {"7.00", "7.01", "7.02", "7.03", "7.04", "7.05"}, 0.1, true},
        CasStabilite{"pente_0_01_derive_0_05", {"7.00", "7.01", "7.02", "7.03", "7.04", "7.05"}, 0.05, false},
        CasStabilite{"descente_comptee_en_valeur_absolue", {"7.05", "7.04", "7.03", "7.02", "7.01", "7.00"}, 0.05,
                     false},
        CasStabilite{"cinq_lectures_seulement", {"7", "7", "7", "7", "7"}, 1, false},
        CasStabilite{"fenetre_glissante_garde_les_six_dernieres",
                     {"1", "9", "3", "7.00", "7.00", "7.00", "7.00", "7.00", "7.00"}, 0.01, true},
        CasStabilite{"bruit_sans_derive", {"7.02", "7.00", "7.02", "7.00", "7.02", "7.00"}, 0.05, true}),
    NomDuCas());

TEST(StabiliteParDroite, UneValeurAbsenteParmiLesSixNEstPasStable) {
  Tappareil a;
  a.ValMaxi = 100;
  a.Derive = 10;
  Lit(a, {"7", "7", "7", "7", "7", "7"});
  ASSERT_TRUE(a.isStable());
  a.valeurRouleau[2] = std::nan("");
  EXPECT_FALSE(a.isStable());
}

TEST(StabiliteParDroite, SansValeurCourantePasDeStabilite) {
  Tappareil a;
  a.ValMaxi = 14;
  a.Derive = 1;
  a.FiltrageDepassement = true;
  Lit(a, {"7", "7", "7", "7", "7", "15"});  // the last one is filtered to no value
  EXPECT_TRUE(std::isnan(a.ValeurCourante));
  EXPECT_FALSE(a.isStable());
}

TEST(StabiliteParDroite, ApresRemiseAZeroIlFautSixNouvellesLectures) {
  Tappareil a;
  a.ValMaxi = 100;
  a.Derive = 1;
  Lit(a, {"7", "7", "7", "7", "7", "7"});
  ASSERT_TRUE(a.isStable());
  a.ResetStabilite();
  EXPECT_EQ(a.nbreRouleau, 0);
  Lit(a, {"8", "8", "8", "8", "8"});
  EXPECT_FALSE(a.isStable());
  Lit(a, {"8"});
  EXPECT_TRUE(a.isStable());
}

struct CasSTAB {
  const char* nom;
  const char* trame;  // empty: no frame decoded yet
  bool stable;
};

void PrintTo(const CasSTAB& c, std::ostream* os) { *os << c.nom; }

class StabiliteRapportee : public ::testing::TestWithParam<CasSTAB> {};

TEST_P(StabiliteRapportee, LesQuatrePremiersCaracteresDeLaTrame) {
  Tappareil a;
  a.lectureSTAB = true;
  a.ValMaxi = 14;
  a.Derive = 100;  // the fit is not asked
  if (*GetParam().trame) {
    a.ChaineLue = GetParam().trame;
    a.SetValeurCourante();
  }
  EXPECT_EQ(a.isStable(), GetParam().stable);
}

INSTANTIATE_TEST_SUITE_P(Trames, StabiliteRapportee,
                         ::testing::Values(CasSTAB{"SRAB_stable", "SRAB 7.02 pH\r", true},
                                           CasSTAB{"autre_debut", "INST 7.02 pH\r", false},
                                           CasSTAB{"debut_en_minuscules", "srab 7.02 pH\r", false},
                                           CasSTAB{"trame_courte", "SRA", false},
                                           CasSTAB{"aucune_trame", "", false}),
                         NomDuCas());

TEST(TStatistiqueDeuxVar, PenteEtOrdonneeALOrigine) {
  vecteur x{}, y{};
  for (int i = 0; i < 6; ++i) {
    x[i] = i;
    y[i] = 2.5 * i - 1;
  }
  TStatistiqueDeuxVar s;
  s.Init(x, y, 6);
  EXPECT_NEAR(s.penteY, 2.5, 1e-12);
  EXPECT_NEAR(s.Y0, -1, 1e-12);
}

TEST(TStatistiqueDeuxVar, SansDispersionLaPenteEstNulleEtY0Garde) {
  vecteur x{}, y{};
  for (int i = 0; i < 6; ++i) {
    x[i] = i;
    y[i] = 3;
  }
  TStatistiqueDeuxVar s;
  s.Y0 = 42;
  s.Init(x, y, 6);
  EXPECT_EQ(s.penteY, 0);
  EXPECT_EQ(s.Y0, 42);
  y[1] = 4;
  s.Init(x, y, 1);  // one point: no line
  EXPECT_EQ(s.penteY, 0);
  for (int i = 0; i < 6; ++i) x[i] = 2;  // no spread of x
  s.Init(x, y, 6);
  EXPECT_EQ(s.penteY, 0);
  s.Init(x, y, 100000);  // bounded by the vectors' 2049 elements
  EXPECT_TRUE(std::isfinite(s.penteY));
}

}  // namespace
