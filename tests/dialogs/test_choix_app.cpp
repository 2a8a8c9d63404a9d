// The instrument selection dialog's rules, on the simulated platform: the working
// channel list, the ports, the duplicate question, the recent list, OK and Cancel.
#include "core/banc_moteur.h"
#include "dialogs/choix_app.h"
#include "util/textes.h"

namespace {
class ChoixApp : public TBancMoteur {
protected:
  void SetUp() override {
    PortMuet(3);
    PortMuet(4);
    PortMuet(5);
    Demarre();
    moteur->TraceCB = false;
    dlg = std::make_unique<TChoixAppDlg>(*moteur);
  }
  int Index(const std::vector<std::string>& items, const std::string& texte) {
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i] == texte) return static_cast<int>(i);
    return -1;
  }
  // Chooses the quantity, then the model in the list, then "Ajouter".
  void Ajoute(const std::string& grandeur, const std::string& modele) {
    const int g = Index(dlg->GrandeurItems, grandeur);
    ASSERT_GE(g, 0) << grandeur;
    dlg->GrandeurComboChange(g);
    const int m = Index(dlg->ListeAppareilItems, modele);
    ASSERT_GE(m, 0) << modele;
    dlg->ListeAppareilIndex = m;
    dlg->AddBtnClick();
  }
  std::unique_ptr<TChoixAppDlg> dlg;
};
}  // namespace

TEST_F(ChoixApp, OuvertureSansVoie) {
  dlg->FormActivate();
  EXPECT_TRUE(dlg->NoAppLabelVisible);
  EXPECT_FALSE(dlg->PageControlVisible);
  for (const auto& page : dlg->Pages) EXPECT_FALSE(page.visible);
  // The quantity of the database's first model, and its models, the last one chosen.
  const Tappareil& premier = *base.ListeAppareils.front();
  ASSERT_GE(dlg->GrandeurIndex, 0);
  EXPECT_TRUE(EgalSansCasse(dlg->GrandeurItems[static_cast<std::size_t>(dlg->GrandeurIndex)], premier.nomGrandeur));
  EXPECT_EQ(dlg->ListeAppareilItems.front(), premier.NomAppareil);
  EXPECT_EQ(dlg->ListeAppareilIndex, static_cast<int>(dlg->ListeAppareilItems.size()) - 1);
  EXPECT_TRUE(dlg->AddBtnEnabled);
  EXPECT_EQ(dlg->Pages[0].ports.items, (std::vector<std::string>{"COM3", "COM4", "COM5"}));
  EXPECT_EQ(dlg->Pages[0].ports.caption, "Voie série");
  EXPECT_FALSE(dlg->oldGBVisible);
  EXPECT_EQ(dlg->ListeOldItems, (std::vector<std::string>{"Choisir un appareil en déroulant la liste"}));
}

TEST_F(ChoixApp, AucunPortPresent) {
  ports_.clear();
  table.Actualise();
  dlg->FormActivate();
  EXPECT_TRUE(dlg->Pages[0].ports.items.empty());
  EXPECT_EQ(dlg->Pages[0].ports.caption, "Attention : aucune voie série trouvée");
  Ajoute("pH", "Banc virtuel pH-mètre");
  EXPECT_EQ(dlg->NbreAttaches(), 1);
  EXPECT_EQ(dlg->Pages[0].ports.itemIndex, -1);
  EXPECT_EQ(Modele("Banc virtuel pH-mètre").ComNumber, 3);  // kept: there is no port to give it
}

TEST_F(ChoixApp, AjoutPageEtAide) {
  dlg->FormActivate();
  Ajoute("pH", "Banc virtuel pH-mètre");
  ASSERT_EQ(dlg->NbreAttaches(), 1);
  const TPageAppareil& page = dlg->Pages[0];
  EXPECT_TRUE(page.visible);
  EXPECT_EQ(page.caption, "Banc");  // the short name
  EXPECT_EQ(page.nom, "Banc virtuel pH-mètre");
  EXPECT_EQ(page.ports.itemIndex, 0);  // COM3
  EXPECT_EQ(page.memo, (std::vector<std::string>{"Instrument du banc virtuel (banc-virtuel pH-metre ou pH-metre-titrage)"}));
  EXPECT_TRUE(page.memoVisible);
  EXPECT_TRUE(dlg->PageControlVisible);
  EXPECT_FALSE(dlg->NoAppLabelVisible);
  EXPECT_EQ(dlg->PageActive, 0);
}

TEST_F(ChoixApp, PortAbsentDonneLePremierListe) {
  Modele("Banc virtuel balance").ComNumber = 9;
  dlg->FormActivate();
  Ajoute("masse", "Banc virtuel balance");
  EXPECT_EQ(dlg->Pages[0].ports.itemIndex, 0);
  EXPECT_EQ(Modele("Banc virtuel balance").ComNumber, 3);
}

TEST_F(ChoixApp, DeuxAppareilsIdentiques) {
  dlg->FormActivate();
  Ajoute("pH", "Banc virtuel pH-mètre");
  p.dialogue.AttendConfirmation("Deux appareils identiques ?", false);
  Ajoute("pH", "Banc virtuel pH-mètre");
  EXPECT_EQ(dlg->NbreAttaches(), 1);
  p.dialogue.AttendConfirmation("Deux appareils identiques ?", true);
  Ajoute("pH", "Banc virtuel pH-mètre");
  EXPECT_EQ(dlg->NbreAttaches(), 2);
  EXPECT_EQ(dlg->AppareilCourant[0], dlg->AppareilCourant[1]);
  // Asked once for each channel that already has it.
  p.dialogue.AttendConfirmation("Deux appareils identiques ?", true);
  p.dialogue.AttendConfirmation("Deux appareils identiques ?", false);
  Ajoute("pH", "Banc virtuel pH-mètre");
  EXPECT_EQ(dlg->NbreAttaches(), 2);
  EXPECT_TRUE(p.dialogue.ScriptEpuise());
}

TEST_F(ChoixApp, NeufAppareilsAuPlus) {
  dlg->FormActivate();
  const std::vector<std::string> modeles = {"Banc virtuel pH-mètre", "Banc virtuel pH-mètre (T)", "Banc virtuel pH-mètre (mV)",
                                            "Banc virtuel balance", "Fluke 1522 (température)", "HP 34401A (tension continue)",
                                            "TPS 901-PH", "TPS WP-80 (T)", "TPS WP-80 (pH)"};
  for (const auto& m : modeles) {
    const Tappareil& a = Modele(m);
    Ajoute(MinusculesAscii(a.nomGrandeur) == "ph" ? "pH" : MinusculesAscii(a.nomGrandeur), m);
  }
  ASSERT_EQ(dlg->NbreAttaches(), 9);
  EXPECT_FALSE(dlg->AddBtnEnabled);
  dlg->GrandeurComboChange(Index(dlg->GrandeurItems, "masse"));
  dlg->ListeAppareilComboClick(1);
  dlg->AddBtnClick();
  EXPECT_EQ(dlg->NbreAttaches(), 9);
  EXPECT_EQ(dlg->PageActive, 8);
}

TEST_F(ChoixApp, SupprimerDecaleLesPages) {
  dlg->FormActivate();
  Ajoute("pH", "Banc virtuel pH-mètre");
  Ajoute("température", "Banc virtuel pH-mètre (T)");
  Ajoute("tension", "Banc virtuel pH-mètre (mV)");
  Ajoute("masse", "Banc virtuel balance");
  dlg->RadioGroup4Click(3, 2);  // the balance on COM5
  dlg->DelBtnClick(1);
  ASSERT_EQ(dlg->NbreAttaches(), 3);
  EXPECT_EQ(dlg->ListeLoc, (std::vector<std::string>{"Banc virtuel pH-mètre", "Banc virtuel pH-mètre (mV)", "Banc virtuel balance"}));
  EXPECT_EQ(dlg->Pages[1].nom, "Banc virtuel pH-mètre (mV)");
  EXPECT_EQ(dlg->Pages[2].nom, "Banc virtuel balance");
  EXPECT_EQ(dlg->Pages[2].ports.itemIndex, 2);
  EXPECT_FALSE(dlg->Pages[3].visible);
}

TEST_F(ChoixApp, OKEtModification) {
  dlg->FormActivate();
  // OK with nothing attached attaches the chosen model to channel 0.
  dlg->GrandeurComboChange(Index(dlg->GrandeurItems, "masse"));
  dlg->ListeAppareilIndex = Index(dlg->ListeAppareilItems, "Banc virtuel balance");
  dlg->OKBtnClick();
  EXPECT_TRUE(dlg->modification);
  ASSERT_EQ(moteur->NbreVoies(), 1);
  EXPECT_EQ(moteur->Voie(0)->NomAppareil, "Banc virtuel balance");
  EXPECT_TRUE(moteur->Voie(0)->InitialisationAfaire == !moteur->Voie(0)->ChaineInit.empty());

  // Opened again on the engine's list: OK without a change changes nothing.
  dlg->FormActivate();
  EXPECT_EQ(dlg->ListeLoc, (std::vector<std::string>{"Banc virtuel balance"}));
  EXPECT_EQ(dlg->Pages[0].ports.itemIndex, 2);  // COM5
  dlg->OKBtnClick();
  EXPECT_FALSE(dlg->modification);

  // A port changed alone is a modification, made in the definition at once.
  dlg->FormActivate();
  dlg->RadioGroup4Click(0, 0);
  EXPECT_EQ(moteur->Voie(0)->ComNumber, 3);
  dlg->OKBtnClick();
  EXPECT_TRUE(dlg->modification);

  // Cancel (no OK): the port stays changed, the channel list does not.
  dlg->FormActivate();
  dlg->RadioGroup4Click(0, 1);
  dlg->DelBtnClick(0);
  EXPECT_EQ(moteur->Voie(0)->ComNumber, 4);
  EXPECT_EQ(moteur->NbreVoies(), 1);
}

TEST_F(ChoixApp, PortIgnorePendantLeRemplissage) {
  dlg->FormActivate();
  Ajoute("pH", "Banc virtuel pH-mètre");
  dlg->MajEnCours = true;
  dlg->RadioGroup4Click(0, 2);
  EXPECT_EQ(Modele("Banc virtuel pH-mètre").ComNumber, 3);
  EXPECT_FALSE(dlg->ModifSerie);
}

TEST_F(ChoixApp, AppareilsRecents) {
  moteur->OldAppareilAcq = {"banc virtuel balance", "Modèle disparu", "Banc virtuel pH-mètre"};
  moteur->ListeAppRecent = false;
  dlg->FormActivate();
  EXPECT_FALSE(dlg->oldGBVisible);
  moteur->ListeAppRecent = true;
  dlg->FormActivate();
  EXPECT_TRUE(dlg->oldGBVisible);
  ASSERT_EQ(dlg->ListeOldItems.size(), 4u);
  EXPECT_EQ(dlg->ListeOldItems[0], "Choisir un appareil en déroulant la liste");
  EXPECT_EQ(dlg->ListeOldIndex, 0);
  const int ph = Index(dlg->ListeOldItems, "Banc virtuel pH-mètre");
  dlg->ListeOldClick(ph);
  EXPECT_EQ(dlg->NbreAttaches(), 1);
  // Already attached (whatever the case): nothing, and no question.
  dlg->ListeOldClick(ph);
  EXPECT_EQ(dlg->NbreAttaches(), 1);
  // A name the database no longer has is ignored; the prompt attaches nothing.
  dlg->ListeOldClick(Index(dlg->ListeOldItems, "Modèle disparu"));
  dlg->ListeOldClick(0);
  EXPECT_EQ(dlg->NbreAttaches(), 1);
  // The database's names are exact: "banc virtuel balance" names no model.
  dlg->ListeOldClick(Index(dlg->ListeOldItems, "banc virtuel balance"));
  EXPECT_EQ(dlg->NbreAttaches(), 1);
}
