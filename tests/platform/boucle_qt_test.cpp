// The Qt loop: timers, posted messages and the bounded wait on a real event loop.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>

#include "platform/qt/boucle_qt.h"
#include "util/durees.h"

namespace {
int argc = 1;
char nom[] = "test";
char* argv[] = {nom, nullptr};
QCoreApplication* app() {
  static QCoreApplication* a = new QCoreApplication(argc, argv);
  return a;
}
}  // namespace

TEST(BoucleQt, MinuterieEtMessagePoste) {
  app();
  TBoucleQt boucle;
  auto m = boucle.CreeMinuterie();
  int tics = 0;
  bool poste = false;
  m->SetIntervalle(20);
  m->SetRappel([&] {
    if (++tics == 3) {
      m->SetActif(false);
      boucle.Poste([&] { poste = true; });
    }
  });
  m->SetActif(true);
  const auto debut = boucle.Millisecondes();
  while (!poste && boucle.Millisecondes() - debut < 5000) boucle.TraiteEvenements(100);
  EXPECT_EQ(tics, 3);
  EXPECT_TRUE(poste);
}

TEST(BoucleQt, AttenteBorneeSansEvenement) {
  app();
  TBoucleQt boucle;
  const auto debut = boucle.Millisecondes();
  boucle.TraiteEvenements(50);
  const auto ecoule = boucle.Millisecondes() - debut;
  EXPECT_LT(ecoule, 2000);  // returns after its bound, not never
}

// The local date and time, as the system's clock and zone give them.
TEST(BoucleQt, DateHeureLocale) {
  app();
  TBoucleQt boucle;
  const QDateTime q = QDateTime::currentDateTime();
  const double attendu = EncodeDateHeure(q.date().year(), q.date().month(), q.date().day(), q.time().hour(),
                                         q.time().minute(), q.time().second(), q.time().msec());
  EXPECT_NEAR(boucle.DateHeure(), attendu, 2.0 / 86400.0);
}

TEST(BoucleQt, AttenteSansBorneJusquAUnEvenement) {
  app();
  TBoucleQt boucle;
  // A posted message is something that happened: the wait returns after running it.
  bool poste = false;
  boucle.Poste([&] { poste = true; });
  boucle.AttendEvenement();
  EXPECT_TRUE(poste);
  // Then it sleeps until the timer's tick, with no wake-up of its own to bound it.
  auto m = boucle.CreeMinuterie();
  int tics = 0;
  m->SetIntervalle(10);
  m->SetRappel([&] {
    ++tics;
    m->SetActif(false);
  });
  m->SetActif(true);
  while (tics == 0) boucle.AttendEvenement();
  EXPECT_EQ(tics, 1);
}
