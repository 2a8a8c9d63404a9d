// Frame decoding: captured frames of common lab instruments, each with the definition
// that reads it and the value, unit and flags it must give; then the decoder's rules
// case by case, and the same stream fed whole or in pieces.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "aides_instruments.h"
#include "trames_decodage.h"
#include "instruments/appareil.h"
#include "instruments/commande.h"

namespace {

using fixtures_decodage::CasTrame;
using fixtures_decodage::Definitions;
using fixtures_decodage::Rien;

class TramesReelles : public AvecRegional, public ::testing::WithParamInterface<CasTrame> {};

TEST_P(TramesReelles, ValeurUniteEtDrapeaux) {
  const CasTrame& c = GetParam();
  auto a = DefinitionDepuis(Definitions, c.definition);
  ASSERT_EQ(a->NomAppareil, c.definition);
  a->ValeurCourante = c.avant;
  a->ChaineLue = DecodeCommande(c.trame);
  a->SetValeurCourante();
  if (std::isnan(c.attendue))
    EXPECT_TRUE(std::isnan(a->ValeurCourante)) << a->ValeurCourante;
  else
    EXPECT_DOUBLE_EQ(a->ValeurCourante, c.attendue);
  EXPECT_EQ(a->UniteGrandeur, c.unite);
  EXPECT_EQ(a->depassement, c.depassement);
  EXPECT_DOUBLE_EQ(a->oldValeurCourante, c.avant);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, TramesReelles,
    ::testing::ValuesIn(fixtures_decodage::Trames), NomDuCas());

TEST_F(AvecRegional, UnFluxContinuGardeLaTrameSuivanteEnAttente) {
  auto a = DefinitionDepuis(Definitions, "Sper 850055");
  a->ChaineLue = DecodeCommande(
      "p07.01pH: m012.3mV:T025.0C@ 2007-04-18 18:48:47K|CR||LF|p07.02pH: m011.9mV:T025.0C@ 2007-04-18 "
      "18:48:48K|CR||LF|p07.0");
  a->SetValeurCourante();
  EXPECT_EQ(a->ChaineLue, "p07.0");
  EXPECT_EQ(a->NomValeurUniteCourante(), "pH=7.02 ");
}

TEST_F(AvecRegional, LeConductimetreNommeSaValeurAvecLePrefixeDeLaTrame) {
  auto a = DefinitionDepuis(Definitions, "TPS 901-C");
  EXPECT_EQ(a->UniteGrandeur, "S");  // the m of the section comes from each frame
  a->ChaineLue = DecodeCommande("  12.5mS    25.0oC |CR|");
  a->SetValeurCourante();
  EXPECT_EQ(a->NomValeurUniteCourante(), "σ=12.5 mS");
  a->ChaineLue = DecodeCommande("  1413uS    25.0oC |CR|");
  a->SetValeurCourante();
  EXPECT_EQ(a->NomValeurUniteCourante(), "σ=1.413 mS");
}

// The decoder's rules, one row each, on a definition built in place.
struct CasRegle {
  const char* nom;
  std::function<void(Tappareil&)> definit;
  std::string trame;  // escape notation
  double avant;
  double attendue;
  const char* unite;
  bool depassement;
  const char* reste;  // ChaineLue afterwards
};

void PrintTo(const CasRegle& c, std::ostream* os) { *os << c.nom; }

class ReglesDuDecodeur : public AvecRegional, public ::testing::WithParamInterface<CasRegle> {};

TEST_P(ReglesDuDecodeur, Valeur) {
  const CasRegle& c = GetParam();
  Tappareil a;
  a.ValMini = -1e12;
  a.ValMaxi = 1e12;
  a.UniteGrandeur = "u";
  c.definit(a);
  a.ValeurCourante = c.avant;
  a.ChaineLue = DecodeCommande(c.trame);
  a.SetValeurCourante();
  if (std::isnan(c.attendue))
    EXPECT_TRUE(std::isnan(a.ValeurCourante)) << a.ValeurCourante;
  else
    EXPECT_DOUBLE_EQ(a.ValeurCourante, c.attendue);
  EXPECT_EQ(a.UniteGrandeur, c.unite);
  EXPECT_EQ(a.depassement, c.depassement);
  EXPECT_EQ(CodeCommande(a.ChaineLue), c.reste);
}

auto Aucune = [](Tappareil&) {};

INSTANTIATE_TEST_SUITE_P(
    Variable, ReglesDuDecodeur,
    ::testing::Values(
        CasRegle{"rang_2", [](Tappareil& a) { a.NumeroOrdre = 2; }, "pH 7.01 T 25.3|CR|", 0, 25.3, "u", false, ""},
        CasRegle{"rang_1", Aucune, "pH 7.01 T 25.3|CR|", 0, 7.01, "u", false, ""},
        CasRegle{"rang_au_dela_des_nombres", [](Tappareil& a) { a.NumeroOrdre = 5; }, "pH 7.01 T 25.3|CR|", 3, 3,
                 "u", false, ""},
        CasRegle{"rang_0_lu_comme_1", [](Tappareil& a) { a.NumeroOrdre = 0; }, "7.01|CR|", 0, 7.01, "u", false, ""},
        CasRegle{"heure_en_tete_sautee", Aucune, "14:02:33 7.01 pH|CR|", 0, 7.01, "u", false, ""},
        CasRegle{"date_en_tete_sautee", Aucune, "05/12/2024 7.01|CR|", 0, 7.01, "u", false, ""},
        CasRegle{"date_courte_sautee", Aucune, "05/12/24 7.01|CR|", 0, 7.01, "u", false, ""},
        CasRegle{"date_et_heure_seule_la_date_sautee", Aucune, "05/12/2024 14:02:33 7.01|CR|", 0, 14, "u", false,
                 ""},
        CasRegle{"heure_incomplete_non_sautee", Aucune, "14:02 7.01|CR|", 0, 14, "u", false, ""},
        CasRegle{"zeros_et_signe", Aucune, "+0012.50 g|CR|", 0, 12.5, "u", false, ""},
        CasRegle{"groupe_de_chiffres_blanc", [](Tappareil& a) { a.SeparateurChiffre = ' '; }, "1 234,5|CR|", 0,
                 1234.5, "u", false, ""},
        CasRegle{"groupe_de_chiffres_apostrophe", [](Tappareil& a) { a.SeparateurChiffre = '\''; },
                 "-1'234'567.5 g|CR|", 0, -1234567.5, "u", false, ""},
        CasRegle{"sans_separateur_le_NUL_arrete_le_nombre", Aucune, "12|NUL|34|CR|", 0, 12, "u", false, ""},
        CasRegle{"octet_127_dans_le_nombre_ignore", Aucune, "12\x7f.5|CR|", 0, 12.5, "u", false, ""},
        CasRegle{"virgule_decimale", Aucune, "7,25 pH|CR|", 0, 7.25, "u", false, ""},
        CasRegle{"exposant", Aucune, "1.5E-3 A|CR|", 0, 0.0015, "u", false, ""},
        CasRegle{"point_final", Aucune, "7.|CR|", 0, 7, "u", false, ""},
        CasRegle{"aucun_chiffre_valeur_precedente", Aucune, "abc|CR|", 3.5, 3.5, "u", false, ""},
        CasRegle{"trame_vide_valeur_precedente", Aucune, "", 3.5, 3.5, "u", false, ""}),
    NomDuCas());

auto PH = [](Tappareil& a) { a.SymboleGrandeur = "pH"; };

INSTANTIATE_TEST_SUITE_P(
    PHSansPoint, ReglesDuDecodeur,
    ::testing::Values(CasRegle{"701_donne_7_01", PH, "701|CR|", 0, 7.01, "u", false, ""},
                      CasRegle{"1234_donne_12_34", PH, "1234|CR|", 0, 12.34, "u", false, ""},
                      CasRegle{"1402_donne_1_402", PH, "1402|CR|", 0, 1.402, "u", false, ""},
                      CasRegle{"avec_point_inchange", PH, "7.01|CR|", 0, 7.01, "u", false, ""},
                      CasRegle{"un_chiffre_inchange", PH, "7|CR|", 0, 7, "u", false, ""},
                      CasRegle{"symbole_exact_seulement", [](Tappareil& a) { a.SymboleGrandeur = "ph"; }, "701|CR|",
                               0, 701, "u", false, ""}),
    NomDuCas());

auto Coeff = [](Tappareil& a) { a.LireCoeffUnite = true; };
auto CoeffNom = [](Tappareil& a) {
  a.LireCoeffUnite = true;
  a.LireNomUnite = true;
};
auto Nom = [](Tappareil& a) { a.LireNomUnite = true; };

INSTANTIATE_TEST_SUITE_P(
    PrefixeEtUnite, ReglesDuDecodeur,
    ::testing::Values(
        CasRegle{"prefixe_milli", Coeff, "12.5 mS/cm|CR|", 0, 0.0125, "u", false, ""},
        CasRegle{"prefixe_et_unite", CoeffNom, "12.5 mS/cm|CR|", 0, 0.0125, "S/cm", false, ""},
        CasRegle{"unite_seule_sans_prefixe", Nom, "25.0 °C|CR|", 0, 25.0, "°C", false, ""},
        CasRegle{"micro_octet_181", CoeffNom, "3.3 µS|CR|", 0, 3.3e-6, "S", false, ""},
        CasRegle{"micro_u", Coeff, "3.3 uS|CR|", 0, 3.3e-6, "u", false, ""},
        CasRegle{"micro_octet_230", Coeff, "3.3æS|CR|", 0, 3.3e-6, "u", false, ""},
        CasRegle{"M_majuscule_est_milli", Coeff, "3.3 MS|CR|", 0, 3.3e-3, "u", false, ""},
        CasRegle{"kilo_et_U_pour_ohm", CoeffNom, "4.7 kU|CR|", 0, 4700, "Ω", false, ""},
        CasRegle{"giga", Coeff, "2 GHz|CR|", 0, 2e9, "u", false, ""},
        CasRegle{"tabulation_avant_le_prefixe", Coeff, "5|TAB|nA|CR|", 0, 5e-9, "u", false, ""},
        CasRegle{"unite_inconnue_garde_l_ancienne", CoeffNom, "12 mQq|CR|", 0, 0.012, "u", false, ""},
        // A frame cut after its slash: the unit is refused, the value stands.
        CasRegle{"unite_coupee_apres_la_barre", CoeffNom, "12.5 mS/", 0, 0.0125, "u", false, ""},
        CasRegle{"puissance_1E_illisible_valeur_precedente", Nom, "12.5 1E--3m|CR|", 3, 3, "u", false, ""}),
    NomDuCas());

auto Plage14 = [](bool filtre) {
  return [filtre](Tappareil& a) {
    a.ValMini = 0;
    a.ValMaxi = 14;
    a.FiltrageDepassement = filtre;
  };
};
auto VerifPH = [](Tappareil& a) {
  a.TexteVerif = "pH";
  a.NumeroVerif = 2;
};

INSTANTIATE_TEST_SUITE_P(
    PlageEtVerification, ReglesDuDecodeur,
    ::testing::Values(
        CasRegle{"depassement_filtre", Plage14(true), "15|CR|", 7, Rien, "u", false, ""},
        CasRegle{"depassement_signale", Plage14(false), "15|CR|", 7, 15, "u", true, ""},
        CasRegle{"sous_le_minimum_filtre", Plage14(true), "-0.5|CR|", 7, Rien, "u", false, ""},
        CasRegle{"bornes_comprises", Plage14(true), "14|CR|", 7, 14, "u", false, ""},
        CasRegle{"valeur_precedente_hors_plage_aussi_controlee", Plage14(false), "abc|CR|", 20, 20, "u", true, ""},
        CasRegle{"verification_a_sa_place", VerifPH, "7.01 pH|CR|", 3, 7.01, "u", false, ""},
        CasRegle{"verification_ailleurs_refusee", VerifPH, "7.01 mV|CR|", 3, 3, "u", false, ""},
        CasRegle{"verification_decalee_refusee", VerifPH, "7.01  pH|CR|", 3, 3, "u", false, ""},
        CasRegle{"verification_sans_place_ignoree",
                 [](Tappareil& a) {
                   a.TexteVerif = "pH";
                   a.NumeroVerif = 0;
                 },
                 "7.01 mV|CR|", 3, 7.01, "u", false, ""}),
    NomDuCas());

auto Fixe = [](int debut) {
  return [debut](Tappareil& a) {
    a.FormatFixe = true;
    a.DebutNombre = debut;
  };
};

INSTANTIATE_TEST_SUITE_P(
    FormatFixe, ReglesDuDecodeur,
    ::testing::Values(CasRegle{"debut_fixe", Fixe(4), "T1 25.3 12|CR|", 0, 25.3, "u", false, ""},
                      CasRegle{"debut_depuis_la_fin", Fixe(-5), "ABC 7.25|CR|", 0, 7.25, "u", false, ""},
                      CasRegle{"debut_avant_le_texte_lu_depuis_1", Fixe(-50), "7.25|CR|", 0, 7.25, "u", false, ""},
                      CasRegle{"debut_apres_la_fin", Fixe(40), "7.25|CR|", 3, 3, "u", false, ""},
                      CasRegle{"debut_enorme", Fixe(2147483647), "7.25|CR|", 3, 3, "u", false, ""},
                      CasRegle{"debut_tres_negatif", Fixe(-2147483647 - 1), "7.25|CR|", 3, 7.25, "u", false, ""}),
    NomDuCas());

auto Continu = [](const char* repere, int debut) {
  return [repere, debut](Tappareil& a) {
    a.EnvoiDirect = true;
    a.Demande = DecodeCommande(repere);
    a.DebutNombre = debut;
  };
};

INSTANTIATE_TEST_SUITE_P(
    EnvoiContinu, ReglesDuDecodeur,
    ::testing::Values(
        CasRegle{"repere_puis_nombre", Continu("01V=", 5), "01V=12.345|CR|", 0, 12.345, "u", false, ""},
        CasRegle{"nombre_avant_le_repere", Continu("g", -8), "  12.345 g|CR||LF|", 0, 12.345, "u", false, ""},
        CasRegle{"nombre_avant_le_dernier_repere", Continu("g", -8), "  10.000 g|CR||LF|  12.345 g|CR||LF|", 0,
                 12.345, "u", false, ""},
        CasRegle{"sans_repere_rien_ne_change", Continu("01V=", 5), "12.3", 4, 4, "u", false, "12.3"},
        CasRegle{"repere_sans_nombre_garde_la_valeur", Continu("01V=", 5), "01V=|CR|", 4, 4, "u", false, ""},
        CasRegle{"repere_debut_0_rien", Continu("g", 0), "12.5 g|CR|", 4, 4, "u", false, "12.5 g|CR|"},
        CasRegle{"sans_repere_defini_le_tampon_entier", Continu("", 1), "7.5|CR||LF|", 0, 7.5, "u", false, ""},
        CasRegle{"second_repere_essaye",
                 [](Tappareil& a) {
                   Continu("ST,", 4)(a);
                   a.DemandeBis = "US,";
                 },
                 "US,+00012.5|CR||LF|", 0, 12.5, "u", false, ""},
        CasRegle{"tampon_vide", Continu("", 1), "", 4, 4, "u", false, ""}),
    NomDuCas());

TEST_F(AvecRegional, LePointInsereDansLePHEstCeluiDuPoste) {
  regional.separateur = ',';
  Tappareil a;
  a.SymboleGrandeur = "pH";
  a.ValMaxi = 14;
  a.ChaineLue = "701\r";
  a.SetValeurCourante();
  EXPECT_DOUBLE_EQ(a.ValeurCourante, 7.01);
  a.ChaineLue = "6.86\r";  // a point from the instrument reads under either separator
  a.SetValeurCourante();
  EXPECT_DOUBLE_EQ(a.ValeurCourante, 6.86);
}

TEST(ContinuVerification, UneLigneRefuseeLaisseEssayerLaSuivante) {
  Tappareil a;
  a.EnvoiDirect = true;
  a.ValMaxi = 1e6;
  a.TexteVerif = "g";
  a.NumeroVerif = 3;
  a.NbreLignes = 2;
  a.ValeurCourante = 1;
  a.ChaineLue = DecodeCommande("QT,+00012345 PC|CR||LF|ST,+00123.45  g|CR||LF|");
  a.SetValeurCourante();
  EXPECT_DOUBLE_EQ(a.ValeurCourante, 123.45);
  EXPECT_EQ(a.ChaineLue, "");
}

TEST(ContinuFixe, LeTamponEstVideApresUneValeur) {
  Tappareil a;
  a.EnvoiDirect = true;
  a.FormatFixe = true;
  a.DebutNombre = 4;
  a.ValMaxi = 1e6;
  a.ChaineLue = "ST,+00123.45  g\r\n";
  a.SetValeurCourante();
  EXPECT_DOUBLE_EQ(a.ValeurCourante, 123.45);
  EXPECT_EQ(a.ChaineLue, "");
}

TEST(EtatDuDecodeur, TamponDeStabiliteReponseEtValeurPrecedente) {
  Tappareil a;
  a.ValMaxi = 100;
  for (int i = 1; i <= 8; ++i) {
    a.ChaineLue = "SRAB " + std::to_string(i) + "\r";
    a.SetValeurCourante();
  }
  EXPECT_EQ(a.nbreRouleau, 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(a.valeurRouleau[i], i + 3) << i;
  EXPECT_EQ(a.reponseStab, "SRAB");
  EXPECT_EQ(a.oldValeurCourante, 7);
  // A frame refused by its check feeds nothing.
  a.TexteVerif = "x";
  a.NumeroVerif = 1;
  a.ChaineLue = "9 y\r";
  a.SetValeurCourante();
  EXPECT_EQ(a.valeurRouleau[5], 8);
  EXPECT_EQ(a.reponseStab, "9 y\r");
}

// The same stream, whole or cut anywhere, gives the same readings once each frame is
// complete (the reception decodes when the buffer holds its lines).
TEST_F(AvecRegional, UnFluxCoupeNImporteOuDonneLesMemesLectures) {
  const std::string flux = DecodeCommande(
      "bruit|NUL|p07.00pH: m012.3mV:T025.0C@ 2007-04-18 18:48:46K|CR||LF|"
      "p07.01pH: m012.1mV:T025.0C@ 2007-04-18 18:48:47K|CR||LF|"
      "p07.02pH: m011.9mV:T025.0C@ 2007-04-18 18:48:48K|CR||LF|"
      "p07.03pH: m011.7mV:T025.1C@ 2007-04-18 18:48:49K|CR||LF|");
  auto lectures = [&](const std::vector<std::size_t>& coupures) {
    auto a = DefinitionDepuis(Definitions, "Sper 850055");
    std::vector<double> vues;
    std::size_t debut = 0;
    for (std::size_t fin : coupures) {
      a->ChaineLue += flux.substr(debut, fin - debut);
      debut = fin;
      if (CompteRetours(a->ChaineLue) >= a->NbreLignes) {
        a->SetValeurCourante();
        if (vues.empty() || vues.back() != a->ValeurCourante) vues.push_back(a->ValeurCourante);
      }
    }
    return vues;
  };
  // One piece per transmitted line.
  std::vector<std::size_t> parLigne;
  for (std::size_t p = flux.find('\n'); p != std::string::npos; p = flux.find('\n', p + 1)) parLigne.push_back(p + 1);
  const std::vector<double> attendues{7.00, 7.01, 7.02, 7.03};
  EXPECT_EQ(lectures(parLigne), attendues);
  std::vector<std::size_t> parOctet;
  for (std::size_t i = 1; i <= flux.size(); ++i) parOctet.push_back(i);
  EXPECT_EQ(lectures(parOctet), attendues);
  std::mt19937 alea(20240418);
  for (int essai = 0; essai < 50; ++essai) {
    std::vector<std::size_t> coupures;
    std::size_t p = 0;
    while (p < flux.size()) {
      p = std::min(flux.size(), p + 1 + alea() % 12);
      coupures.push_back(p);
    }
    EXPECT_EQ(lectures(coupures), attendues) << "essai " << essai;
  }
}

}  // namespace
