// The interface box's adapter over a stand-in library: presence, the preparation of
// the inputs, the reading with its conversion, the ramp without the box, and inputs
// the box lacks.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "instruments/appareil.h"
#include "links/bibliotheques_factices.h"
#include "links/sysam.h"
#include "platform/simule/boucle_simulee.h"

namespace {
using Appels = std::vector<std::string>;

// A definition reading input `numero` of the box.
struct Entree : Tappareil {
  explicit Entree(int numero, Tcalibre calibre = c10V, bool differentiel = false) {
    isSysam = true;
    indiceVoieSysam = static_cast<TindiceVoie>(numero);
    calibreSysam = calibre;
    differentielSysam = differentiel;
  }
};

class Sysam : public ::testing::Test {
protected:
  Sysam() { factice::Remet(); }
  ~Sysam() override { factice::Remet(); }
  std::unique_ptr<TBoitierSysam> Cree(std::map<std::string, void*> symboles = factice::SymbolesBoitier()) {
    bibliotheques.Enregistre(NomBibliothequeBoitier, std::move(symboles));
    return std::make_unique<TBoitierSysam>(bibliotheques.Charge(NomBibliothequeBoitier), horloge);
  }
  // The calls after the preparation's reset of every input.
  static Appels Preparation(const Appels& a) { return Appels(a.begin() + 12, a.end()); }
  TBibliothequesSimulees bibliotheques;
  TBoucleSimulee horloge;
};

TEST_F(Sysam, ReinitialiseAuDebutLibereALaFin) {
  auto b = Cree();
  EXPECT_EQ(factice::boitier.appels, Appels{"Reinitialisation"});
  b.reset();
  EXPECT_EQ(factice::boitier.appels, (Appels{"Reinitialisation", "FinUtilisation"}));
  factice::boitier = {};
  factice::boitier.present = false;
  Cree().reset();
  EXPECT_TRUE(factice::boitier.appels.empty());
}

TEST_F(Sysam, ValeurEnVoltsAvecA0B1PuisConversion) {
  auto b = Cree();
  Entree a(1);
  factice::boitier.brut = 2500;
  EXPECT_DOUBLE_EQ(b->GetValeurSysam(a), 2.5);
  a.aSysam = 1;
  a.bSysam = 4;
  EXPECT_DOUBLE_EQ(b->GetValeurSysam(a), 11.0);
  a.NumeroCalibreApp = 2;
  a.coeffCalibreApp[2] = 10;
  EXPECT_DOUBLE_EQ(b->GetValeurSysam(a), 110.0);
}

TEST_F(Sysam, PreparationDesEntrees) {
  auto b = Cree();
  Entree premier(3, c1V), second(3, c200mV), diff(2, c5V, true);
  Tappareil serie;  // not a box input: left alone
  factice::boitier.appels.clear();
  b->InitBoitier({&premier, &serie, &second, &diff});
  const Appels& a = factice::boitier.appels;
  ASSERT_EQ(a.size(), 12u + 2 + 2 + 3);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(a[static_cast<std::size_t>(i)], "Desactive(" + std::to_string(i) + ")");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(a[static_cast<std::size_t>(8 + i)], "ModeDiff(" + std::to_string(i) + ",0)");
  // Two channels on one input: prepared twice, the later channel's range in force;
  // the differential channel on EA2 makes only the pair EA2-EA6 differential.
  EXPECT_EQ(Preparation(a), (Appels{"Calibre(3,2)", "Active(3)", "Calibre(3,3)", "Active(3)", "Calibre(2,1)",
                                    "Active(2)", "ModeDiff(2,1)"}));
}

TEST_F(Sysam, RampeSansLeBoitier) {
  factice::boitier.present = false;
  auto b = Cree();
  Entree a(0);
  a.ValMini = 0;
  a.ValMaxi = 14;
  b->InitBoitier({&a});
  EXPECT_DOUBLE_EQ(b->GetValeurSysam(a), 0);
  horloge.Avance(30000);
  EXPECT_DOUBLE_EQ(b->GetValeurSysam(a), 7);
  horloge.Avance(29000);
  EXPECT_NEAR(b->GetValeurSysam(a), 13.77, 0.005);
  horloge.Avance(1000);  // a minute: from the bottom again
  EXPECT_DOUBLE_EQ(b->GetValeurSysam(a), 0);
  EXPECT_TRUE(factice::boitier.appels.empty());
}

TEST_F(Sysam, EntreeAbsenteDuBoitierJamaisPasseeALaBibliotheque) {
  auto b = Cree();
  Entree neuf(9), diff5(5, c10V, true), negative(255);
  factice::boitier.appels.clear();
  b->InitBoitier({&neuf, &diff5, &negative});
  EXPECT_EQ(factice::boitier.appels.size(), 12u);  // the reset only
  for (Entree* a : {&neuf, &diff5, &negative}) EXPECT_TRUE(std::isnan(b->GetValeurSysam(*a)));
  EXPECT_EQ(factice::boitier.appels.size(), 12u);
  factice::boitier.present = false;  // nor read as a ramp without the box
  EXPECT_TRUE(std::isnan(b->GetValeurSysam(neuf)));
}

TEST_F(Sysam, PointDEntreeManquantBibliothequeNonChargee) {
  auto symboles = factice::SymbolesBoitier();
  symboles.erase("SP5_Ux");
  auto b = Cree(symboles);
  EXPECT_FALSE(b->DllSysamChargee());
  EXPECT_FALSE(b->BoitierPresent());
  Entree a(0);
  a.ValMaxi = 6;
  b->InitBoitier({&a});
  horloge.Avance(10000);
  EXPECT_DOUBLE_EQ(b->GetValeurSysam(a), 1);  // the ramp
  EXPECT_TRUE(factice::boitier.appels.empty());
  TBoitierSysam absent(nullptr, horloge);
  EXPECT_FALSE(absent.BoitierPresent());
}
}  // namespace
