// The measurement duration's rounding and steps, and time-stamp arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "util/durees.h"

namespace {

struct LigneDuree {
  const char* nom;
  std::int32_t avant, apres;
};

constexpr std::int32_t Min = 60, H = 3600;

void Verifie(const std::vector<LigneDuree>& lignes, void (*pas)(std::int32_t&)) {
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    std::int32_t d = l.avant;
    pas(d);
    EXPECT_EQ(l.apres, d);
  }
}

TEST(Durees, ArrondiDuree) {
  Verifie({{"2min05_vers_2min10", 2 * Min + 5, 2 * Min + 10},
           {"37min_vers_40", 37 * Min, 40 * Min},
           {"12min_vers_15", 12 * Min, 15 * Min},
           {"1h50_vers_2h", H + 50 * Min, 2 * H},
           {"zero", 0, 0},
           {"3min55_retenue_sur_la_minute", 3 * Min + 55, 4 * Min},
           {"4min30_secondes_effacees", 4 * Min + 30, 4 * Min},
           {"10min59_minutes_gardees", 10 * Min + 59, 10 * Min},
           {"30min_deja_sur_la_grille", 30 * Min, 30 * Min},
           {"31min_vers_40", 31 * Min, 40 * Min},
           {"59min_vers_1h", 59 * Min, H},
           {"1h00min10_vers_1h", H + 10, H},
           {"1h01_vers_1h15", H + Min, H + 15 * Min},
           {"negatif_vaut_zero", -30, 0},
           {"trop_grand_inchange", std::numeric_limits<std::int32_t>::max(),
            std::numeric_limits<std::int32_t>::max()}},
          ArrondiDuree);
}

TEST(Durees, AugmenteDuree) {
  Verifie({{"depuis_0", 0, 10},
           {"50s_vers_1min", 50, Min},
           {"1min_pas_de_15s", Min, Min + 15},
           {"3min50_vers_4min05", 3 * Min + 50, 4 * Min + 5},
           {"4min_pas_de_1min", 4 * Min, 5 * Min},
           {"10min_pas_de_1min", 10 * Min, 11 * Min},
           {"11min_pas_de_5min", 11 * Min, 16 * Min},
           {"30min_vers_35", 30 * Min, 35 * Min},
           {"31min_pas_de_10min", 31 * Min, 41 * Min},
           {"1h_pas_de_15min", H, H + 15 * Min},
           {"1h02min05_secondes_effacees", H + 2 * Min + 5, H + 17 * Min},
           {"negatif_comme_0", -5, 10},
           {"trop_grand_inchange", std::numeric_limits<std::int32_t>::max(),
            std::numeric_limits<std::int32_t>::max()}},
          AugmenteDuree);
}

TEST(Durees, DiminueDuree) {
  Verifie({{"5s_remonte_a_10s", 5, 10},
           {"10s_reste_10s", 10, 10},
           {"15s_vers_5s", 15, 5},
           {"20s_vers_10s", 20, 10},
           {"1min_emprunte_aux_minutes", Min, 45},
           {"3min_vers_2min45", 3 * Min, 2 * Min + 45},
           {"4min_pas_de_1min", 4 * Min + 20, 3 * Min},
           {"11min_pas_de_5min", 11 * Min, 6 * Min},
           {"31min_pas_de_10min", 31 * Min, 21 * Min},
           {"1h05_vers_50min", H + 5 * Min, 50 * Min},
           {"1h_vers_45min", H, 45 * Min},
           {"2h30_vers_2h15", 2 * H + 30 * Min + 10, 2 * H + 15 * Min},
           {"negatif_comme_0", -5, 10}},
          DiminueDuree);
}

// As the mode dialog uses them: a step, then the rounding. Up always goes up and
// down always goes down, to the 10 s floor.
TEST(Durees, PasPuisArrondiSontMonotones) {
  std::int32_t d = 10;
  std::vector<std::int32_t> montee{d};
  while (d < 24 * H) {
    const std::int32_t avant = d;
    AugmenteDuree(d);
    ArrondiDuree(d);
    ASSERT_GT(d, avant) << "depuis " << avant;
    montee.push_back(d);
  }
  while (d > 10) {
    const std::int32_t avant = d;
    DiminueDuree(d);
    ArrondiDuree(d);
    ASSERT_LT(d, avant) << "depuis " << avant;
    ASSERT_GE(d, 10);
  }
  DiminueDuree(d);
  ArrondiDuree(d);
  EXPECT_EQ(10, d);
  EXPECT_EQ(20, montee[1]);
  EXPECT_EQ(Min + 20, montee[6]);
}

TEST(Durees, SecondesEnHeure) {
  struct Ligne {
    const char* nom;
    std::int32_t secondes;
    double attendu;
  };
  const std::vector<Ligne> lignes = {
      {"zero", 0, 0},
      {"1h01min01", H + Min + 1, 3661.0 / 86400},
      {"midi", 12 * H, 0.5},
      {"24h_modulo_un_jour", 24 * H, 0},
      {"25h_modulo_un_jour", 25 * H, 1.0 / 24},
      {"negatif_ramene_dans_le_jour", -60, 86340.0 / 86400},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_DOUBLE_EQ(l.attendu, SecondesEnHeure(l.secondes));
  }
  const auto h = DecodeHeure(SecondesEnHeure(H + 2 * Min + 3));
  EXPECT_EQ(1, h.heure);
  EXPECT_EQ(2, h.minute);
  EXPECT_EQ(3, h.seconde);
  EXPECT_EQ(0, h.ms);
}

TEST(Durees, EcartEnSecondes) {
  const double depart = EncodeDateHeure(2024, 3, 1, 10, 0, 0, 0);
  struct Ligne {
    const char* nom;
    double a, b, attendu;
  };
  const std::vector<Ligne> lignes = {
      {"cinq_secondes_et_quart", EncodeDateHeure(2024, 3, 1, 10, 0, 5, 250), depart, 5.25},
      {"ordre_indifferent", depart, EncodeDateHeure(2024, 3, 1, 10, 0, 5, 250), 5.25},
      {"passage_de_minuit", EncodeDateHeure(2024, 3, 2, 0, 0, 1, 0), EncodeDateHeure(2024, 3, 1, 23, 59, 59, 0), 2},
      {"un_jour_de_plus_repart_de_zero", EncodeDateHeure(2024, 3, 2, 10, 0, 3, 0), depart, 3},
      {"arrondi_au_dessous", depart + 1.0004 / 86400, depart, 1.0},
      {"arrondi_au_dessus", depart + 1.0006 / 86400, depart, 1.001},
      {"heures_minutes", EncodeDateHeure(2024, 3, 1, 12, 30, 0, 0), depart, 2 * 3600 + 30 * 60},
      {"presque_un_jour", depart + 86399.9996 / 86400, depart, 0},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    EXPECT_DOUBLE_EQ(l.attendu, EcartEnSecondes(l.a, l.b));
  }
  EXPECT_TRUE(std::isnan(EcartEnSecondes(std::numeric_limits<double>::quiet_NaN(), depart)));
}

TEST(Durees, EncodeDateHeure) {
  EXPECT_EQ(0.0, EncodeDateHeure(1899, 12, 30, 0, 0, 0, 0));
  EXPECT_EQ(2.0, EncodeDateHeure(1900, 1, 1, 0, 0, 0, 0));
  EXPECT_EQ(25569.0, EncodeDateHeure(1970, 1, 1, 0, 0, 0, 0));
  EXPECT_EQ(36526.0, EncodeDateHeure(2000, 1, 1, 0, 0, 0, 0));
  EXPECT_EQ(45351.5, EncodeDateHeure(2024, 2, 29, 12, 0, 0, 0));
  EXPECT_EQ(45352.0, EncodeDateHeure(2024, 3, 1, 0, 0, 0, 0));
  EXPECT_EQ(-1.25, EncodeDateHeure(1899, 12, 29, 6, 0, 0, 0));
}

TEST(Durees, DecodeHeure) {
  struct Ligne {
    const char* nom;
    double dateHeure;
    THeureDecodee attendu;
  };
  const std::vector<Ligne> lignes = {
      {"millisecondes", EncodeDateHeure(2024, 3, 1, 13, 45, 7, 891), {13, 45, 7, 891}},
      {"minuit", EncodeDateHeure(2024, 3, 1, 0, 0, 0, 0), {0, 0, 0, 0}},
      {"avant_l_origine", -1.25, {6, 0, 0, 0}},
      {"arrondi_a_minuit_suivant", 45352.0 - 0.1 / 86400000, {0, 0, 0, 0}},
      {"derniere_milliseconde", EncodeDateHeure(2024, 3, 1, 23, 59, 59, 999), {23, 59, 59, 999}},
  };
  for (const auto& l : lignes) {
    SCOPED_TRACE(l.nom);
    const auto h = DecodeHeure(l.dateHeure);
    EXPECT_EQ(l.attendu.heure, h.heure);
    EXPECT_EQ(l.attendu.minute, h.minute);
    EXPECT_EQ(l.attendu.seconde, h.seconde);
    EXPECT_EQ(l.attendu.ms, h.ms);
  }
}

}  // namespace

TEST(LitDuree, HeuresMinutesSecondes) {
  struct Cas {
    const char* nom;
    const char* texte;
    std::optional<std::int32_t> attendu;
  };
  const Cas cas[] = {
      {"deux minutes", "00:02:00", 120},
      {"sans secondes", "1:30", 5400},
      {"blancs tolérés", " 0:00:08 ", 8},
      {"zéro", "0:00:00", 0},
      {"heures seules", "8", 28800},
      {"minutes hors bornes", "0:60:00", std::nullopt},
      {"un jour", "24:00:00", 86400},
      {"au-delà d'un jour", "34:08:00", 122880},
      {"au-delà de la borne", "278:00:00", std::nullopt},
      {"secondes hors bornes", "0:00:60", std::nullopt},
      {"lettre", "2 min", std::nullopt},
      {"vide", "", std::nullopt},
      {"champ vide", "1::00", std::nullopt},
      {"quatre champs", "1:00:00:00", std::nullopt},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    EXPECT_EQ(LitDuree(c.texte), c.attendu);
  }
}
