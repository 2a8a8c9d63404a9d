// The quantity choice of a USB pH meter: its rules with the engine's detection, two
// meters of one kind on two channels, and the selection dialog offering the vendor
// libraries' definitions only for what is there.
#include <algorithm>
#include <cmath>

#include "core/adaptateurs_bibliotheques.h"
#include "core/banc_moteur.h"
#include "dialogs/choix_app.h"
#include "dialogs/choix_grandeur.h"
#include "links/bibliotheques_factices.h"

namespace {
class ChoixGrandeur : public TBancMoteur {
protected:
  ChoixGrandeur() {
    factice::Remet();
    p.bibliotheques.Enregistre(NomBibliothequeUSB, factice::SymbolesUSB());
    p.bibliotheques.Enregistre(NomBibliothequeBoitier, factice::SymbolesBoitier());
  }
  ~ChoixGrandeur() override {
    moteur.reset();
    adaptateurs.reset();
    factice::Remet();
  }
  void Charge() {
    adaptateurs = ChargeAdaptateurs(p.Plateforme());
    moteur = std::make_unique<TCinetiqueMain>(p.Plateforme(), base, table, adaptateurs.get());
    moteur->FormCreate();
    choix = std::make_unique<TChoixGrandeurDlg>(*moteur, *adaptateurs);
  }
  std::unique_ptr<TAdaptateursBibliotheques> adaptateurs;
  std::unique_ptr<TChoixGrandeurDlg> choix;
};

TEST_F(ChoixGrandeur, PhOuPotentielSurLaVoie) {
  factice::usb.metres = {{600, "/dev/p", true, {{"?measure pH", "6.86 pH"}, {"?measure mV", "-123.4 mV"}}}};
  Charge();
  adaptateurs->EnumereUSB();
  choix->Prepare({600, "/dev/p", true}, 2);
  choix->pHBtnClick();
  Tappareil* ph = moteur->AppareilAcq[2];
  ASSERT_NE(ph, nullptr);
  EXPECT_EQ(ph, choix->Choisi);
  EXPECT_EQ(ph->NomAppareil, "OPH218 USB (pH)");
  EXPECT_EQ(ph->pathOrigalys, "/dev/p");
  EXPECT_NE(ph->appareilOrigalys, nullptr);
  EXPECT_EQ(p.dialogue.Messages().back(), "Ajout pHmètre OPH218");
  choix->Prepare({600, "/dev/p", true}, 2);
  choix->tensionBtnClick();
  EXPECT_EQ(moteur->AppareilAcq[2]->NomAppareil, "OPH218 USB (mV)");
  EXPECT_EQ(p.dialogue.Messages().back(), "Ajout voltmètre OPH218");
  EXPECT_DOUBLE_EQ(adaptateurs->ValeurUSB(*moteur->AppareilAcq[2]), -0.1234);
}

TEST_F(ChoixGrandeur, DeuxPhMetresChoisisEnPhGardentChacunLeurMetre) {
  factice::usb.metres = {{600, "/dev/p1", true, {{"?measure pH", "4.01 pH"}}},
                         {600, "/dev/p2", true, {{"?measure pH", "9.18 pH"}}}};
  Charge();
  moteur->Dialogues.ChoixGrandeurUSB = [this](const TMetreUSB& m, int voie) {
    choix->Prepare(m, voie);
    choix->pHBtnClick();
    return choix->Choisi;
  };
  moteur->FormActivate();
  ASSERT_EQ(moteur->NbreVoies(), 2);
  EXPECT_NE(moteur->Voie(0), moteur->Voie(1));
  moteur->TimerTimer();
  p.boucle.Avance(300);
  EXPECT_DOUBLE_EQ(moteur->Voie(0)->ValeurCourante, 4.01);
  EXPECT_DOUBLE_EQ(moteur->Voie(1)->ValeurCourante, 9.18);
}

TEST_F(ChoixGrandeur, FermeSansChoixLaVoieGardeSaDefinition) {
  factice::usb.metres = {{600, "/dev/p", true}};
  Charge();
  Tappareil& avant = ModelePh("avant", 3);
  moteur->AppareilAcq[0] = &avant;
  moteur->Dialogues.ChoixGrandeurUSB = [](const TMetreUSB&, int) -> Tappareil* { return nullptr; };
  moteur->FormActivate();
  EXPECT_EQ(moteur->Voie(0), &avant);
}

TEST_F(ChoixGrandeur, LeChoixDesAppareilsOffreCeQuiEstBranche) {
  factice::usb.metres = {{601, "/dev/c", true}, {600, "/dev/p", false}};
  Tappareil& ea = Modele("Boîtier EA0");
  ea.isSysam = true;
  ea.nomGrandeur = "pH";
  Charge();
  adaptateurs->EnumereUSB();
  p.dialogue.VideJournal();
  TChoixAppDlg d(*moteur, adaptateurs.get());
  auto offerts = [&](const std::string& grandeur) {
    auto& g = base.ListeGrandeurs;
    if (std::find(g.begin(), g.end(), grandeur) == g.end()) g.push_back(grandeur);
    d.FormActivate();
    const auto k = std::find(d.GrandeurItems.begin(), d.GrandeurItems.end(), grandeur) - d.GrandeurItems.begin();
    d.GrandeurComboChange(static_cast<int>(k));
    return d.ListeAppareilItems;
  };
  auto contient = [](const std::vector<std::string>& v, const std::string& n) {
    return std::find(v.begin(), v.end(), n) != v.end();
  };
  EXPECT_TRUE(contient(offerts("conductivité"), "OCD218 USB (C)"));
  EXPECT_FALSE(contient(offerts("pH"), "OPH218 USB (pH)"));  // reported, not connected
  EXPECT_TRUE(contient(offerts("pH"), "Boîtier EA0"));
  factice::boitier.present = false;
  EXPECT_FALSE(contient(offerts("pH"), "Boîtier EA0"));
  // Listing asks the library for nothing new: no second "non connecté".
  EXPECT_TRUE(p.dialogue.Messages().empty());
}
}  // namespace
