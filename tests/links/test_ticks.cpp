// Tick timers and the dispatching wait, on the simulated clock.
#include <gtest/gtest.h>

#include "links/ticks.h"
#include "platform/simule/boucle_simulee.h"

namespace {
struct CasAttente {
  const char* nom;
  std::int64_t depart;    // clock at the start of the wait
  int attenteMs;          // an instrument's waiting time, made into ticks by div 55
  std::int64_t duree;     // how long the wait lasts
};
void PrintTo(const CasAttente& c, std::ostream* os) { *os << c.nom; }


class AttenteEnTicks : public testing::TestWithParam<CasAttente> {};

TEST_P(AttenteEnTicks, Duree) {
  const CasAttente& c = GetParam();
  TBoucleSimulee boucle;
  boucle.FixeMaintenant(c.depart);
  AttenteTicks(boucle, c.attenteMs / MillisecondesParTick);
  EXPECT_EQ(boucle.Millisecondes() - c.depart, c.duree);
}

// A timer of n ticks expires once the count is past start + n: between n and n + 1
// ticks after the start, depending on where in its tick the wait began.
INSTANTIATE_TEST_SUITE_P(
    Cas, AttenteEnTicks,
    // Just below 2^32 the start lies 36 and 25 ms into its tick.
    testing::Values(CasAttente{"zero", 0, 0, 0}, CasAttente{"54_ms_aucune_attente", 0, 54, 0},
                    CasAttente{"110_ms_debut_de_tick", 0, 110, 165},
                    CasAttente{"110_ms_fin_de_tick", 54, 110, 111},
                    CasAttente{"110_ms_milieu", 30, 110, 135},
                    // 2^32 ms: where a 32-bit millisecond counter wraps.
                    CasAttente{"a_cheval_sur_2p32", 4294967296LL - 100, 550, 11 * 55 - 36},
                    CasAttente{"juste_avant_2p32", 4294967296LL - 1, 110, 3 * 55 - 25}),
    [](const testing::TestParamInfo<CasAttente>& i) { return std::string(i.param.nom); });

TEST(Tempo, ExpireEntreNEtNPlusUnTicks) {
  TBoucleSimulee boucle;
  boucle.FixeMaintenant(4294967296LL - 30);
  TTempo t;
  DemarreTempo(boucle, t, 4);
  EXPECT_EQ(t.expiration - t.debut, 4);
  const std::int64_t fin = (t.expiration + 1) * MillisecondesParTick;
  boucle.Avance(fin - 1 - boucle.Millisecondes());
  EXPECT_FALSE(TempoEcoulee(boucle, t));
  boucle.Avance(1);
  EXPECT_TRUE(TempoEcoulee(boucle, t));
}

TEST(Tempo, DureeBornee) {
  TBoucleSimulee boucle;
  TTempo t;
  DemarreTempo(boucle, t, 1LL << 40);
  EXPECT_EQ(t.expiration - t.debut, TicksMaxi);
  DemarreTempo(boucle, t, -3);
  EXPECT_TRUE(TempoEcoulee(boucle, t) || t.expiration < t.debut);
}

TEST(AttenteTicks, TraiteLesEvenementsPendantLAttente) {
  TBoucleSimulee boucle;
  auto minuterie = boucle.CreeMinuterie();
  int tics = 0;
  minuterie->SetIntervalle(20);
  minuterie->SetRappel([&] { ++tics; });
  minuterie->SetActif(true);
  bool poste = false;
  boucle.Poste([&] { poste = true; });
  AttenteTicks(boucle, 4);  // 4 to 5 ticks: 275 ms from 0
  EXPECT_TRUE(poste);
  EXPECT_EQ(tics, 275 / 20);
}

TEST(AttenteTicks, DemandeDeQuitterAbregeSansSePerdre) {
  TBoucleSimulee boucle;
  boucle.Planifie(100, [&] { boucle.DemandeQuitter(); });
  AttenteTicks(boucle, 1000);
  EXPECT_EQ(boucle.Millisecondes(), 100);
  EXPECT_TRUE(boucle.QuitteDemande());
}
}  // namespace
