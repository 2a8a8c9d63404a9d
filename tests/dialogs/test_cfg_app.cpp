// The channel configuration dialog's rules, on the simulated platform: the filling
// from the channel's instrument, OK with the port question, the calibres of an
// interface-box input, a USB meter, the strings sent, and the main window's click.
#include <cmath>

#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/adaptateurs_bibliotheques.h"
#include "core/banc_moteur.h"
#include "dialogs/cfg_app.h"
#include "links/bibliotheques_factices.h"
#include "util/regional_courant.h"

namespace {
class CfgApp : public TBancMoteur {
protected:
  void SetUp() override {
    ligne3 = &Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
    PortMuet(4);
    Tappareil& a = ModelePh("pH essai", 3);
    a.AidePilotage[1] = "PH? : le pH";
    a.AidePilotage[3] = "TM? : la température";
    a.ChaineInit = "INIT\r";
    a.InitialisationAfaire = true;
    a.Precision = 3;
    a.ValMaxi = 12.5;
    Demarre();
    moteur->TraceCB = false;
    Voies({"pH essai"});
    dlg = std::make_unique<TCfgAppDlg>(*moteur);
    dlg->voieApp = 0;
  }
  std::string Decimal(const char* texte) const {
    std::string t = texte;
    for (char& c : t)
      if (c == '.') c = SeparateurDecimal();
    return t;
  }
  TPhMetre* ligne3 = nullptr;
  std::unique_ptr<TCfgAppDlg> dlg;
};
}  // namespace

TEST_F(CfgApp, RemplissageDepuisLAppareilDeLaVoie) {
  dlg->FormActivate();
  EXPECT_EQ(dlg->caption, "pH essai");
  EXPECT_EQ(dlg->GrandeurEdit, "pH");
  EXPECT_EQ(dlg->EditNom, "pH");
  EXPECT_EQ(dlg->EditUnite, "");
  EXPECT_EQ(dlg->EditMin, "0");
  EXPECT_EQ(dlg->EditMax, Decimal("12.5"));
  EXPECT_FALSE(dlg->DepassementCB);
  EXPECT_EQ(dlg->Comports.items, (std::vector<std::string>{"COM3", "COM4"}));
  EXPECT_EQ(dlg->Comports.itemIndex, 0);
  EXPECT_EQ(dlg->Comports.caption, "Voie série");
  EXPECT_TRUE(dlg->Comports.visible);
  EXPECT_FALSE(dlg->ComportsCalibres);
  // Only the help lines that say something.
  EXPECT_EQ(dlg->MemoAide, (std::vector<std::string>{"PH? : le pH", "TM? : la température"}));
  EXPECT_TRUE(dlg->InitBtnVisible);
  EXPECT_FALSE(dlg->FinBtnVisible);

  // A channel not in use shows nothing and OK changes nothing.
  dlg->voieApp = 3;
  dlg->FormActivate();
  EXPECT_EQ(dlg->caption, TCfgAppDlg::Caption);
  EXPECT_FALSE(dlg->Comports.visible);
  EXPECT_FALSE(dlg->OKBtnClick());
}

TEST_F(CfgApp, OKEcritSymboleUniteBornesEtFiltre) {
  dlg->FormActivate();
  dlg->EditNom = "pHmètre12";  // 9 characters, one of them two bytes
  dlg->EditUnite = "u";
  dlg->EditMin = Decimal("2.5");
  dlg->EditMax = "pas un nombre";
  dlg->DepassementCB = true;
  EXPECT_TRUE(dlg->OKBtnClick());
  const Tappareil& a = *moteur->Voie(0);
  EXPECT_EQ(a.SymboleGrandeur, "pHmètre1");
  EXPECT_EQ(a.UniteGrandeur, "u");
  EXPECT_DOUBLE_EQ(a.ValMini, 2.5);
  EXPECT_TRUE(std::isnan(a.ValMaxi));
  EXPECT_TRUE(a.FiltrageDepassement);
  EXPECT_EQ(a.ComNumber, 3);
}

TEST_F(CfgApp, ChangementDePortEtQuestion) {
  struct Cas {
    const char* nom;
    bool verif;
    int item;           // 0: COM3 (unchanged), 1: COM4
    int reponse;        // -1: no question expected, 0: No, 1: Yes
    int comAttendu;
  };
  const Cas cas[] = {
      {"sans points non sauvés", false, 1, -1, 4},
      {"points non sauvés, Oui", true, 1, 1, 4},
      {"points non sauvés, Non", true, 1, 0, 3},
      {"même port, rien demandé", true, 0, -1, 3},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    moteur->Voie(0)->ComNumber = 3;
    dlg->verif = c.verif;
    dlg->FormActivate();
    dlg->Comports.itemIndex = c.item;
    dlg->EditNom = "X";
    if (c.reponse >= 0) p.dialogue.AttendConfirmation(TCfgAppDlg::QuestionPort, c.reponse == 1);
    EXPECT_TRUE(dlg->OKBtnClick());
    EXPECT_TRUE(p.dialogue.ScriptEpuise());
    EXPECT_EQ(moteur->Voie(0)->ComNumber, c.comAttendu);
    // No keeps the port only: the other changes stay.
    EXPECT_EQ(moteur->Voie(0)->SymboleGrandeur, "X");
  }
}

TEST_F(CfgApp, EntreeDuBoitierChoisitSonCalibre) {
  Tappareil& b = Modele("Boîtier EA0");
  b.isSysam = true;
  b.UniteGrandeur = "V";
  b.ValMaxi = 10;
  b.Precision = 3;
  b.ComNumber = 4;
  b.NbreCalibreApp = 3;
  b.coeffCalibreApp = {0, 1, 0.1, 0.01, 1};
  b.bSysam = 1;
  // The box's reading, through its adapter over a stand-in library: 2 V on the input.
  factice::Remet();
  factice::boitier.brut = 2000;
  TBibliothequesSimulees bibliotheques;
  bibliotheques.Enregistre(NomBibliothequeBoitier, factice::SymbolesBoitier());
  TAdaptateursBibliotheques adaptateurs(p.boucle, p.dialogue, nullptr, bibliotheques.Charge(NomBibliothequeBoitier));
  ASSERT_TRUE(adaptateurs.BoitierPresent());
  EXPECT_DOUBLE_EQ(adaptateurs.ValeurBoitier(b), 2.0);
  moteur->SetNbreVoies(1);
  moteur->AppareilAcq[0] = &b;
  dlg->verif = true;  // unsaved points: still no question, no port is changed
  dlg->FormActivate();
  EXPECT_TRUE(dlg->Comports.visible);
  EXPECT_TRUE(dlg->ComportsCalibres);
  EXPECT_EQ(dlg->Comports.caption, "Calibre");
  EXPECT_EQ(dlg->Comports.items, (std::vector<std::string>{"10 V", "1 V", Decimal("0.1 V")}));
  EXPECT_EQ(dlg->Comports.itemIndex, 0);
  dlg->Comports.itemIndex = 2;
  EXPECT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(b.NumeroCalibreApp, 3);
  EXPECT_EQ(b.ComNumber, 4);
  EXPECT_DOUBLE_EQ(adaptateurs.ValeurBoitier(b), 0.02);  // the chosen calibre's factor
  dlg->FormActivate();
  EXPECT_EQ(dlg->Comports.itemIndex, 2);

  // One calibre: nothing to choose.
  b.NbreCalibreApp = 1;
  b.NumeroCalibreApp = 1;
  dlg->FormActivate();
  EXPECT_FALSE(dlg->Comports.visible);
  EXPECT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(b.NumeroCalibreApp, 1);
  EXPECT_EQ(b.ComNumber, 4);
  int ouvertures = 0;
  dlg->OuvreTerminal = [&](int) { ++ouvertures; };
  dlg->PiloteBtnClick();
  EXPECT_EQ(ouvertures, 0);
}

TEST_F(CfgApp, MetreUSBSansGroupeDePortsPilotageOuvreLeTest) {
  Tappareil& u = Modele("pH-mètre USB");
  u.isOrigalys = true;
  u.identOrigalys = 600;
  u.ComNumber = 9;  // no such port: the hidden group must not move it
  moteur->SetNbreVoies(1);
  moteur->AppareilAcq[0] = &u;
  dlg->verif = true;
  dlg->FormActivate();
  EXPECT_FALSE(dlg->Comports.visible);
  EXPECT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(u.ComNumber, 9);
  Tappareil* teste = nullptr;
  int terminaux = 0;
  dlg->OuvreTestUSB = [&](Tappareil& a) { teste = &a; };
  dlg->OuvreTerminal = [&](int) { ++terminaux; };
  dlg->PiloteBtnClick();
  EXPECT_EQ(teste, &u);
  EXPECT_EQ(terminaux, 0);
}

TEST_F(CfgApp, InitialiserLibererEtPilotageSurLaVoieSerie) {
  TLigneSimulee& ligne = *p.serie.Ligne("/sim/com3");
  Tappareil& a = *moteur->Voie(0);
  a.ChaineFin = "FIN\r";
  dlg->FormActivate();
  EXPECT_TRUE(dlg->FinBtnVisible);
  p.boucle.Avance(100);  // the initialisation the binding sent
  ligne.EffaceRecu();
  a.InitialisationAfaire = false;
  dlg->InitBtnClick();
  p.boucle.Avance(100);
  EXPECT_EQ(ligne.Recu(), "INIT\r");
  EXPECT_FALSE(a.InitialisationAfaire);
  ligne.EffaceRecu();
  dlg->FinBtnClick();
  p.boucle.Avance(100);
  EXPECT_EQ(ligne.Recu(), "FIN\r");
  int voie = -1;
  dlg->OuvreTerminal = [&](int v) { voie = v; };
  dlg->PiloteBtnClick();
  EXPECT_EQ(voie, 0);

  // A port that cannot be bound: nothing sent, nothing opened, no message.
  ports_.clear();
  table.Actualise();
  a.VoieSerie = nullptr;
  voie = -1;
  dlg->PiloteBtnClick();
  dlg->InitBtnClick();
  EXPECT_EQ(voie, -1);
  EXPECT_TRUE(p.dialogue.Messages().empty());
}

TEST_F(CfgApp, AppareilRemplaceOuRetireNEstJamaisTouche) {
  auto ancien = std::make_unique<Tappareil>();
  ancien->NomAppareil = "ancien";
  ancien->ComNumber = 3;
  moteur->AppareilAcq[0] = ancien.get();
  dlg->FormActivate();
  EXPECT_EQ(dlg->caption, "ancien");
  dlg->EditNom = "Z";
  dlg->Comports.itemIndex = 1;

  // The channel gets another definition and the first one is released.
  Tappareil& nouveau = ModelePh("nouveau", 3);
  moteur->AppareilAcq[0] = &nouveau;
  ancien.reset();
  int ouvertures = 0;
  dlg->OuvreTerminal = [&](int) { ++ouvertures; };
  dlg->PiloteBtnClick();
  dlg->InitBtnClick();
  EXPECT_FALSE(dlg->OKBtnClick());
  EXPECT_EQ(ouvertures, 0);
  EXPECT_EQ(nouveau.SymboleGrandeur, "pH");
  EXPECT_EQ(nouveau.ComNumber, 3);
  // Shown again, it fills from the channel's instrument of the moment.
  dlg->FormActivate();
  EXPECT_EQ(dlg->caption, "nouveau");

  // The channel is removed while the dialog is open.
  moteur->SetNbreVoies(0);
  EXPECT_EQ(dlg->Appareil(), nullptr);
  EXPECT_FALSE(dlg->OKBtnClick());
}

TEST_F(CfgApp, ClicSurUneVoiePendantLaBaseDeTemps) {
  moteur->TimerTimer();
  p.boucle.Avance(300);
  moteur->EnregistreBtnClick();
  p.boucle.Avance(2500);
  ASSERT_EQ(moteur->EtatAcq, eaEnCours);
  const int points = N();
  ASSERT_GE(points, 2);

  // Range, symbol and unit changed: the acquisition goes on, axis and grid follow.
  GroupBox1Click(*moteur, *dlg, 0, [&] {
    EXPECT_EQ(moteur->EtatAcq, eaNone);  // suspended while the dialog is open
    EXPECT_TRUE(dlg->verif);
    dlg->FormActivate();
    dlg->EditNom = "pH2";
    dlg->EditUnite = "u";
    dlg->EditMin = "4";
    dlg->EditMax = "9";
    return dlg->OKBtnClick();
  });
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
  EXPECT_TRUE(moteur->MinuteriePrincipale().Actif());
  EXPECT_TRUE(moteur->Reponse);
  EXPECT_DOUBLE_EQ(moteur->Graphe->mondeY[0].mini, 4);
  EXPECT_DOUBLE_EQ(moteur->Graphe->mondeY[0].maxi, 9);
  EXPECT_EQ(moteur->Vue().Grille().Cellule(1, 0), "pH2");
  EXPECT_EQ(moteur->Vue().Grille().Cellule(1, 1), "u");
  p.boucle.Avance(2000);
  EXPECT_GT(N(), points);

  // A new port, confirmed: a new acquisition is prepared on it.
  p.dialogue.AttendConfirmation(TCfgAppDlg::QuestionPort, true);
  GroupBox1Click(*moteur, *dlg, 0, [&] {
    dlg->FormActivate();
    dlg->Comports.itemIndex = 1;
    return dlg->OKBtnClick();
  });
  EXPECT_EQ(moteur->Voie(0)->ComNumber, 4);
  EXPECT_EQ(moteur->EtatAcq, eaAttente);
  EXPECT_EQ(N(), 0);

  // A click on a channel not in use opens nothing.
  bool montre = false;
  GroupBox1Click(*moteur, *dlg, 5, [&] { return montre = true; });
  EXPECT_FALSE(montre);
}
