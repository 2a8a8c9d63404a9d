// The burette settings dialog's rules: the thresholds with their prefixes, the volume
// and wait fields with their bounds, the validation of OK, and the burette's section
// written back to the device file.
#include <cmath>
#include <fstream>

#include "core/banc_moteur.h"
#include "dialogs/burette_dlg.h"
#include "dialogs/formats_dialogue.h"
#include "instruments/burette.h"
#include "util/ini.h"

namespace {
class BuretteDlg : public TBancMoteur {
protected:
  void SetUp() override {
    Demarre();
    dlg = std::make_unique<TBuretteRS232Dlg>(*moteur);
  }
  TburetteRS232& B() { return base.Burette(); }
  std::unique_ptr<TBuretteRS232Dlg> dlg;
};

struct CasSeuil {
  const char* nom;
  double seuil;
  const char* texte;
  int prefixe;
};
class AffichageSeuil : public ::testing::TestWithParam<CasSeuil> {};

struct CasLecture {
  const char* nom;
  const char* texte;
  int prefixe;
  double attendu;
};
class LectureSeuil : public ::testing::TestWithParam<CasLecture> {};
}  // namespace

TEST_P(AffichageSeuil, PrefixeChoisi) {
  const CasSeuil& c = GetParam();
  TRegionalFixe virgule(',');
  InstalleRegional(&virgule);
  const TSeuilAffiche a = TBuretteRS232Dlg::AfficheSeuil(c.seuil);
  EXPECT_EQ(a.texte, c.texte);
  EXPECT_EQ(a.prefixe, c.prefixe);
  InstalleRegional(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Cas, AffichageSeuil,
                         ::testing::Values(CasSeuil{"Milli", 5e-5, "0,05", 1}, CasSeuil{"Micro", 5e-8, "0,05", 2},
                                           CasSeuil{"SansPrefixe", 0.02, "0,02", 0}, CasSeuil{"JusteAuSeuilMilli", 1e-4, "0,0001", 0},
                                           CasSeuil{"Rien", std::nan(""), "", 0}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_P(LectureSeuil, FacteurDuPrefixe) {
  const CasLecture& c = GetParam();
  TRegionalFixe virgule(',');
  InstalleRegional(&virgule);
  const double v = TBuretteRS232Dlg::LitSeuil(c.texte, c.prefixe);
  if (std::isnan(c.attendu)) EXPECT_TRUE(std::isnan(v));
  else EXPECT_NEAR(v, c.attendu, std::abs(c.attendu) * 1e-12);
  InstalleRegional(nullptr);
}

// The prefix comes from the fixed list only: an index outside it is the nearest item,
// never a factor of 1000 for an unknown prefix.
INSTANTIATE_TEST_SUITE_P(Cas, LectureSeuil,
                         ::testing::Values(CasLecture{"MilliDonneMillieme", "20", 1, 0.02},
                                           CasLecture{"MicroDonneMillionieme", "20", 2, 2e-5},
                                           CasLecture{"SansPrefixe", "0,5", 0, 0.5},
                                           CasLecture{"IndexInconnuPrisCommeVide", "3", -1, 3},
                                           CasLecture{"IndexTropGrandPrisCommeMicro", "3", 7, 3e-6},
                                           CasLecture{"PasUnNombre", "abc", 1, std::nan("")}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(BuretteDlg, OuvertureDepuisLaBurette) {
  TburetteRS232& b = B();
  b.VolumeMin = 0.01;
  b.VolumeMax = 0.5;
  b.DeltatMin = 5;
  b.DeltatMax = 20;
  b.ecartSensible = 5e-5;
  b.ecartStable = 0.5;
  b.SymboleGrandeur = "Vbase";
  b.modeIncrement = true;
  b.incrementVolume = 0.2;
  Voies({"Banc virtuel pH-mètre"});  // its axis 0..14
  Tappareil* ph = moteur->Voie(0);
  dlg->appareil = ph;
  dlg->FormActivate();
  EXPECT_EQ(dlg->VminiSE.valeur, 10);
  EXPECT_EQ(dlg->vmaxiSE.valeur, 500);
  EXPECT_EQ(dlg->TmaxiSE.valeur, 20);
  EXPECT_EQ(dlg->TmaxiSE.mini, 7);
  EXPECT_EQ(dlg->TMiniSE.valeur, 5);
  EXPECT_EQ(dlg->TMiniSE.maxi, 18);
  EXPECT_EQ(dlg->NomEdit, "Vbase");
  EXPECT_EQ(dlg->SensibleEdit, "0,05");
  EXPECT_EQ(dlg->prefixeSensibleCB, 1);
  // Above a hundredth of channel 0's axis: lowered to it, kept even on Cancel.
  EXPECT_EQ(dlg->StableEdit, "0,14");
  EXPECT_DOUBLE_EQ(b.ecartStable, 0.14);
  EXPECT_EQ(dlg->UniteLabel1, ph->UniteGrandeur);
  EXPECT_TRUE(dlg->modeIncrementCB);
  EXPECT_TRUE(dlg->DeltaVeditVisible);
  EXPECT_EQ(dlg->DeltaVedit, "0,2");
  dlg->modeIncrementCBClick(false);
  EXPECT_FALSE(dlg->DeltaVeditVisible);
  // The waits keep their bounds, and 2 s between them.
  dlg->TmaxiSEChange(3);
  EXPECT_EQ(dlg->TmaxiSE.valeur, 7);
  dlg->TMiniSEChange(30);
  EXPECT_EQ(dlg->TMiniSE.valeur, 5);
  dlg->TMiniSEChange(5);
  dlg->TmaxiSEChange(9);
  EXPECT_EQ(dlg->TMiniSE.maxi, 7);
}

TEST_F(BuretteDlg, SansAppareilNiVoie) {
  B().ecartStable = 0.5;
  dlg->FormActivate();
  EXPECT_EQ(dlg->UniteLabel1, "");
  EXPECT_EQ(dlg->UniteLabel2, "");
  EXPECT_DOUBLE_EQ(B().ecartStable, 0.5);
}

TEST_F(BuretteDlg, ChampsEntiers) {
  TChampEntier c{10, 10, 100};
  c.SetTexte("25");
  EXPECT_EQ(c.valeur, 25);
  c.SetTexte("deux");
  EXPECT_EQ(c.valeur, 10);
  c.SetTexte("2,5");
  EXPECT_EQ(c.valeur, 10);
  c.SetTexte("400");
  EXPECT_EQ(c.valeur, 100);
  c.Set(5);
  EXPECT_EQ(c.valeur, 10);
}

TEST_F(BuretteDlg, OKRangeEtEcritLaSection) {
  dlg->FormActivate();
  dlg->SetNomEdit("VolumeNaOH");  // 8 characters at most
  EXPECT_EQ(dlg->NomEdit, "VolumeNa");
  dlg->SetNomEdit("ΔVµ");
  dlg->modeIncrementCBClick(true);
  dlg->DeltaVedit = "0,25";
  dlg->VminiSE.Set(25);
  dlg->vmaxiSE.Set(300);
  dlg->TMiniSEChange(3);
  dlg->TmaxiSEChange(12);
  dlg->SensibleEdit = "20";
  dlg->SetPrefixeSensible(1);
  dlg->StableEdit = "20";
  dlg->SetPrefixeStable(2);
  B().UniteGrandeur = "cm3";
  ASSERT_TRUE(dlg->OKBtnClick());
  const TburetteRS232& b = B();
  EXPECT_EQ(b.SymboleGrandeur, "ΔVµ");
  EXPECT_EQ(b.UniteGrandeur, "mL");
  EXPECT_TRUE(b.modeIncrement);
  EXPECT_DOUBLE_EQ(b.incrementVolume, 0.25);
  EXPECT_DOUBLE_EQ(b.VolumeMin, 0.025);
  EXPECT_DOUBLE_EQ(b.VolumeMax, 0.3);
  EXPECT_EQ(b.DeltatMin, 3);
  EXPECT_EQ(b.DeltatMax, 12);
  EXPECT_DOUBLE_EQ(b.ecartSensible, 0.02);
  EXPECT_DOUBLE_EQ(b.ecartStable, 2e-5);
  // The section is in the device file.
  const TFichierIni ini(base.NomFichierIni());
  ASSERT_TRUE(ini.Lisible());
  EXPECT_DOUBLE_EQ(ini.LitReel("BuretteRS232", "dVMax", 0), 0.3);
  EXPECT_EQ(ini.LitEntier("BuretteRS232", "dtMax", 0), 12);
  EXPECT_EQ(ini.LitTexte("BuretteRS232", "Unité", ""), "mL");
}

struct CasRefus {
  const char* nom;
  bool increment;
  const char* deltaV;
  const char* sensible;
  const char* stable;
  const char* focus;
};
class OKRefuse : public BuretteDlg, public ::testing::WithParamInterface<CasRefus> {};

TEST_P(OKRefuse, NombreMalEcrit) {
  const CasRefus& c = GetParam();
  dlg->FormActivate();
  const double sensible = B().ecartSensible, stable = B().ecartStable, increment = B().incrementVolume;
  dlg->modeIncrementCBClick(c.increment);
  dlg->DeltaVedit = c.deltaV;
  dlg->SensibleEdit = c.sensible;
  dlg->StableEdit = c.stable;
  dlg->VminiSE.Set(30);
  EXPECT_FALSE(dlg->OKBtnClick());
  EXPECT_EQ(p.dialogue.Messages().back(), "Nombre mal écrit");
  EXPECT_EQ(dlg->Focus, c.focus);
  // Nothing was stored.
  EXPECT_EQ(B().ecartSensible, sensible);
  EXPECT_EQ(B().ecartStable, stable);
  EXPECT_EQ(B().incrementVolume, increment);
  EXPECT_NE(B().VolumeMin, 0.03);
}

INSTANTIATE_TEST_SUITE_P(Cas, OKRefuse,
                         ::testing::Values(CasRefus{"Sensibilite", false, "", "x", "0,01", "SensibleEdit"},
                                           CasRefus{"Stabilite", false, "", "0,1", "", "StableEdit"},
                                           CasRefus{"IncrementConstant", true, "beaucoup", "0,1", "0,01", "DeltaVedit"}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(BuretteDlg, UnPetitIncrementRevientTelQuelApresOK) {
  // The increment field has no prefix choice: it shows and reads millilitres.
  for (const double increment : {5e-5, 5e-8, 0.25}) {
    B().modeIncrement = true;
    B().incrementVolume = increment;
    dlg->FormActivate();
    ASSERT_TRUE(dlg->OKBtnClick());
    EXPECT_DOUBLE_EQ(B().incrementVolume, increment) << dlg->DeltaVedit;
  }
}

TEST_F(BuretteDlg, IncrementIllisibleSansModeConstantGardeLAncien) {
  B().incrementVolume = 0.4;
  dlg->FormActivate();
  dlg->modeIncrementCBClick(false);
  dlg->DeltaVedit = "n'importe";
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_DOUBLE_EQ(B().incrementVolume, 0.4);
  EXPECT_FALSE(B().modeIncrement);
}

TEST_F(BuretteDlg, FichierImpossibleAEcrire) {
  // The program folder is a file: the device file cannot be written there.
  std::filesystem::remove_all("programme");
  { std::ofstream("programme") << "x"; }
  dlg->FormActivate();
  EXPECT_TRUE(dlg->OKBtnClick());
  ASSERT_FALSE(p.dialogue.Messages().empty());
  EXPECT_EQ(p.dialogue.Messages().back().rfind("Erreur d'écriture de ", 0), 0u) << p.dialogue.Messages().back();
  std::filesystem::remove("programme");
}
