// The device editors' rules without a window, on an engine of the simulated platform
// with the bench pH meter on COM3: the definition editor's fields, layout rule, delay
// buttons, storing and port; the test window's exchange; the interface-box editor.
#include <cmath>

#include "links/banc_editeur.h"
#include "links/dialogs/config_sysam_dlg.h"
#include "links/dialogs/test_dlg.h"
#include "util/regional_courant.h"

namespace {
class Editeur : public TBancEditeur {
protected:
  TConfigDlg& Ouvre(Tappareil& a) {
    dlg->AppareilCourant = &a;
    dlg->FormShow();
    return *dlg;
  }
};

struct CasGrandeur {
  const char* nom;
  const char* grandeur;
  const char* affichee;
  const char* stockee;
};
class GrandeurEditeur : public Editeur, public ::testing::WithParamInterface<CasGrandeur> {};

struct CasDelai {
  const char* nom;
  const char* texte;
  const char* haut;
  const char* bas;
};
class BoutonsDelai : public Editeur, public ::testing::WithParamInterface<CasDelai> {};
}  // namespace

TEST_P(GrandeurEditeur, ListeEtStockage) {
  const CasGrandeur& c = GetParam();
  Tappareil& a = Modele("Essai");
  a.nomGrandeur = c.grandeur;
  Ouvre(a);
  EXPECT_EQ(dlg->nomGrandeurCombo, c.affichee);
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(a.nomGrandeur, c.stockee);
}

INSTANTIATE_TEST_SUITE_P(Cas, GrandeurEditeur,
                         ::testing::Values(CasGrandeur{"ConductanceRenommee", "CONDUCTANCE", "Conductivité", "conductivité"},
                                           CasGrandeur{"Humidite", "Humidité", "Autre", "autre"},
                                           CasGrandeur{"PhSansCasse", "ph", "pH", "pH"},
                                           CasGrandeur{"Temperature", "température", "Température", "température"}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(Editeur, ConductanceRenommeeALOuverture) {
  Tappareil& a = Modele("Conductimètre");
  a.nomGrandeur = "Conductance";
  Ouvre(a);
  EXPECT_EQ(a.nomGrandeur, "conductivité");
  // Abandon keeps what the opening made: it puts back the definition as opened.
  dlg->CancelBtnClick();
  EXPECT_EQ(a.nomGrandeur, "conductivité");
}

TEST_F(Editeur, BaudHorsListe) {
  Tappareil& a = Modele("Essai");
  a.Baud = 14400;
  Ouvre(a);
  EXPECT_EQ(dlg->BaudsRG, 6);
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(a.Baud, 19200);
}

TEST_P(BoutonsDelai, PasDeCent) {
  const CasDelai& c = GetParam();
  Ouvre(Modele("Essai"));
  dlg->DelaiEdit = c.texte;
  ASSERT_TRUE(dlg->DelaiSpinUp());
  EXPECT_EQ(dlg->DelaiEdit, c.haut);
  dlg->DelaiEdit = c.texte;
  ASSERT_TRUE(dlg->DelaiSpinDown());
  EXPECT_EQ(dlg->DelaiEdit, c.bas);
}

INSTANTIATE_TEST_SUITE_P(Cas, BoutonsDelai,
                         ::testing::Values(CasDelai{"HorsGrille", "150", "200", "100"}, CasDelai{"Plancher", "100", "200", "100"},
                                           CasDelai{"Plafond", "5000", "5000", "4900"},
                                           CasDelai{"AuDelaDuPlafond", "5300", "5300", "5200"},
                                           CasDelai{"SousLePlancher", "40", "100", "0"}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(Editeur, DelaiQuiNEstPasUnEntier) {
  Tappareil& a = Modele("Essai");
  a.Delai = 300;
  Ouvre(a);
  dlg->DelaiEdit = "3O0";
  p.dialogue.SetEchec({});
  EXPECT_FALSE(dlg->DelaiSpinUp());
  EXPECT_EQ(dlg->DelaiEdit, "3O0");
  // OK refuses: the editor stays open and nothing is stored, not even the name.
  dlg->EditNomAppareil = "Nouveau nom";
  EXPECT_FALSE(dlg->OKBtnClick());
  EXPECT_EQ(a.NomAppareil, "Essai");
  EXPECT_EQ(a.Delai, 300);
  const auto messages = p.dialogue.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "'3O0' n'est pas une valeur entière correcte");
  dlg->DelaiEdit = "400";
  EXPECT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(a.NomAppareil, "Nouveau nom");
  EXPECT_EQ(a.Delai, 400);
}

TEST_F(Editeur, DispositionDuFormat) {
  Tappareil& a = Modele("Essai");
  Ouvre(a);
  EXPECT_EQ(dlg->DemandeGBCaption, "Ordre pour obtenir les données");
  EXPECT_FALSE(dlg->DemandeBisGBVisible);
  EXPECT_TRUE(dlg->NbreLignesGBVisible);
  EXPECT_FALSE(dlg->NbreCaracGBVisible);
  dlg->EnvoiDonneesRGClick(1);
  EXPECT_TRUE(a.EnvoiDirect);  // stored at once
  dlg->PosDebutSEChange(0);
  EXPECT_EQ(dlg->DemandeGBCaption, "Texte après les données");
  EXPECT_EQ(dlg->DemandeBisGBCaption, "Autre texte après les données");
  EXPECT_TRUE(dlg->DemandeBisGBVisible);
  EXPECT_FALSE(dlg->PosDebutGBVisible);  // no text before or after yet
  dlg->EditDemande = "pH";
  dlg->PosDebutSEChange(3);
  EXPECT_EQ(dlg->DemandeGBCaption, "Texte avant les données");
  EXPECT_EQ(dlg->DemandeBisGBCaption, "Autre texte avant les données");
  EXPECT_TRUE(dlg->PosDebutGBVisible);
  dlg->FixeRGClick(1);
  EXPECT_TRUE(dlg->NbreCaracGBVisible);
  EXPECT_FALSE(dlg->NbreLignesGBVisible);
  EXPECT_FALSE(dlg->NumeroOrdreGBVisible);
}

TEST_F(Editeur, StockageDeTousLesChamps) {
  TRegionalFixe virgule(',');
  InstalleRegional(&virgule);
  Tappareil& a = Modele("Essai");
  Ouvre(a);
  EXPECT_EQ(dlg->EditMax, "1");
  dlg->EditNomAppareil = "Mon pH-mètre";
  dlg->nomGrandeurCombo = "pH";
  dlg->EditSymbole = "pH";
  dlg->EditUnite = "";
  dlg->EditMin = "0";
  dlg->EditMax = "14,5";
  dlg->DeriveEdit = "0,02";
  dlg->PrecisionSE = 4;
  dlg->EditDemande = "PH?|CR|";
  dlg->EditInit = "|ESC|I";
  dlg->DelaiEdit = "200";
  dlg->ComportsIndex = 1;  // COM4
  dlg->BaudsRG = 3;
  dlg->ParityRG = 2;
  dlg->DatabitsRG = 1;
  dlg->StopbitsRG = 1;
  dlg->XonXoffBox = true;
  dlg->SeparateurSE = 44;
  dlg->PilotageMemo = {"PH? : la mesure"};
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(a.NomAppareil, "Mon pH-mètre");
  EXPECT_EQ(a.nomGrandeur, "pH");
  EXPECT_DOUBLE_EQ(a.ValMaxi, 14.5);
  EXPECT_DOUBLE_EQ(a.Derive, 0.02);
  EXPECT_EQ(a.Precision, 4);
  EXPECT_EQ(a.Demande, "PH?\r");
  EXPECT_EQ(a.ChaineInit, "\x1bI");
  EXPECT_EQ(a.Delai, 200);
  EXPECT_EQ(a.ComNumber, 4);
  EXPECT_EQ(a.Baud, 2400);
  EXPECT_EQ(a.Parite, pEven);
  EXPECT_EQ(a.DataBits, 7);
  EXPECT_EQ(a.StopBits, 2);
  EXPECT_TRUE(a.XonXoff);
  EXPECT_EQ(a.SeparateurChiffre, ',');
  EXPECT_EQ(a.AidePilotage[1], "PH? : la mesure");
  EXPECT_EQ(a.AidePilotage[2], "");
  // Shown again as it is stored.
  dlg->FormActivate();
  EXPECT_EQ(dlg->EditMax, "14,5");
  EXPECT_EQ(dlg->EditDemande, "PH?|CR|");
  EXPECT_EQ(dlg->ComportsItems, (std::vector<std::string>{"COM3", "COM4"}));
  EXPECT_EQ(dlg->ComportsIndex, 1);
  // A changed precision puts the stored range back into the edits.
  dlg->EditMin = "abc";
  dlg->PrecisionSEChange(2);
  EXPECT_EQ(dlg->EditMin, "0");
  EXPECT_EQ(dlg->EditMax, "14,5");
  InstalleRegional(&p.regional);
}

TEST_F(Editeur, AbandonRemetLaDefinitionDOrigine) {
  Tappareil& a = ModelePh("Banc virtuel pH-mètre", 3);
  Ouvre(a);
  dlg->EditNomAppareil = "Autre nom";
  dlg->EditDemande = "XX";
  dlg->DelaiEdit = "900";
  dlg->EnvoiDonneesRGClick(1);
  dlg->PageChange(TConfigDlg::TabPilotage);  // stores everything to take the port
  EXPECT_EQ(a.NomAppareil, "Autre nom");
  ASSERT_TRUE(Ligne(3).Ouverte());
  dlg->CancelBtnClick();
  EXPECT_EQ(a.NomAppareil, "Banc virtuel pH-mètre");
  EXPECT_EQ(a.Demande, "PH?\r");
  EXPECT_EQ(a.Delai, 100);
  EXPECT_FALSE(a.EnvoiDirect);
  EXPECT_EQ(a.VoieSerie, nullptr);
  // The port taken is closed and given back to the engine.
  EXPECT_FALSE(Ligne(3).Ouverte());
  EXPECT_EQ(moteur->voieSerieCin[3]->OnTriggerAvail().proprietaire, moteur.get());
}

TEST_F(Editeur, PilotageEnvoieEtRecoit) {
  Tappareil& a = ModelePh("Banc virtuel pH-mètre", 3);
  Ouvre(a);
  dlg->PageChange(TConfigDlg::TabPilotage);
  ASSERT_EQ(dlg->PageActive, TConfigDlg::TabPilotage);
  EXPECT_TRUE(dlg->ClearBtnVisible);
  EXPECT_TRUE(dlg->voieSerieAffecte);
  EXPECT_EQ(Ligne(3).Reglage().baud, 2400);
  dlg->OrdreEdit = "PH?";
  dlg->EnvoiCRClick();
  p.boucle.Avance(300);
  ASSERT_EQ(dlg->Memo1.size(), 2u);
  EXPECT_EQ(dlg->Memo1[0], "Envoi de : PH?");
  EXPECT_EQ(dlg->Memo1[1], "Réception de :  7.02");
  // The text goes as typed, the escape notation not decoded; the log shows it alone.
  dlg->ClearBtnClick();
  Ligne(3).EffaceRecu();
  dlg->OrdreEdit = "PH?|CR|";
  dlg->EnvoiCRLFClick();
  p.boucle.Avance(300);
  EXPECT_EQ(Ligne(3).Recu(), "PH?|CR|\r\n");
  EXPECT_EQ(dlg->Memo1, (std::vector<std::string>{"Envoi de : PH?||CR||"}));
  dlg->PageChange(TConfigDlg::TabFormat);
  EXPECT_FALSE(dlg->ClearBtnVisible);
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_FALSE(Ligne(3).Ouverte());
}

TEST_F(Editeur, FinsDeLigneALaReception) {
  Tappareil& a = Modele("Muet");
  a.ComNumber = 4;
  Ouvre(a);
  dlg->PageChange(TConfigDlg::TabPilotage);
  ASSERT_TRUE(dlg->voieSerieAffecte);
  Ligne(4).Emet("A\r\nB\tC\x11\x13" "D\x01\r");
  p.boucle.Avance(50);
  EXPECT_EQ(dlg->Memo1, (std::vector<std::string>{"Réception de : A", "Réception de : B", "Réception de : C",
                                                  "Réception de : D"}));
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_FALSE(Ligne(4).Ouverte());
}

TEST_F(Editeur, PortIntrouvable) {
  Tappareil& a = Modele("Port 60");
  a.ComNumber = 60;  // a hand-edited file: no port object past the table
  Ouvre(a);
  dlg->ComportsItems.clear();  // keeps the stored number
  EXPECT_FALSE(dlg->PrepareTest());
  dlg->PageChange(TConfigDlg::TabPilotage);
  EXPECT_EQ(dlg->PageActive, TConfigDlg::TabGrandeur);
  EXPECT_FALSE(dlg->ClearBtnVisible);
  // A port that does not open: the same.
  a.ComNumber = 7;
  EXPECT_FALSE(dlg->PrepareTest());
  EXPECT_FALSE(dlg->voieSerieAffecte);
}

TEST_F(Editeur, InstrumentSimule) {
  Tappareil& a = Modele("pH-mètre WTW 3310 (simulation)");
  a.ComNumber = 3;
  Ouvre(a);
  dlg->PageChange(TConfigDlg::TabPilotage);
  EXPECT_EQ(dlg->PageActive, TConfigDlg::TabPilotage);
  EXPECT_TRUE(dlg->ClearBtnVisible);
  EXPECT_TRUE(moteur->SimulationWTW);
  EXPECT_FALSE(Ligne(3).Ouverte());
  dlg->OrdreEdit = "M";
  dlg->EnvoiCRClick();  // no port: nothing sent, nothing raised
  EXPECT_TRUE(dlg->Memo1.empty());
  EXPECT_TRUE(dlg->OKBtnClick());
}

TEST_F(Editeur, TestDUneMesure) {
  Tappareil& a = ModelePh("Banc virtuel pH-mètre", 3);
  Ouvre(a);
  std::vector<std::string> memo;
  dlg->MontreTest = [&] {
    TTestDlg test(*contexte, *dlg);
    test.FormActivate();
    EXPECT_FALSE(test.InitBtnVisible);
    EXPECT_FALSE(test.MesureBtnEnabled);
    EXPECT_EQ(moteur->voieSerieCin[3]->Tracing(), tlOn);
    p.boucle.Avance(599);
    EXPECT_FALSE(test.MesureBtnEnabled);
    p.boucle.Avance(2);
    EXPECT_TRUE(test.MesureBtnEnabled);
    memo = test.MemoTest;
    test.FormClose();
    EXPECT_FALSE(moteur->voieSerieCin[3]->OnTriggerAvail());
  };
  dlg->TestBtnClick();
  EXPECT_EQ(memo, (std::vector<std::string>{"", "Envoi de :", "PH?|CR|", "Attente de 100ms", "Chaine reçue :", " 7.02|CR|",
                                            "Valeur lue : pH=7,02"}));
  // The editor has its handler back; its filling cleared the flag, so closing leaves
  // the port open, but never with the handler of a closed editor.
  EXPECT_EQ(moteur->voieSerieCin[3]->OnTriggerAvail().proprietaire, dlg.get());
  EXPECT_FALSE(dlg->voieSerieAffecte);
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_TRUE(Ligne(3).Ouverte());
  EXPECT_EQ(moteur->voieSerieCin[3]->OnTriggerAvail().proprietaire, moteur.get());
}

TEST_F(Editeur, TestAvecInitialisationEtHorsPlage) {
  Tappareil& a = ModelePh("Banc virtuel pH-mètre", 3);
  a.ChaineInit = "PHR\r";
  a.ValMaxi = 5;
  Ouvre(a);
  dlg->MontreTest = [&] {
    TTestDlg test(*contexte, *dlg);
    test.FormActivate();
    EXPECT_TRUE(test.InitBtnVisible);
    EXPECT_TRUE(test.MesureBtnEnabled);  // the initialisation only: no measurement asked
    EXPECT_EQ(test.MemoTest, (std::vector<std::string>{"Envoi de :", "PHR|CR|"}));
    test.MesureBtnClick();
    p.boucle.Avance(700);
    ASSERT_GE(test.MemoTest.size(), 2u);
    EXPECT_EQ(test.MemoTest[test.MemoTest.size() - 2], "Valeur >mini ou <maxi");
    test.FormClose();
  };
  dlg->TestBtnClick();
}

TEST_F(Editeur, TestInstrumentContinuSimule) {
  Tappareil& a = Modele("pH-mètre WTW 3310 (simulation)");
  a.EnvoiDirect = true;
  a.Delai = 3000;
  a.NbreLignes = 8;
  a.DebutNombre = 3;
  a.Demande = "pH";
  a.SymboleGrandeur = "pH";
  a.UniteGrandeur = "";
  a.ValMaxi = 14;
  a.Precision = 3;
  Ouvre(a);
  dlg->MontreTest = [&] {
    TTestDlg test(*contexte, *dlg);
    test.FormActivate();
    // Continuous: nothing asked, what arrives in Delai + 500 ms is decoded.
    EXPECT_EQ(test.MemoTest, (std::vector<std::string>{"", "Attente de 3000ms"}));
    p.boucle.Avance(3501);
    ASSERT_FALSE(test.MemoTest.empty());
    EXPECT_EQ(test.MemoTest.back(), "Valeur lue : pH=7,37");
    test.FormClose();
  };
  dlg->TestBtnClick();
}

TEST_F(Editeur, TestXonXoffEcartes) {
  Tappareil& a = Modele("Muet");
  a.ComNumber = 4;
  a.Demande = "M\r";
  a.Delai = 100;
  a.SymboleGrandeur = "U";
  Ouvre(a);
  dlg->MontreTest = [&] {
    TTestDlg test(*contexte, *dlg);
    test.FormActivate();
    Ligne(4).Emet("\x13" "1.5\x11\r");
    p.boucle.Avance(50);
    EXPECT_EQ(a.ChaineLue, "1.5\r");
    test.FormClose();
  };
  dlg->TestBtnClick();
}

namespace {
class EditeurSysam : public ::testing::Test {
protected:
  EditeurSysam() : p(std::filesystem::current_path().string()) {
    InstalleRegional(&p.regional);
    p.dialogue.SetEchec([](const std::string& m) { ADD_FAILURE() << m; });
    a.isSysam = true;
    a.NomAppareil = "Voltmètre boîtier";
    a.SymboleGrandeur = "U";
    a.UniteGrandeur = "V";
    a.ValMini = 0;
    a.ValMaxi = 1;
  }
  ~EditeurSysam() override { InstalleRegional(nullptr); }
  TPlateformeSimulee p;
  Tappareil a;
  TConfigSysamDlg dlg{p.dialogue};
};
}  // namespace

TEST_F(EditeurSysam, UnSeulCalibre) {
  a.coeffCalibreApp[1] = 3;
  dlg.AppareilCourant = &a;
  dlg.FormActivate();
  EXPECT_FALSE(dlg.GridVisible);
  EXPECT_EQ(a.coeffCalibreApp[1], 1);
  EXPECT_EQ(dlg.EARGItems[2], "EA2");
  dlg.DiffCBClick(true);
  EXPECT_EQ(dlg.EARGItems[2], "EA2-EA6");
  dlg.EARG = 2;
  dlg.OKBtnClick();
  EXPECT_EQ(a.indiceVoieSysam, 2);
  EXPECT_TRUE(a.differentielSysam);
  EXPECT_EQ(a.NbreCalibreApp, 1);
  EXPECT_EQ(a.coeffCalibreApp[1], 1);
}

TEST_F(EditeurSysam, CalibresEtPleinesEchelles) {
  TRegionalFixe virgule(',');
  InstalleRegional(&virgule);
  a.NbreCalibreApp = 3;
  a.coeffCalibreApp = {0, 1, 10, 100, 1};
  dlg.AppareilCourant = &a;
  dlg.FormActivate();
  ASSERT_TRUE(dlg.GridVisible);
  ASSERT_EQ(dlg.CalibreGrid.size(), 4u);
  EXPECT_EQ(dlg.CalibreGrid[0][0], "Calibre");
  EXPECT_EQ(dlg.CalibreGrid[0][1], "Facteur");
  EXPECT_EQ(dlg.CalibreGrid[1][0], "1 V");
  EXPECT_EQ(dlg.CalibreGrid[2][0], "10 V");
  EXPECT_EQ(dlg.CalibreGrid[3][0], "100 V");
  EXPECT_FALSE(TConfigSysamDlg::CelluleModifiable(1, 1));
  EXPECT_TRUE(TConfigSysamDlg::CelluleModifiable(1, 2));
  dlg.CalibreGrid[2][1] = "2,5";
  ASSERT_TRUE(dlg.ValideFacteur(2));
  EXPECT_DOUBLE_EQ(a.coeffCalibreApp[2], 2.5);
  EXPECT_EQ(dlg.CalibreGrid[2][0], "2,5 V");
  // No number: the conversion error, the factor unchanged; OK stores 1 for it.
  dlg.CalibreGrid[3][1] = "x";
  p.dialogue.SetEchec({});
  EXPECT_FALSE(dlg.ValideFacteur(3));
  EXPECT_EQ(p.dialogue.Messages().back(), "'x' n'est pas une valeur à virgule flottante correcte");
  EXPECT_DOUBLE_EQ(a.coeffCalibreApp[3], 100);
  // Four calibres at most: a definition stores four factors.
  dlg.NbreCalibreSEChange(5);
  EXPECT_EQ(dlg.NbreCalibreSE, 4);
  EXPECT_EQ(dlg.CalibreGrid.size(), 5u);
  dlg.CalibreGrid[4][1] = "1000";
  dlg.OKBtnClick();
  EXPECT_EQ(a.NbreCalibreApp, 4);
  EXPECT_DOUBLE_EQ(a.coeffCalibreApp[3], 1);
  EXPECT_DOUBLE_EQ(a.coeffCalibreApp[4], 1000);
  InstalleRegional(&p.regional);
}
