// Physical units: the table of known units, the parser of unit texts and the
// arithmetic on powers and exponents.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "aides_instruments.h"
#include "instruments/unite.h"

namespace {

using Dims = std::array<int, 7>;  // m, kg, s, A, K, mol, cd

Dims DimensionsDe(const Tunite& u) {
  Dims d{};
  for (int k = 1; k <= 7; ++k) d[k - 1] = u.Dimension[k];
  return d;
}

TEST(UnitesConnues, TableDe38UnitesDansLOrdreAvecLeursPuissancesEtGenres) {
  const auto& table = UnitesConnues();
  ASSERT_EQ(table.size(), 38u);
  const char* noms[38] = {"m",   "A",   "g",   "K",   "mol", "cd",     "H",   "mol/L", "F",   "N",
                          "Ω",   "S",   "T",   "V",   "Hz",  "s",      "Pa",  "J",     "W",   "C",
                          "Wb",  "lm",  "N/m", "J/K", "J/kg.K", "V/m", "S/m", "W/m.K", "C.m", "Ωm",
                          "N.m", "A/m", "1",   "L",   "°C",  "bar",    "dB",  "tr"};
  for (int i = 0; i < 38; ++i) {
    EXPECT_EQ(table[i].FnomUnite, noms[i]) << "rang " << i + 1;
    EXPECT_TRUE(table[i].Correct) << noms[i];
  }
  EXPECT_EQ(table[2].Puissance, -3);   // g
  EXPECT_EQ(table[7].Puissance, 3);    // mol/L
  EXPECT_EQ(table[33].Puissance, -3);  // L
  EXPECT_EQ(table[35].Puissance, 5);   // bar
  EXPECT_EQ(DimensionsDe(table[10]), (Dims{2, 1, -3, -2, 0, 0, 0}));  // Ω
  EXPECT_EQ(DimensionsDe(table[24]), (Dims{2, 0, -2, 0, -1, 0, 0}));  // J/kg.K
  EXPECT_EQ(table[36].sansDim, tuDecibel);
  EXPECT_EQ(table[37].sansDim, tuTour);
  EXPECT_EQ(table[0].sansDim, tuVide);
  EXPECT_TRUE(UniteVide().FnomUnite.empty());
  EXPECT_EQ(DimensionsDe(UniteVide()), Dims{});
  // Built once: every call gives the same table.
  EXPECT_EQ(&UnitesConnues(), &table);
}

struct CasUnite {
  const char* nom;
  const char* texte;
  bool correct;
  int puissance;
  Dims dims;
  const char* nomAffiche;  // FnomUnite afterwards
};

void PrintTo(const CasUnite& c, std::ostream* os) { *os << c.nom; }

class AnalyseUnite : public ::testing::TestWithParam<CasUnite> {};

TEST_P(AnalyseUnite, PuissanceExposantsEtNom) {
  const CasUnite& c = GetParam();
  Tunite u;
  u.SetUniteGrandeur(c.texte);
  EXPECT_EQ(u.Correct, c.correct);
  if (c.correct) {
    EXPECT_EQ(u.Puissance, c.puissance);
    EXPECT_EQ(DimensionsDe(u), c.dims);
  }
  EXPECT_EQ(u.FnomUnite, c.nomAffiche);
}

constexpr Dims kPa{-1, 1, -2, 0, 0, 0, 0};
constexpr Dims kS{-2, -1, 3, 2, 0, 0, 0};
constexpr Dims kOhm{2, 1, -3, -2, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Textes, AnalyseUnite,
    ::testing::Values(
        CasUnite{"Pa_nom_de_table", "Pa", true, 0, kPa, "Pa"},
        CasUnite{"cd_nom_de_table", "cd", true, 0, {0, 0, 0, 0, 0, 0, 1}, "cd"},
        CasUnite{"mol_nom_de_table", "mol", true, 0, {0, 0, 0, 0, 0, 1, 0}, "mol"},
        CasUnite{"Hz_nom_de_table", "Hz", true, 0, {0, 0, -1, 0, 0, 0, 0}, "Hz"},
        CasUnite{"hPa_prefixe_hecto", "hPa", true, 2, kPa, "hPa"},
        CasUnite{"mmol_prefixe_milli", "mmol", true, -3, {0, 0, 0, 0, 0, 1, 0}, "mmol"},
        CasUnite{"Pa_s_peta_puis_a_inconnu", "Pa.s", false, 0, {}, "Pa.s"},
        CasUnite{"kOhm", "kΩ", true, 3, kOhm, "kΩ"},
        CasUnite{"MOhm", "MΩ", true, 6, kOhm, "MΩ"},
        CasUnite{"kOhm_metre", "kΩm", true, 3, {3, 1, -3, -2, 0, 0, 0}, "kΩm"},
        CasUnite{"pH_pico_henry", "pH", true, -12, {2, 1, -2, -2, 0, 0, 0}, "pH"},
        CasUnite{"pourcent_refuse", "%", false, 0, {}, "%"},
        CasUnite{"heure_refusee", "h", false, 0, {}, "h"},
        CasUnite{"blancs_ignores", "m / s", true, 0, {1, 0, -1, 0, 0, 0, 0}, "m/s"},
        CasUnite{"puissance_1E3m", "1E3m", true, 3, {1, 0, 0, 0, 0, 0, 0}, "1E3m"},
        CasUnite{"1E3_seul_refuse", "1E3", false, 0, {}, "1E3"},
        CasUnite{"mS_par_cm", "mS/cm", true, -1, {-3, -1, 3, 2, 0, 0, 0}, "mS/cm"},
        CasUnite{"microS_par_cm", "µS/cm", true, -4, {-3, -1, 3, 2, 0, 0, 0}, "µS/cm"},
        CasUnite{"m_par_s2_exposant", "m/s2", true, 0, {1, 0, -2, 0, 0, 0, 0}, "m/s²"},
        CasUnite{"kg_m_moins_3", "kg.m-3", true, 0, {-3, 1, 0, 0, 0, 0, 0}, "kg.m⁻³"},
        CasUnite{"mmol_par_L", "mmol/L", true, 0, {-3, 0, 0, 0, 0, 1, 0}, "mmol/L"},
        CasUnite{"denominateur_persistant", "J/kg.K", true, 0, {2, 0, -2, 0, -1, 0, 0}, "J/kg.K"},
        CasUnite{"W_par_m_K_compose", "W/cm.K", true, 2, {1, 1, -3, 0, -1, 0, 0}, "W/cm.K"},
        CasUnite{"m3_exposant", "m3", true, 0, {3, 0, 0, 0, 0, 0, 0}, "m³"},
        CasUnite{"s_moins_1", "s-1", true, 0, {0, 0, -1, 0, 0, 0, 0}, "s⁻¹"},
        CasUnite{"exposant_chapeau", "m^2", true, 0, {2, 0, 0, 0, 0, 0, 0}, "m^²"},
        CasUnite{"exposant_exposant_plus", "m⁺2", true, 0, {2, 0, 0, 0, 0, 0, 0}, "m⁺²"},
        CasUnite{"degre_Celsius", "°C", true, 0, {0, 0, 0, 0, 1, 0, 0}, "°C"},
        CasUnite{"vide_sans_dimension", "", true, 0, {}, ""},
        CasUnite{"chapeau_final_refuse", "m^", false, 0, {}, "m^"},
        CasUnite{"signe_final_refuse", "m-", false, 0, {}, "m⁻"},
        CasUnite{"separateur_final_refuse", "m.", false, 0, {}, "m."},
        // A text cut after its slash (a frame ending "12.5 mS/") names no unit and is
        // never read past its end.
        CasUnite{"barre_finale_refusee", "mS/", false, 0, {}, "mS/"},
        CasUnite{"barre_seule_refusee", "/", false, 0, {}, "/"},
        // Exponents and powers stay within signed 8 bits instead of wrapping.
        CasUnite{"exposants_hors_8_bits", "m9.m9.m9.m9.m9.m9.m9.m9.m9.m9.m9.m9.m9.m9.m9", false, 0, {},
                 "m⁹.m⁹.m⁹.m⁹.m⁹.m⁹.m⁹.m⁹.m⁹.m⁹.m⁹.m⁹.m⁹.m⁹.m⁹"},
        CasUnite{"puissance_1E_hors_8_bits", "1E200m", false, 0, {}, "1E200m"},
        CasUnite{"octet_utf8_invalide", "m\xff", false, 0, {}, "mÿ"}),
    NomDuCas());

TEST(AnalyseUnite, UnTexteDePlusDe255CaracteresEstRefuse) {
  Tunite u;
  std::string texte(256, 'm');
  u.SetUniteGrandeur(texte);
  EXPECT_FALSE(u.Correct);
}

TEST(AnalyseUnite, UnePuissance1EQuiNEstPasUnEntierRemonteAlAppelant) {
  Tunite u;
  EXPECT_THROW(u.SetUniteGrandeur("1E+-3m"), EConversionUnite);
  EXPECT_THROW(u.SetUniteGrandeur("1E-m"), EConversionUnite);
}

TEST(AnalyseUnite, UneNouvelleAnalyseRepartDeZero) {
  Tunite u;
  u.SetUniteGrandeur("dB");
  EXPECT_EQ(u.sansDim, tuDecibel);
  u.SetUniteGrandeur("Pa.s");
  EXPECT_FALSE(u.Correct);
  u.SetUniteGrandeur("V");
  EXPECT_TRUE(u.Correct);
  EXPECT_EQ(u.sansDim, tuVide);
  EXPECT_EQ(DimensionsDe(u), (Dims{2, 1, -3, -1, 0, 0, 0}));
}

TEST(ArithmetiqueUnite, ProduitEtQuotientSuiventLesGenresSansDimension) {
  const Tunite& dB = UnitesConnues()[36];
  const Tunite& tr = UnitesConnues()[37];
  const Tunite& m = UnitesConnues()[0];
  Tunite u;
  u.RecopieUnite(m);
  u.PlusUnite(dB);
  EXPECT_EQ(u.sansDim, tuDecibel);
  u.PlusUnite(tr);
  EXPECT_EQ(u.sansDim, tuVide);  // both had a kind
  u.RecopieUnite(dB);
  u.MoinsUnite(tr);
  EXPECT_EQ(u.sansDim, tuVide);
  u.RecopieUnite(m);
  u.MoinsUnite(UnitesConnues()[15]);  // m/s
  EXPECT_EQ(DimensionsDe(u), (Dims{1, 0, -1, 0, 0, 0, 0}));

  Tunite g;
  g.AdUnite('+', dB, m);
  EXPECT_EQ(g.sansDim, tuDecibel);
  g.AdUnite('-', dB, m);
  EXPECT_EQ(g.sansDim, tuDecibel);
  g.AdUnite('-', m, tr);
  EXPECT_EQ(g.sansDim, tuVide);
  g.AdUnite('+', UnitesConnues()[2], UnitesConnues()[2]);  // g.g
  EXPECT_EQ(g.Puissance, -6);
  EXPECT_EQ(DimensionsDe(g), (Dims{0, 2, 0, 0, 0, 0, 0}));
}

TEST(ArithmetiqueUnite, PuissancesEtRacines) {
  Tunite m2;
  m2.SetUniteGrandeur("mm2");
  ASSERT_TRUE(m2.Correct);
  EXPECT_EQ(m2.Puissance, -6);
  Tunite r;
  r.MulUnite('/', m2, 2);
  EXPECT_TRUE(r.Correct);
  EXPECT_EQ(r.Puissance, -3);
  EXPECT_EQ(DimensionsDe(r), (Dims{1, 0, 0, 0, 0, 0, 0}));
  r.MulUnite('*', r, 3);  // the receiver as its own operand
  EXPECT_EQ(r.Puissance, -9);
  EXPECT_EQ(DimensionsDe(r), (Dims{3, 0, 0, 0, 0, 0, 0}));

  Tunite nonDivisible;
  EXPECT_THROW(nonDivisible.MulUnite('/', m2, 3), EUnite);
  EXPECT_FALSE(nonDivisible.Correct);
  Tunite parZero;
  EXPECT_THROW(parZero.MulUnite('/', m2, 0), EUnite);

  Tunite dB;
  dB.RecopieUnite(UnitesConnues()[36]);
  dB.PuissUnite('*', 2);
  EXPECT_EQ(dB.sansDim, tuVide);

  Tunite v;
  v.RecopieUnite(UnitesConnues()[13]);
  v.InverseUnite();
  EXPECT_EQ(DimensionsDe(v), (Dims{-2, -1, 3, 1, 0, 0, 0}));
}

TEST(ArithmetiqueUnite, UnOperandeIncorrectRendLeResultatIncorrectSansLeChanger) {
  Tunite faux;
  faux.SetUniteGrandeur("%");
  ASSERT_FALSE(faux.Correct);
  Tunite u;
  u.RecopieUnite(UnitesConnues()[0]);
  u.PlusUnite(faux);
  EXPECT_FALSE(u.Correct);
  EXPECT_EQ(DimensionsDe(u), (Dims{1, 0, 0, 0, 0, 0, 0}));
  u.InverseUnite();  // nothing on an incorrect unit
  EXPECT_EQ(DimensionsDe(u), (Dims{1, 0, 0, 0, 0, 0, 0}));
}

TEST(ArithmetiqueUnite, UnExposantHorsDe8BitsEstUneErreurEtNonUnRepli) {
  Tunite u;
  u.SetUniteGrandeur("m9");
  ASSERT_TRUE(u.Correct);
  EXPECT_THROW(u.PuissUnite('*', 20), EUnite);
  EXPECT_FALSE(u.Correct);
}

}  // namespace
