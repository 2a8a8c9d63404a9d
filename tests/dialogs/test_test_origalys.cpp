// The USB test window's rules over the stand-in of the meters' library: identifier
// and path, a measurement with its value line, a free text, and a meter that is
// absent or not connected.
#include <gtest/gtest.h>

#include <cmath>

#include "dialogs/test_origalys.h"
#include "instruments/appareil.h"
#include "links/bibliotheques_factices.h"
#include "links/origalys.h"
#include "platform/simule/dialogue_scripte.h"
#include "platform/simule/services_simules.h"

namespace {
class TestOrigalys : public ::testing::Test {
protected:
  TestOrigalys() {
    factice::Remet();
    factice::usb.metres = {{600, "/dev/p", true, {{"?measure pH", "7.02 pH"}, {"IDN?", "OPH218 v1"}, {"?measure x", "5.0 % mV"}}},
                           {600, "/dev/q", false}};
    bibliotheques.Enregistre(NomBibliothequeUSB, factice::SymbolesUSB());
    liste = std::make_unique<TOrigalys>(bibliotheques.Charge(NomBibliothequeUSB), dialogue);
    liste->Init();
    dialogue.VideJournal();
    a.NomAppareil = "OPH218 USB (pH)";
    a.isOrigalys = true;
    a.identOrigalys = 600;
    a.pathOrigalys = "/dev/p";
    a.Demande = "?measure pH";
    a.SymboleGrandeur = "pH";
    a.UniteGrandeur = "";
    a.Precision = 3;
  }
  ~TestOrigalys() override {
    liste.reset();
    factice::Remet();
  }
  TBibliothequesSimulees bibliotheques;
  TDialogueScripte dialogue;
  std::unique_ptr<TOrigalys> liste;
  Tappareil a;
};
}  // namespace

TEST_F(TestOrigalys, MesureEtTexteLibre) {
  TTestOrigalysDlg d(liste.get());
  d.Appareil = &a;
  std::vector<std::string> vues;
  d.SurLigne = [&](const std::string& l) { vues.push_back(l); };
  d.FormActivate();
  EXPECT_EQ(d.MemoTest, (std::vector<std::string>{"Identificateur : 600", "Path : /dev/p"}));
  EXPECT_TRUE(d.MesureBtnEnabled);
  EXPECT_EQ(a.appareilOrigalys, liste->Appareil[0].get());

  d.MesureBtnClick();
  EXPECT_DOUBLE_EQ(a.ValeurCourante, 7.02);
  ASSERT_EQ(d.MemoTest.size(), 5u);
  EXPECT_EQ(d.MemoTest[2], "Envoi : ?measure pH");
  EXPECT_EQ(d.MemoTest[3], "Réponse : $7.02 pH$");
  EXPECT_EQ(d.MemoTest[4], a.NomValeurUniteCourante());
  EXPECT_TRUE(d.MesureBtnEnabled);
  EXPECT_TRUE(d.EnvoiBtnEnabled);

  d.Edit1 = "IDN?";
  d.EnvoiBtnClick();
  EXPECT_EQ(d.MemoTest.back(), "Réponse : $OPH218 v1$");
  EXPECT_DOUBLE_EQ(a.ValeurCourante, 7.02);  // no measurement
  EXPECT_EQ(vues, d.MemoTest);

  // '%' does not start a unit here: the prefix is the 'm' of mV.
  a.Demande = "?measure x";
  d.MesureBtnClick();
  EXPECT_DOUBLE_EQ(a.ValeurCourante, 0.005);
  EXPECT_DOUBLE_EQ(ValeurReponseOrigalys("5.0 % mV"), 5.0);
  EXPECT_TRUE(dialogue.Messages().empty());

  // Shown again: the log starts over.
  d.FormActivate();
  EXPECT_EQ(d.MemoTest.size(), 2u);
}

TEST_F(TestOrigalys, MetreNonConnecteAbsentOuSansBibliotheque) {
  struct Cas {
    const char* nom;
    const char* chemin;
    bool bibliotheque;
    std::vector<std::string> messages;
  };
  const Cas cas[] = {
      {"non connecté", "/dev/q", true, {}},
      {"absent", "/dev/z", true, {"Appareil 600 ; /dev/z non trouvé"}},
      {"sans bibliothèque", "/dev/p", false, {}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    dialogue.VideJournal();
    a.pathOrigalys = c.chemin;
    a.ValeurCourante = 1;
    TTestOrigalysDlg d(c.bibliotheque ? liste.get() : nullptr);
    d.Appareil = &a;
    d.FormActivate();
    EXPECT_FALSE(d.MesureBtnEnabled);
    EXPECT_EQ(d.MemoTest.back(), std::string("Path : ") + c.chemin);
    EXPECT_EQ(dialogue.Messages(), c.messages);
    const int envois = factice::usb.envois;
    d.Edit1 = "IDN?";
    d.EnvoiBtnClick();
    EXPECT_EQ(d.MemoTest.back(), "Réponse : $$");
    EXPECT_EQ(factice::usb.envois, envois);  // the library is not called
    EXPECT_FALSE(d.MesureBtnEnabled);
    EXPECT_TRUE(d.EnvoiBtnEnabled);
    EXPECT_DOUBLE_EQ(a.ValeurCourante, 1);
  }
}
