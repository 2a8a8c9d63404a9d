// The simulated loop: time moves only when asked, and events run in a defined order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/simule/boucle_simulee.h"

TEST(BoucleSimulee, LeTempsNeBougeQueSurDemande) {
  TBoucleSimulee boucle(46000.0);
  EXPECT_EQ(boucle.Millisecondes(), 0);
  boucle.TraiteEnAttente();
  EXPECT_EQ(boucle.Millisecondes(), 0);
  boucle.Avance(86400000 / 2);
  EXPECT_DOUBLE_EQ(boucle.DateHeure(), 46000.5);
}

TEST(BoucleSimulee, MinuteriesDansLOrdreDuTemps) {
  TBoucleSimulee boucle;
  std::vector<std::string> trace;
  auto a = boucle.CreeMinuterie();
  auto b = boucle.CreeMinuterie();
  a->SetIntervalle(300);
  a->SetRappel([&] { trace.push_back("a@" + std::to_string(boucle.Millisecondes())); });
  b->SetIntervalle(200);
  b->SetRappel([&] { trace.push_back("b@" + std::to_string(boucle.Millisecondes())); });
  a->SetActif(true);
  b->SetActif(true);
  boucle.Avance(650);
  // At 600 both are due: the one armed first (a at 300, re-armed at 300) was
  // scheduled before b's re-arming at 400, so it runs first.
  EXPECT_EQ(trace, (std::vector<std::string>{"b@200", "a@300", "b@400", "a@600", "b@600"}));
  a->SetActif(false);
  trace.clear();
  boucle.Avance(400);
  EXPECT_EQ(trace, (std::vector<std::string>{"b@800", "b@1000"}));
}

TEST(BoucleSimulee, MinuterieArreteeDansSonRappel) {
  TBoucleSimulee boucle;
  auto m = boucle.CreeMinuterie();
  int tics = 0;
  m->SetIntervalle(100);
  m->SetRappel([&] {
    if (++tics == 2) m->SetActif(false);
  });
  m->SetActif(true);
  boucle.Avance(1000);
  EXPECT_EQ(tics, 2);
  EXPECT_FALSE(m->Actif());
  EXPECT_EQ(boucle.EvenementsPrevus(), 0u);
}

TEST(BoucleSimulee, MessagePosteTraiteApresLeGestionnaireCourant) {
  TBoucleSimulee boucle;
  std::vector<std::string> trace;
  auto m = boucle.CreeMinuterie();
  m->SetIntervalle(10);
  m->SetRappel([&] {
    m->SetActif(false);
    trace.push_back("debut");
    boucle.Poste([&] { trace.push_back("poste"); });
    trace.push_back("fin");
  });
  m->SetActif(true);
  boucle.Avance(10);
  EXPECT_EQ(trace, (std::vector<std::string>{"debut", "fin", "poste"}));
}

TEST(BoucleSimulee, AttenteImbriqueeQuiDistribueUneMinuterie) {
  TBoucleSimulee boucle;
  std::vector<std::string> trace;
  auto tic = boucle.CreeMinuterie();
  tic->SetIntervalle(55);
  tic->SetRappel([&] { trace.push_back("tic@" + std::to_string(boucle.Millisecondes())); });
  tic->SetActif(true);
  // A handler that waits 200 ms while dispatching, as the tick wait does.
  boucle.Planifie(10, [&] {
    trace.push_back("attente");
    const auto fin = boucle.Millisecondes() + 200;
    while (boucle.Millisecondes() < fin) boucle.TraiteEvenements(static_cast<int>(fin - boucle.Millisecondes()));
    trace.push_back("fin@" + std::to_string(boucle.Millisecondes()));
  });
  boucle.Avance(20);
  EXPECT_EQ(trace, (std::vector<std::string>{"attente", "tic@55", "tic@110", "tic@165", "fin@210"}));
  EXPECT_EQ(boucle.Millisecondes(), 210);  // the nested wait moved time past the outer target
}

TEST(BoucleSimulee, TraiteEvenementsAttendAuPlusLeDelai) {
  TBoucleSimulee boucle;
  boucle.TraiteEvenements(0);
  EXPECT_EQ(boucle.Millisecondes(), 0);
  boucle.TraiteEvenements(500);  // nothing scheduled: the whole delay passes
  EXPECT_EQ(boucle.Millisecondes(), 500);
  bool arrive = false;
  boucle.Planifie(620, [&] { arrive = true; });
  boucle.TraiteEvenements(500);  // returns at the first event
  EXPECT_TRUE(arrive);
  EXPECT_EQ(boucle.Millisecondes(), 620);
}

TEST(BoucleSimulee, EvenementAnnuleNeSeProduitPas) {
  TBoucleSimulee boucle;
  int n = 0;
  auto id = boucle.Planifie(100, [&] { ++n; });
  boucle.Planifie(100, [&] { n += 10; });
  boucle.Annule(id);
  boucle.Avance(100);
  EXPECT_EQ(n, 10);
}
