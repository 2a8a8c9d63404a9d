// Axis: tick layout, titles, mapping and the recorded column, on tables of ranges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "platform/simule/services_simules.h"
#include "plot/monde.h"
#include "util/regional_courant.h"

namespace {

// Table rows print as their name in test listings and failures.
template <class T>
  requires requires(const T& c) { c.nom; }
void PrintTo(const T& c, std::ostream* os) {
  *os << c.nom;
}

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

Tmonde Axe(double mini, double maxi, std::string unite = "") {
  Tmonde m;
  m.mini = mini;
  m.maxi = maxi;
  m.Unite = std::move(unite);
  return m;
}

// ---- setDelta ----

struct CasDelta {
  const char* nom;
  double mini, maxi;
  const char* unite;
  double deltaAxe, pointDebut, exposant;
  int chiffres;
  bool dateTime;
};

class SetDelta : public ::testing::TestWithParam<CasDelta> {};

TEST_P(SetDelta, DonneLePasLePremierTickEtLExposant) {
  const CasDelta& c = GetParam();
  Tmonde m = Axe(c.mini, c.maxi, c.unite);
  m.setDelta();
  EXPECT_DOUBLE_EQ(m.deltaAxe, c.deltaAxe);
  EXPECT_DOUBLE_EQ(m.pointDebut, c.pointDebut);
  EXPECT_DOUBLE_EQ(m.exposant, c.exposant);
  EXPECT_EQ(m.NbreChiffres, c.chiffres);
  EXPECT_EQ(m.axeDateTime, c.dateTime);
}

INSTANTIATE_TEST_SUITE_P(
    Plages, SetDelta,
    ::testing::Values(CasDelta{"zero_dix", 0, 10, "", 2, 0, 1, 3, false},
                      CasDelta{"moins_un_un", -1, 1, "", 0.5, -1, 1, 3, false},
                      CasDelta{"index_2048", 0, 2048, "", 500, 0, 1000, 3, false},
                      CasDelta{"demi_litre", 0, 0.5, "L", 0.1, 0, 0.001, 3, false},
                      CasDelta{"dix_mille", 10000, 10010, "", 2, 10000, 1, 4, false},
                      CasDelta{"secondes_900", 0, 900, "s", 100, 0, 1, 3, false},
                      CasDelta{"secondes_2000", 0, 2000, "s", 500, 0, 1000, 3, true},
                      CasDelta{"heures_negatives", -2000, 0, "s", 500, -2000, 1000, 3, true},
                      CasDelta{"negatif", -5, -1, "", 0.5, -5, 1, 3, false},
                      CasDelta{"minuscule", 0, 3e-9, "", 5e-10, 0, 1e-9, 3, false},
                      CasDelta{"enorme", 0, 4e12, "", 5e11, 0, 1e12, 3, false}),
    [](const auto& cas) { return std::string(cas.param.nom); });

// A range without ticks leaves a step of 0, which the tick layout reads as none.
struct CasSansTick {
  const char* nom;
  double mini, maxi;
};

class SetDeltaSansTick : public ::testing::TestWithParam<CasSansTick> {};

TEST_P(SetDeltaSansTick, LaissePasNulEtChiffresValides) {
  Tmonde m = Axe(GetParam().mini, GetParam().maxi);
  m.setDelta();
  EXPECT_EQ(m.deltaAxe, 0);
  EXPECT_EQ(m.exposant, 1);
  EXPECT_GE(m.NbreChiffres, 3);
  EXPECT_LE(m.NbreChiffres, 4);
  EXPECT_TRUE(m.Graduations(100).empty());
}

INSTANTIATE_TEST_SUITE_P(Plages, SetDeltaSansTick,
                         ::testing::Values(CasSansTick{"vide_en_zero", 0, 0}, CasSansTick{"vide_en_cinq", 5, 5},
                                           CasSansTick{"inversee", 5, 2}, CasSansTick{"inversee_negative", -3, -6},
                                           CasSansTick{"mini_nan", NaN, 1}, CasSansTick{"maxi_nan", 0, NaN},
                                           CasSansTick{"maxi_infini", 0, Inf},
                                           CasSansTick{"etendue_debordante", -1e308, 1e308},
                                           CasSansTick{"sous_les_denormaux", 0, 1e-323}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

// ---- tick values ----

struct CasTicks {
  const char* nom;
  double mini, maxi;
  std::vector<double> attendus;
};

class Graduations : public ::testing::TestWithParam<CasTicks> {};

TEST_P(Graduations, DuPremierJusquAvantMaxi) {
  const CasTicks& c = GetParam();
  Tmonde m = Axe(c.mini, c.maxi);
  m.setDelta();
  const auto t = m.Graduations(100);
  ASSERT_EQ(t.size(), c.attendus.size());
  for (std::size_t i = 0; i < t.size(); ++i) EXPECT_NEAR(t[i], c.attendus[i], 1e-12) << "tick " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Plages, Graduations,
    ::testing::Values(CasTicks{"zero_dix", 0, 10, {0, 2, 4, 6, 8}}, CasTicks{"moins_un_un", -1, 1, {-1, -0.5, 0, 0.5}},
                      CasTicks{"index_2048", 0, 2048, {0, 500, 1000, 1500, 2000}},
                      CasTicks{"decale", 0.25, 1.25, {0.4, 0.6, 0.8, 1.0, 1.2}},
                      CasTicks{"negatif", -5, -3, {-5, -4.5, -4, -3.5}}),
    [](const auto& cas) { return std::string(cas.param.nom); });

// Far from zero a step of a few units no longer changes the value: the tick loop
// must still end, with a bounded number of ticks, all finite.
struct CasLointain {
  const char* nom;
  double mini, maxi;
};

class GraduationsLointaines : public ::testing::TestWithParam<CasLointain> {};

TEST_P(GraduationsLointaines, FinissentEtRestentBornees) {
  Tmonde m = Axe(GetParam().mini, GetParam().maxi);
  m.setDelta();
  const auto t = m.Graduations(1000);
  EXPECT_LE(static_cast<int>(t.size()), Tmonde::MaxGraduations);
  for (double v : t) EXPECT_TRUE(std::isfinite(v));
}

INSTANTIATE_TEST_SUITE_P(
    Plages, GraduationsLointaines,
    ::testing::Values(CasLointain{"decalage_1e17", 1e17, 1e17 + 64},
                      CasLointain{"deux_ulp_en_1e300", 1e300, std::nextafter(std::nextafter(1e300, Inf), Inf)},
                      CasLointain{"un_ulp_en_1", 1.0, std::nextafter(1.0, 2.0)},
                      CasLointain{"plus_grand_reel", 0, std::numeric_limits<double>::max()}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(Graduations, ProchesDeZeroValentZeroExactement) {
  Tmonde m = Axe(-0.3, 0.7);
  m.setDelta();
  const auto t = m.Graduations(100);
  ASSERT_FALSE(t.empty());
  bool zero = false;
  for (double v : t)
    if (v == 0) zero = !std::signbit(v);
  EXPECT_TRUE(zero);
}

// ---- titles and labels ----

struct CasTitre {
  const char* nom;
  const char* symbole;
  const char* unite;
  double exposant;
  const char* titre;
};

class NomAxe : public ::testing::TestWithParam<CasTitre> {};

TEST_P(NomAxe, PrefixeSelonExposantEtUnite) {
  const CasTitre& c = GetParam();
  Tmonde m;
  m.Nom = c.symbole;
  m.Unite = c.unite;
  EXPECT_EQ(m.NomAxe(c.exposant), c.titre);
}

INSTANTIATE_TEST_SUITE_P(
    Titres, NomAxe,
    ::testing::Values(CasTitre{"millilitres", "V", "mL", 1, "V(mL)"}, CasTitre{"millilitres_en_litres", "V", "mL", 1000, "V(L)"},
                      CasTitre{"kilosecondes", "t", "s", 1000, "t(ks)"}, CasTitre{"sans_unite", "num", "", 1000, "num"},
                      CasTitre{"litres_en_millilitres", "V", "L", 0.001, "V(mL)"},
                      CasTitre{"microvolts", "E", "\xC2\xB5V", 1000, "E(mV)"},
                      CasTitre{"microvolts_bruts", "E", "\xC2\xB5V", 1, "E(\xC2\xB5V)"},
                      CasTitre{"kilogrammes", "m", "kg", 1000, "m(Mg)"}, CasTitre{"megohms", "R", "MOhm", 1, "R(MOhm)"},
                      CasTitre{"mol_lue_comme_prefixe", "c", "mol/L", 0.001, "c(\xC2\xB5ol/L)"},
                      CasTitre{"picovolts", "V", "V", 1e-12, "V(pV)"}, CasTitre{"gigavolts", "V", "V", 1e9, "V(GV)"},
                      CasTitre{"au_dela_des_prefixes", "V", "V", 1e30, "V(1E30 V)"},
                      CasTitre{"exposant_pas_calcule", "V", "V", 0, "V(V)"}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(FormatAxe, ChiffresSignificatifsEtSeparateurDeLUtilisateur) {
  TRegionalFixe virgule(',');
  Tmonde m = Axe(0, 2048);
  m.setDelta();
  EXPECT_EQ(m.FormatAxe(1500 / m.exposant), "1.5");
  InstalleRegional(&virgule);
  EXPECT_EQ(m.FormatAxe(1500 / m.exposant), "1,5");
  EXPECT_EQ(m.FormatAxe(1234.5678), "1,23E3");  // no minimum of exponent digits
  InstalleRegional(nullptr);
}

TEST(FormatAxe, LitresEnMillilitres) {
  Tmonde m = Axe(0, 0.5, "L");
  m.setDelta();
  std::vector<std::string> textes;
  for (double t : m.Graduations(100))
    if (t > 0) textes.push_back(m.FormatAxe(t / m.exposant));
  EXPECT_EQ(textes, (std::vector<std::string>{"100", "200", "300", "400"}));
}

// ---- mapping ----

TEST(PosWindow, ArrondiAuPairEtPasDePixelPourNaNOuDebordement) {
  Tmonde m;
  m.a = 2;
  m.b = 0.5;
  EXPECT_EQ(m.PosWindow(1), 2);    // 2.5
  EXPECT_EQ(m.PosWindow(1.5), 4);  // 3.5
  EXPECT_EQ(m.PosWindow(-1), -2);  // -1.5
  EXPECT_EQ(m.PosWindow(NaN), -1);
  EXPECT_EQ(m.PosWindow(1e20), -1);
  EXPECT_EQ(m.PosWindow(-Inf), -1);
}

struct CasBornes {
  const char* nom;
  double bas, haut, lo, hi;
};

class BornesDeTrace : public ::testing::TestWithParam<CasBornes> {};

TEST_P(BornesDeTrace, OrdonneesNonVidesFinies) {
  const CasBornes& c = GetParam();
  double lo = 0, hi = 0;
  Tmonde::BornesDeTrace(c.bas, c.haut, lo, hi);
  EXPECT_DOUBLE_EQ(lo, c.lo);
  EXPECT_DOUBLE_EQ(hi, c.hi);
  // And the mapping on them puts lo and hi on the two edges.
  Tmonde m;
  m.SetEchelle(lo, hi, 100, 900);
  EXPECT_TRUE(std::isfinite(m.a) && m.a > 0);
  EXPECT_EQ(m.PosWindow(lo), 100);
  EXPECT_EQ(m.PosWindow(hi), 900);
  EXPECT_NEAR(m.MondeDePixel(900), hi, std::fabs(hi) * 1e-12 + 1e-300);
}

INSTANTIATE_TEST_SUITE_P(
    Plages, BornesDeTrace,
    ::testing::Values(CasBornes{"normale", 0, 10, 0, 10}, CasBornes{"inversee", 10, 0, 0, 10},
                      CasBornes{"vide_en_zero", 0, 0, -1, 1}, CasBornes{"vide_en_quatre", 4, 4, 2, 6},
                      CasBornes{"produite_par_SetMinMax_negatif", -3, -6, -6, -3}, CasBornes{"nan", NaN, 1, 0, 1},
                      CasBornes{"infinie", 0, Inf, 0, 1}, CasBornes{"minuscule", 1e-12, 2e-12, 1e-12, 2e-12},
                      CasBornes{"etendue_debordante", -1e308, 1e308, -1e308, 1e308}),
    [](const auto& cas) { return std::string(cas.param.nom); });

TEST(MondeDePixel, SansEchellePasDeValeur) {
  Tmonde m;
  m.a = 0;
  EXPECT_TRUE(std::isnan(m.MondeDePixel(10)));
  m.a = NaN;
  EXPECT_TRUE(std::isnan(m.MondeDePixel(10)));
}

// ---- range and storage ----

TEST(SetMinMax, OrdonneEtDoubleUneBorneUnique) {
  Tmonde m;
  m.SetMinMax(5, 2);
  EXPECT_EQ(m.mini, 2);
  EXPECT_EQ(m.maxi, 5);
  m.SetMinMax(3, 3);
  EXPECT_EQ(m.maxi, 6);
  m.SetMinMax(0, 0);  // empty: drawn as -1..1, without ticks
  EXPECT_EQ(m.mini, 0);
  EXPECT_EQ(m.maxi, 0);
}

TEST(Creation, ValeursInitiales) {
  Tmonde m;
  EXPECT_EQ(m.mini, 0);
  EXPECT_EQ(m.maxi, 1);
  EXPECT_EQ(m.a, 1);
  EXPECT_EQ(m.PosCurseur, -1);
  EXPECT_EQ(m.valeur.size(), 2049u);
  EXPECT_EQ(m.valeur[2048], 0);
  EXPECT_FALSE(m.axeDateTime);
}

struct CasMinmax {
  const char* nom;
  std::vector<double> valeurs;
  double lo, hi;
};

class ChercheMinmax : public ::testing::TestWithParam<CasMinmax> {};

TEST_P(ChercheMinmax, ElargitDUnCinquantiemeDansLaPlage) {
  const CasMinmax& c = GetParam();
  Tmonde m = Axe(0, 100);
  for (std::size_t i = 0; i < c.valeurs.size(); ++i) m.valeur[i] = c.valeurs[i];
  double lo = 0, hi = 0;
  m.chercheMinmax(static_cast<indiceVecteur>(c.valeurs.size()), lo, hi);
  EXPECT_DOUBLE_EQ(lo, c.lo);
  EXPECT_DOUBLE_EQ(hi, c.hi);
}

INSTANTIATE_TEST_SUITE_P(Valeurs, ChercheMinmax,
                         ::testing::Values(CasMinmax{"un_cinq_trois", {1, 5, 3}, 0, 7},
                                           CasMinmax{"au_milieu", {40, 60, 50}, 38, 62},
                                           CasMinmax{"hors_plage", {-10, 150}, 0, 100},
                                           CasMinmax{"trou_au_debut", {NaN, 50, 40}, 38, 52},
                                           CasMinmax{"trou_au_milieu", {50, NaN, 40}, 38, 52},
                                           CasMinmax{"aucune_valeur", {NaN, NaN}, 0, 100}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

}  // namespace
