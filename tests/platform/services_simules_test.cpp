// In-memory settings, locks and the fixed regional settings of the simulated platform.
#include <gtest/gtest.h>

#include "platform/simule/services_simules.h"
#include "util/durees.h"

TEST(ReglagesMemoire, NomsSansCasseEtValeursTypees) {
  TReglagesMemoire r;
  r.EcritEntier("Software\\RS232", "IndexTrace", 7);
  EXPECT_EQ(r.LitEntier("SOFTWARE\\rs232", "indextrace", 0), 7);
  EXPECT_EQ(r.LitEntier("Software\\RS232", "Absent", 3), 3);
  r.Ecrit("Software\\RS232", "Texte", "pas un nombre");
  EXPECT_EQ(r.LitEntier("Software\\RS232", "Texte", 4), 4);
  EXPECT_EQ(r.Noms("software\\rs232"), (std::vector<std::string>{"IndexTrace", "Texte"}));
  r.Supprime("Software\\RS232", "texte");
  EXPECT_FALSE(r.Lit("Software\\RS232", "Texte"));
}

TEST(VerrousMemoire, UnSeulDetenteur) {
  TVerrousMemoire v;
  auto a = v.Prend("TRASERIE");
  ASSERT_TRUE(a);
  EXPECT_TRUE(v.Existe("TRASERIE"));
  EXPECT_FALSE(v.Prend("TRASERIE"));
  a.reset();
  EXPECT_FALSE(v.Existe("TRASERIE"));
}

TEST(RegionalFixe, DateEtHeure) {
  TRegionalFixe r;
  const double d = EncodeDateHeure(2026, 12, 10, 14, 5, 9, 0);
  EXPECT_EQ(r.DateCourte(d), "10/12/2026");
  EXPECT_EQ(r.HeureLongue(d), "14:05:09");
}
