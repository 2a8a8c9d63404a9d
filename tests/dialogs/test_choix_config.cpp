// The device list dialog's rules and the add-from-file dialog's: the list, creating,
// editing, deleting (a channel's definition included), saving and the question on
// closing, and models copied from another device file.
#include <filesystem>
#include <fstream>

#include "core/banc_moteur.h"
#include "dialogs/choix_cfg_app.h"
#include "dialogs/choix_config.h"
#include "instruments/base_appareils.h"
#include "util/cp1252.h"
#include "util/fichiers.h"

namespace {
const std::string PH = "Banc virtuel pH-mètre";

class ChoixConfig : public TBancMoteur {
protected:
  void SetUp() override {
    Demarre();
    dlg = std::make_unique<TChoixConfigDlg>(*moteur);
    dlg->EditeAppareil = [this] {
      ++editions;
      edite = dlg->ConfigDlg.AppareilCourant;
      if (edition) edition(*edite);
      return reponseEditeur;
    };
    dlg->EditeSysam = [this] {
      ++editionsSysam;
      return true;
    };
    dlg->FormActivate();
  }
  int Ligne(const std::string& nom) const {
    const auto& l = base.ListeAppareils;
    for (std::size_t i = 0; i < l.size(); ++i)
      if (l[i]->NomAppareil == nom) return static_cast<int>(i);
    return -1;
  }
  // The database as the next start reads it.
  std::vector<std::string> NomsAuDemarrage() {
    TBaseAppareils autre(p.boucle, (std::filesystem::current_path() / "programme").string());
    std::string message;
    EXPECT_TRUE(autre.ChargeAppareils(message));
    std::vector<std::string> noms;
    for (const auto& a : autre.ListeAppareils) noms.push_back(a->NomAppareil);
    return noms;
  }
  static bool Contient(const std::vector<std::string>& noms, const std::string& nom) {
    return std::find(noms.begin(), noms.end(), nom) != noms.end();
  }
  std::unique_ptr<TChoixConfigDlg> dlg;
  int editions = 0, editionsSysam = 0;
  bool reponseEditeur = true;
  Tappareil* edite = nullptr;
  std::function<void(Tappareil&)> edition;
};
}  // namespace

TEST_F(ChoixConfig, ListeALOuverture) {
  ASSERT_EQ(dlg->ListBoxAppareil.size(), base.ListeAppareils.size());
  EXPECT_EQ(dlg->ListBoxAppareil[static_cast<std::size_t>(Ligne(PH))], PH + " pH");
  EXPECT_EQ(dlg->ListBoxIndex, 0);
  EXPECT_TRUE(dlg->DelBtnVisible);
  EXPECT_FALSE(dlg->DelBtnEnabled);
  EXPECT_TRUE(dlg->ModifBtnEnabled);
  EXPECT_FALSE(dlg->modif);
  dlg->ListBoxAppareilClick(Ligne(PH));
  EXPECT_TRUE(dlg->DelBtnEnabled);
  dlg->ListeAppRecentCBClick(false);
  EXPECT_FALSE(moteur->ListeAppRecent);
}

TEST_F(ChoixConfig, AjoutManuelSurUneCopie) {
  const std::size_t avant = base.ListeAppareils.size();
  dlg->ListBoxAppareilClick(Ligne(PH));
  reponseEditeur = false;
  dlg->CreerBtnClick();
  ASSERT_EQ(editions, 1);
  EXPECT_EQ(base.ListeAppareils.size(), avant);  // cancelled: nothing added
  EXPECT_FALSE(dlg->modif);
  reponseEditeur = true;
  edition = [](Tappareil& a) {
    // The copy starts with the selected model's fields, its name included.
    EXPECT_EQ(a.NomAppareil, PH);
    EXPECT_EQ(a.Demande, "PH?\r");
    a.NomAppareil = "Mon pH-mètre";
  };
  dlg->CreerBtnClick();
  ASSERT_EQ(base.ListeAppareils.size(), avant + 1);
  EXPECT_EQ(base.ListeAppareils.back()->NomAppareil, "Mon pH-mètre");
  EXPECT_EQ(dlg->ListBoxAppareil.back(), "Mon pH-mètre pH");
  EXPECT_TRUE(dlg->modif);
  EXPECT_NE(base.ChercheAppareil(PH), nullptr);
}

TEST_F(ChoixConfig, VoirModifierSelonLeGenre) {
  dlg->ListBoxAppareilClick(Ligne("OPH218 USB (pH)"));
  dlg->ModifBtnClick();
  EXPECT_EQ(editions + editionsSysam, 0);  // a USB meter opens nothing
  base.ListeAppareils.push_back(std::make_unique<Tappareil>());
  base.ListeAppareils.back()->NomAppareil = "Boîtier EA0";
  base.ListeAppareils.back()->isSysam = true;
  dlg->FormActivate();
  dlg->ListBoxAppareilClick(Ligne("Boîtier EA0"));
  dlg->ModifBtnClick();
  EXPECT_EQ(editionsSysam, 1);
  EXPECT_EQ(dlg->ConfigSysamDlg.AppareilCourant, base.ListeAppareils.back().get());
  EXPECT_TRUE(dlg->modif);
  dlg->modif = false;
  dlg->ListBoxAppareilClick(Ligne(PH));
  dlg->ModifBtnClick();
  EXPECT_EQ(editions, 1);
  EXPECT_EQ(edite, base.ChercheAppareil(PH));
  EXPECT_TRUE(dlg->modif);
}

TEST_F(ChoixConfig, SuppressionNonSauvee) {
  dlg->ListBoxAppareilClick(Ligne(PH));
  p.dialogue.AttendConfirmation("Suppression de " + PH, false);
  dlg->DelBtnClick();
  EXPECT_NE(base.ChercheAppareil(PH), nullptr);
  p.dialogue.AttendConfirmation("Suppression de " + PH, true);
  dlg->DelBtnClick();
  EXPECT_EQ(base.ChercheAppareil(PH), nullptr);
  EXPECT_TRUE(dlg->modif);
  p.dialogue.AttendConfirmation("Sauvegarde des modifications", false);
  dlg->FormCloseQuery();
  EXPECT_TRUE(p.dialogue.ScriptEpuise());
  // Kept in memory only: the next start has it again.
  EXPECT_TRUE(Contient(NomsAuDemarrage(), PH));
}

TEST_F(ChoixConfig, EnregistrerPuisFermer) {
  dlg->ListBoxAppareilClick(Ligne(PH));
  p.dialogue.AttendConfirmation("", true);
  dlg->DelBtnClick();
  int sablier = 0;
  dlg->Sablier = [&](bool on) { sablier += on ? 1 : -1; };
  dlg->EnregistreBtnClick();
  EXPECT_EQ(sablier, 0);
  EXPECT_FALSE(dlg->modif);
  dlg->FormCloseQuery();  // nothing to ask
  EXPECT_FALSE(Contient(NomsAuDemarrage(), PH));
}

TEST_F(ChoixConfig, SauvegardeALaFermeture) {
  dlg->BuretteRS232BtnClick();  // no dialog: nothing changes
  EXPECT_FALSE(dlg->modif);
  dlg->ReglageBurette = [] { return true; };
  dlg->BuretteRS232BtnClick();
  EXPECT_TRUE(dlg->modif);
  p.dialogue.AttendConfirmation("Sauvegarde des modifications", true);
  dlg->FormCloseQuery();
  EXPECT_FALSE(dlg->modif);
  EXPECT_TRUE(std::filesystem::exists(base.NomFichierIni()));
}

TEST_F(ChoixConfig, DefinitionDUneVoieSupprimee) {
  ModelePh("Autre pH", 3);
  Voies({"Banc virtuel balance", PH, "Autre pH"});
  dlg->FormActivate();
  dlg->ListBoxAppareilClick(Ligne(PH));
  p.dialogue.AttendConfirmation("", true);
  dlg->DelBtnClick();
  // The channel goes: no channel refers to the released definition.
  ASSERT_EQ(moteur->NbreVoies(), 2);
  EXPECT_EQ(moteur->Voie(0)->NomAppareil, "Banc virtuel balance");
  EXPECT_EQ(moteur->Voie(1)->NomAppareil, "Autre pH");
  EXPECT_EQ(moteur->AppareilAcq[2], nullptr);
  moteur->InitAttente();
  EXPECT_FALSE(moteur->Vue().Controle(ctl::GroupBox(2)).visible);
}

TEST_F(ChoixConfig, DerniereDefinition) {
  while (base.ListeAppareils.size() > 2) base.ListeAppareils.pop_back();
  base.AppareilPH = base.AppareilTension = base.AppareilConductivite = nullptr;
  dlg->FormActivate();
  dlg->ListBoxAppareilClick(0);
  p.dialogue.AttendConfirmation("", true);
  dlg->DelBtnClick();
  EXPECT_EQ(base.ListeAppareils.size(), 1u);
  EXPECT_FALSE(dlg->DelBtnVisible);
  dlg->ListBoxAppareilClick(0);
  EXPECT_FALSE(dlg->DelBtnVisible);
  dlg->DelBtnClick();  // never the last one, whatever calls it
  EXPECT_EQ(base.ListeAppareils.size(), 1u);
}

TEST_F(ChoixConfig, AjoutDepuisUnFichier) {
  {
    std::ofstream f("autres.ini", std::ios::binary);
    f << Utf8VersCp1252(
        "[Index]\r\n0=Thermomètre X\r\n1=Banc virtuel pH-mètre\r\n2=Thermomètre Y\r\n3=Balance Z\r\n\r\n"
        "[Thermomètre X]\r\nNom=température\r\nSymbole=T\r\nUnité=°C\r\nDemande=T?|CR|\r\n\r\n"
        "[Banc virtuel pH-mètre]\r\nNom=pH\r\nSymbole=pH\r\nDelai=700\r\n\r\n"
        "[Thermomètre Y]\r\nNom=Température\r\nSymbole=T\r\n\r\n"
        "[Balance Z]\r\nNom=masse\r\nSymbole=m\r\n");
  }
  const std::size_t avant = base.ListeAppareils.size();
  dlg->AjoutFichier = [&] {
    TChoixCfgAppDlg ajout(base, p.dialogue);
    ajout.FormActivate();
    EXPECT_FALSE(ajout.GrandeurEnabled);
    EXPECT_FALSE(ajout.AddBtnEnabled);
    p.dialogue.AttendFichier("", "autres.ini", false);
    ajout.OpenBtnClick();
    EXPECT_FALSE(ajout.GrandeurEnabled);
    p.dialogue.AttendFichier("", "autres.ini");
    ajout.OpenBtnClick();
    EXPECT_EQ(ajout.GrandeurItems, (std::vector<std::string>{"température", "pH", "masse"}));
    EXPECT_EQ(ajout.GrandeurIndex, 0);
    EXPECT_EQ(ajout.ListeAppareilItems, (std::vector<std::string>{"Thermomètre X", "Thermomètre Y"}));
    EXPECT_EQ(ajout.ListeAppareilIndex, 1);
    EXPECT_TRUE(ajout.AddBtnEnabled);
    ajout.AddBtnClick();
    ajout.GrandeurComboChange(1);
    EXPECT_EQ(ajout.ListeAppareilItems, (std::vector<std::string>{PH}));
    ajout.AddBtnClick();
    return ajout.NbreAjouts;
  };
  dlg->AddBtnClick();
  ASSERT_EQ(base.ListeAppareils.size(), avant + 2);
  EXPECT_EQ(base.ListeAppareils[avant]->NomAppareil, "Thermomètre Y");
  // The name it had in the file, even though the database has one of that name.
  EXPECT_EQ(base.ListeAppareils[avant + 1]->NomAppareil, PH);
  EXPECT_EQ(base.ListeAppareils[avant + 1]->Delai, 700);
  // Offered for saving, and shown.
  EXPECT_TRUE(dlg->modif);
  EXPECT_EQ(dlg->ListBoxAppareil.size(), avant + 2);
  dlg->EnregistreBtnClick();
  const auto noms = NomsAuDemarrage();
  EXPECT_TRUE(Contient(noms, "Thermomètre Y"));
  EXPECT_TRUE(Contient(noms, PH));
  EXPECT_TRUE(Contient(noms, PH + " (pH)"));
}
