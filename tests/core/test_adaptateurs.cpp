// The engine with the adapters over the two vendor libraries (in-process stand-ins):
// a USB meter, a box input and a serial instrument read in one cycle, a definition's
// meter found again after each enumeration, and a library left unloaded.
#include <cmath>

#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/adaptateurs_bibliotheques.h"
#include "core/banc_moteur.h"
#include "links/bibliotheques_factices.h"

namespace {
class Adaptateurs : public TBancMoteur {
protected:
  Adaptateurs() { factice::Remet(); }
  ~Adaptateurs() override {
    moteur.reset();
    adaptateurs.reset();
    factice::Remet();
  }
  void Charge(bool usb = true, bool boitier = true) {
    if (usb) p.bibliotheques.Enregistre(NomBibliothequeUSB, factice::SymbolesUSB());
    if (boitier) p.bibliotheques.Enregistre(NomBibliothequeBoitier, factice::SymbolesBoitier());
    adaptateurs = ChargeAdaptateurs(p.Plateforme());
    moteur = std::make_unique<TCinetiqueMain>(p.Plateforme(), base, table, adaptateurs.get());
    moteur->FormCreate();
  }
  Tappareil& Entree(const std::string& nom, int numero) {
    Tappareil& a = Modele(nom);
    a.isSysam = true;
    a.indiceVoieSysam = static_cast<TindiceVoie>(numero);
    a.nomGrandeur = "tension";
    a.ValMini = -10;
    a.ValMaxi = 10;
    return a;
  }
  void Cycle() {
    moteur->TimerTimer();
    p.boucle.Avance(300);
  }
  std::unique_ptr<TAdaptateursBibliotheques> adaptateurs;
};

TEST_F(Adaptateurs, MetreUSBBoitierEtInstrumentSerieLusEnUnCycle) {
  factice::usb.metres = {{600, "/dev/hidraw0", true, {{"?measure pH", "7.02 pH"}}}};
  factice::boitier.brut = 1234;
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(4.5)));
  ModelePh("serie", 3);
  Entree("EA1", 1);
  Charge();
  Voies({"OPH218 USB (pH)", "EA1", "serie"});
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(moteur->Voie(i)->VoieSerieOK) << i;
  // Taken from the selection dialog without a path: the connected meter of its kind.
  EXPECT_EQ(base.AppareilPH->pathOrigalys, "/dev/hidraw0");
  Cycle();
  EXPECT_DOUBLE_EQ(moteur->Voie(0)->ValeurCourante, 7.02);
  EXPECT_DOUBLE_EQ(moteur->Voie(1)->ValeurCourante, 1.234);
  EXPECT_DOUBLE_EQ(moteur->Voie(2)->ValeurCourante, 4.5);
  EXPECT_NE(std::find(factice::boitier.appels.begin(), factice::boitier.appels.end(), "Active(1)"),
            factice::boitier.appels.end());
}

TEST_F(Adaptateurs, LeMetreDUneDefinitionRetrouveApresChaqueEnumeration) {
  factice::usb.metres = {{601, "/dev/c", true, {{"?measure Cd", "1.413 mS/cm"}}}};
  Charge();
  moteur->FormActivate();  // detection: the conductimeter on channel 0
  ASSERT_EQ(moteur->NbreVoies(), 1);
  Tappareil& C = *moteur->Voie(0);
  EXPECT_EQ(C.pathOrigalys, "/dev/c");
  EXPECT_NE(&C, base.AppareilConductivite);  // that meter's own copy
  Cycle();
  EXPECT_DOUBLE_EQ(C.ValeurCourante, 0.001413);
  // Enumerated again: the meter objects are new, the definition's old one is gone.
  adaptateurs->EnumereUSB();
  EXPECT_EQ(C.appareilOrigalys, nullptr);  // cleared, then found again by identifier and path
  EXPECT_DOUBLE_EQ(adaptateurs->ValeurUSB(C), 0.001413);
  EXPECT_NE(C.appareilOrigalys, nullptr);
  // The meter unplugged: no value, and no call through a freed object.
  factice::usb.metres.clear();
  adaptateurs->EnumereUSB();
  EXPECT_TRUE(std::isnan(adaptateurs->ValeurUSB(C)));
  EXPECT_EQ(C.appareilOrigalys, nullptr);
  EXPECT_FALSE(adaptateurs->LieUSB(C));
}

TEST_F(Adaptateurs, DeuxMetresDUneSorteChacunSaVoie) {
  factice::usb.metres = {{601, "/dev/c1", true, {{"?measure Cd", "1 mS/cm"}}},
                         {601, "/dev/c2", true, {{"?measure Cd", "2 mS/cm"}}}};
  p.dialogue.ReponsePermanente(true);
  Charge();
  moteur->FormActivate();
  ASSERT_EQ(moteur->NbreVoies(), 2);
  EXPECT_NE(moteur->Voie(0), moteur->Voie(1));
  Cycle();
  EXPECT_DOUBLE_EQ(moteur->Voie(0)->ValeurCourante, 0.001);
  EXPECT_DOUBLE_EQ(moteur->Voie(1)->ValeurCourante, 0.002);
  // Detected again later: each meter finds its own copy again.
  Tappareil* premier = moteur->Voie(0);
  EXPECT_EQ(adaptateurs->DefinitionMetre(*base.AppareilConductivite, {601, "/dev/c1", true}), premier);
}

TEST_F(Adaptateurs, BibliothequeIncompleteCommeAbsente) {
  auto usb = factice::SymbolesUSB();
  usb.erase("FindTheHIDDll");
  auto boitier = factice::SymbolesBoitier();
  boitier.erase("SP5_Presente");
  p.bibliotheques.Enregistre(NomBibliothequeUSB, usb);
  p.bibliotheques.Enregistre(NomBibliothequeBoitier, boitier);
  factice::usb.metres = {{600, "/dev/hidraw0", true}};
  adaptateurs = ChargeAdaptateurs(p.Plateforme());
  EXPECT_FALSE(adaptateurs->UsbCharge());
  EXPECT_FALSE(adaptateurs->BoitierCharge());
  moteur = std::make_unique<TCinetiqueMain>(p.Plateforme(), base, table, adaptateurs.get());
  moteur->FormCreate();
  moteur->FormActivate();
  EXPECT_EQ(moteur->NbreVoies(), 0);
  Entree("EA0", 0);
  Voies({"OPH218 USB (pH)", "EA0"});
  EXPECT_FALSE(moteur->Voie(0)->VoieSerieOK);
  EXPECT_FALSE(moteur->Voie(1)->VoieSerieOK);
  EXPECT_EQ(factice::usb.ouvertures, 0);
  EXPECT_TRUE(factice::boitier.appels.empty());
}
}  // namespace
