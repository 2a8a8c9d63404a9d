// The acquisition mode dialog's rules, on the simulated platform: the interval and
// duration of the time base, the keyboard abscissa, the master-channel settings, the
// burette's port and its test, and the trace check box kept in the settings.
#include "banc/burette_simulee.h"
#include "banc/phmetre.h"
#include "core/banc_moteur.h"
#include "core/configuration.h"
#include "dialogs/balayage.h"
#include "dialogs/formats_dialogue.h"
#include "util/durees.h"
#include "instruments/burette.h"

namespace {
class Balayage : public TBancMoteur {
protected:
  void Prepare() {
    Demarre();
    moteur->TraceCB = false;
    dlg = std::make_unique<TBalayageDlg>(*moteur);
    dlg->FormCreate();
  }
  std::unique_ptr<TBalayageDlg> dlg;
};

struct CasIntervalle {
  const char* nom;
  std::int32_t duree;
  int intervalle;
  int attendu;
  const char* nombre;
};
class IntervalleDuBalayage : public Balayage, public ::testing::WithParamInterface<CasIntervalle> {};
}  // namespace

TEST_P(IntervalleDuBalayage, AjusteAuNombreDePoints) {
  const CasIntervalle& c = GetParam();
  Prepare();
  moteur->DureeMesure = c.duree;
  dlg->FormActivate();
  dlg->DeltatSpinChange(c.intervalle);
  EXPECT_EQ(moteur->DeltatMesure, c.attendu);
  EXPECT_EQ(dlg->DeltatSpin, c.attendu);
  EXPECT_EQ(dlg->NombreLabel, c.nombre);
}

INSTANTIATE_TEST_SUITE_P(Cas, IntervalleDuBalayage,
                         ::testing::Values(CasIntervalle{"TroisMilleSecondesUneSeconde", 3000, 1, 2, "N=1500"},
                                           CasIntervalle{"DeuxMinutesSoixanteSecondes", 120, 60, 15, "N=8"},
                                           CasIntervalle{"DeuxMinutesUneSeconde", 120, 1, 1, "N=120"},
                                           CasIntervalle{"QuatreMilleQuatreVingtDixHuit", 4098, 1, 3, "N=1366"},
                                           CasIntervalle{"QuatreMilleQuatreVingtDixSept", 4097, 1, 2, "N=2048"}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(Balayage, PasDeDureeAjusteIntervalle) {
  Prepare();
  moteur->DureeMesure = 7200;
  moteur->DeltatMesure = 1;
  dlg->FormActivate();  // the spin shows 1: the interval fits the duration first
  EXPECT_EQ(moteur->DeltatMesure, 4);
  moteur->DeltatMesure = 1;
  dlg->DureeSBUpClick();
  EXPECT_EQ(moteur->DureeMesure, 8100);
  EXPECT_EQ(moteur->DeltatMesure, 4);
  EXPECT_EQ(dlg->NombreLabel, "N=2025");
  EXPECT_EQ(dlg->Duree, "02:15:00");
  dlg->DureeSBDownClick();
  EXPECT_EQ(moteur->DureeMesure, 7200);
}

TEST_F(Balayage, DureeTapee) {
  Prepare();
  dlg->FormActivate();
  EXPECT_EQ(dlg->Duree, "00:02:00");
  // The separators stay where they are: ':' is not typed; letters are swallowed.
  for (char32_t c : {U':', U'a', U'x', U'Z', U'é'}) {
    char32_t t = c;
    dlg->DureeKeyPress(t);
    EXPECT_EQ(t, 0u) << static_cast<unsigned>(c);
  }
  for (char32_t c : {U'0', U'9', U' ', U'.', U'\b', U'm', U's', U'\u00B5'}) {
    char32_t t = c;
    dlg->DureeKeyPress(t);
    EXPECT_EQ(t, c);
  }
  dlg->Duree = "00:10:00";
  char32_t entree = 13;
  dlg->DureeKeyPress(entree);
  EXPECT_EQ(entree, 0u);
  EXPECT_EQ(moteur->DureeMesure, 600);
  EXPECT_EQ(dlg->NombreLabel, "N=600");
  // A typed duration too long for 2048 points at this interval widens the interval.
  dlg->Duree = "05:00:00";
  EXPECT_TRUE(dlg->DureeExit());
  EXPECT_EQ(moteur->DureeMesure, 18000);
  EXPECT_EQ(moteur->DeltatMesure, 9);
  EXPECT_LE(moteur->DureeMesure / moteur->DeltatMesure, 2048);
  // A text that is no duration: the error box, and the duration stays.
  dlg->Duree = "25:99:00";
  EXPECT_FALSE(dlg->DureeExit());
  EXPECT_EQ(p.dialogue.Messages().back(), "'25:99:00' n'est pas une heure correcte");
  EXPECT_EQ(moteur->DureeMesure, 18000);
  EXPECT_EQ(dlg->Duree, "05:00:00");
}

TEST_F(Balayage, PlusDeVingtQuatreHeures) {
  Prepare();
  moteur->DureeMesure = 60 * 2048;
  moteur->DeltatMesure = 60;
  dlg->DeltatSpin = 60;
  dlg->FormActivate();
  EXPECT_EQ(dlg->Duree, "34:08:00");
  EXPECT_EQ(LitDuree("34:08:00"), 122880);
  EXPECT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(moteur->DureeMesure, 122880);
}

TEST_F(Balayage, OKAvecDureeIncorrecteNeChangeRien) {
  Prepare();
  const std::string nom = moteur->Graphe->mondeX.Nom;
  dlg->FormActivate();
  dlg->ModeAcqRGClick(maClavier);
  dlg->EditNom = "V";
  dlg->Duree = "abc";
  EXPECT_FALSE(dlg->OKBtnClick());
  EXPECT_EQ(p.dialogue.Messages().back(), "'abc' n'est pas une heure correcte");
  EXPECT_EQ(moteur->ModeAcq, maTemps);
  EXPECT_EQ(moteur->Graphe->mondeX.Nom, nom);
  EXPECT_EQ(moteur->DureeMesure, 120);
  EXPECT_FALSE(dlg->modification);
}

struct CasBornes {
  const char* nom;
  const char* mini;
  const char* maxi;
  double attenduMini;
  double attenduMaxi;
};
class BornesClavier : public Balayage, public ::testing::WithParamInterface<CasBornes> {};

TEST_P(BornesClavier, AbscisseTapee) {
  const CasBornes& c = GetParam();
  Prepare();
  dlg->FormActivate();
  dlg->ModeAcqRGClick(maClavier);
  dlg->EditNom = "C";
  dlg->EditUnite = "mol/L";
  dlg->EditMin = c.mini;
  dlg->EditMax = c.maxi;
  ASSERT_TRUE(dlg->OKBtnClick());
  const Tmonde& X = moteur->Graphe->mondeX;
  EXPECT_EQ(X.Nom, "C");
  EXPECT_EQ(X.Unite, "mol/L");
  EXPECT_DOUBLE_EQ(X.mini, c.attenduMini);
  EXPECT_DOUBLE_EQ(X.maxi, c.attenduMaxi);
  EXPECT_EQ(moteur->ModeAcq, maClavier);
  EXPECT_TRUE(dlg->modification);
}

INSTANTIATE_TEST_SUITE_P(Cas, BornesClavier,
                         ::testing::Values(CasBornes{"Vides", "", "", 0, 5}, CasBornes{"Inversees", "10", "2", 2, 10},
                                           CasBornes{"VirguleEtPoint", "0,5", "2.5", 0.5, 2.5},
                                           CasBornes{"MaxiIllisible", "1", "deux", 1, 5}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(Balayage, ModificationEtRetourALaBaseDeTemps) {
  Prepare();
  moteur->DeltatMesure = 1;
  dlg->FormActivate();
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_FALSE(dlg->modification) << "nothing changed";
  dlg->FormActivate();
  dlg->DeltatSpinChange(2);
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_TRUE(dlg->modification);
  // A change reported once is not reported again by a later showing that changes
  // nothing: an OK would otherwise empty the table each time.
  dlg->FormActivate();
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_FALSE(dlg->modification);
  // The interval the spin showed at closing comes back, fitted to the duration.
  moteur->DeltatMesure = 5;
  dlg->FormActivate();
  EXPECT_EQ(moteur->DeltatMesure, 2);
  // A click on the burette's ports is a modification.
  dlg->ModificationClick();
  EXPECT_TRUE(dlg->modification);
}

TEST_F(Balayage, MaitreEtBip) {
  Prepare();
  dlg->FormActivate();
  dlg->ModeAcqRGClick(maAppareilMaitre);
  EXPECT_EQ(dlg->NoteBookPage, 2);
  dlg->AbscisseMaitreRG = amVoie0;
  dlg->SoundCBChange(3);
  EXPECT_EQ(moteur->CodeBeep, 3);
  dlg->SoundBtnClick();
  ASSERT_EQ(p.dialogue.Bips().size(), 1u);
  EXPECT_EQ(p.dialogue.Bips()[0], TBip::Exclamation);
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(moteur->Graphe->AbscisseMaitre, amVoie0);
  // Any other mode resets the abscissa to the time.
  dlg->FormActivate();
  EXPECT_EQ(dlg->AbscisseMaitreRG, amVoie0);
  EXPECT_EQ(dlg->SoundCB, 3);
  dlg->ModeAcqRGClick(maIncrement);
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(moteur->Graphe->AbscisseMaitre, amTemps);
  dlg->SoundCBChange(0);
  dlg->SoundBtnClick();
  EXPECT_EQ(p.dialogue.Bips().size(), 1u);
}

TEST_F(Balayage, TraceGardeeDansLesReglages) {
  p.reglages.Ecrit(configuration::CleFichierTrace, "Actif", "0");
  Prepare();
  EXPECT_FALSE(dlg->TraceCB);
  EXPECT_FALSE(moteur->TraceCB);
  dlg->TraceCB = true;
  dlg->FormClose();  // closing, whether OK or Cancel
  EXPECT_EQ(p.reglages.Lit(configuration::CleFichierTrace, "Actif"), "1");
  EXPECT_TRUE(moteur->TraceCB);
}

TEST_F(Balayage, TestDeLaBurette) {
  Branche(1, std::make_unique<TBuretteSimulee>());
  Branche(3, std::make_unique<TPhMetre>());
  Prepare();
  dlg->FormActivate();
  EXPECT_EQ(dlg->TestBuretteLabel, "Port Com de la burette non testé");
  ASSERT_EQ(dlg->ComPortsBuretteRS232.items, (std::vector<std::string>{"COM1", "COM3"}));
  EXPECT_EQ(dlg->ComPortsBuretteRS232.itemIndex, 0);  // the burette's own COM1
  dlg->ComPortsBuretteRS232.itemIndex = 1;
  dlg->TestBuretteBtnClick();
  EXPECT_EQ(dlg->TestBuretteLabel, "Burette Schott Titronic non trouvée");
  EXPECT_TRUE(dlg->TestBuretteBtnEnabled);
  dlg->ComPortsBuretteRS232.itemIndex = 0;
  dlg->TestBuretteBtnClick();
  EXPECT_NE(dlg->TestBuretteLabel.find("TITRONIC universal"), std::string::npos) << dlg->TestBuretteLabel;
  EXPECT_TRUE(base.Burette().Initialisee());
  EXPECT_FALSE(moteur->Vue().Sablier());
  dlg->ComPortsBuretteRS232.itemIndex = -1;
  dlg->TestBuretteBtnClick();
  EXPECT_EQ(dlg->TestBuretteLabel, "Pas de voie série sélectionnée");
  dlg->ComPortsBuretteRS232.itemIndex = 0;
  dlg->ModeAcqRGClick(maBuretteRS232);
  base.Burette().prefixe = "99";
  ASSERT_TRUE(dlg->OKBtnClick());
  EXPECT_EQ(base.Burette().ComNumber, 1);
  EXPECT_EQ(base.Burette().prefixe, "01");
  EXPECT_EQ(moteur->ModeAcq, maBuretteRS232);
}

TEST_F(Balayage, SansPortLeGroupeLeDit) {
  Prepare();
  dlg->FormActivate();
  EXPECT_TRUE(dlg->ComPortsBuretteRS232.items.empty());
  EXPECT_EQ(dlg->ComPortsBuretteRS232.caption, "Attention : aucune voie série trouvée");
  dlg->TestBuretteBtnClick();
  EXPECT_EQ(dlg->TestBuretteLabel, "Pas de voie série sélectionnée");
}
