// The engine's creation, preparation, binding and shut-down on the simulated platform.
#include <cmath>

#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/banc_moteur.h"

namespace {
class Moteur : public TBancMoteur {};
}  // namespace

TEST_F(Moteur, CreationSansReglages) {
  TCinetiqueMain& m = Demarre();
  EXPECT_TRUE(m.ListeAppRecent);
  EXPECT_TRUE(m.OldAppareilAcq.empty());
  EXPECT_EQ(m.indexFichierTrace, 1);
  EXPECT_EQ(m.voieSerieCin[3]->TraceName(), "rs232-3-b.trc");
  EXPECT_EQ(m.voieSerieCin[50]->LogName(), "rs232-50-b.log");
  EXPECT_EQ(m.DureeMesure, 120);
  EXPECT_EQ(m.DeltatMesure, 1);
  EXPECT_EQ(m.EtatAcq, eaNone);
  EXPECT_FALSE(m.MinuteriePrincipale().Actif());
  EXPECT_EQ(m.Vue().Controle(ctl::DeltaLabel).caption, "δt(s)");
  EXPECT_FALSE(Actif(ctl::EnregistreBtn));
}

TEST_F(Moteur, IndexDeTraceTourneApres16) {
  p.reglages.EcritEntier("Software\\RS232\\FichierTrace", "Index", 16);
  TCinetiqueMain& m = Demarre();
  EXPECT_EQ(m.indexFichierTrace, 0);
  EXPECT_EQ(m.voieSerieCin[1]->TraceName(), "rs232-1-a.trc");
  EXPECT_TRUE(m.FormClose());
  EXPECT_EQ(p.reglages.LitEntier("Software\\RS232\\FichierTrace", "Index", -1), 0);
}

TEST_F(Moteur, AttentesDesVoiesSurUnMemePort) {
  Branche(3, std::make_unique<TPhMetre>());
  ModelePh("a", 3, "PH?\r", 100);
  ModelePh("b", 3, "PH?\r", 200);
  ModelePh("c", 3, "PH?\r", 300);
  Demarre();
  Voies({"a", "b", "c"});
  EXPECT_EQ(Modele("a").Attente, 0);
  EXPECT_EQ(Modele("b").Attente, 100);
  EXPECT_EQ(Modele("c").Attente, 300);
  EXPECT_EQ(moteur->DeltatMin, 1);
  EXPECT_EQ(moteur->EtatAcq, eaAttente);
}

TEST_F(Moteur, DeltatMinSommeSansDebordement) {
  struct Cas {
    const char* nom;
    int voies;
    std::uint16_t delai;
    bool memePort;
    int deltatMin;
  };
  const Cas cas[] = {
      {"deux ports de 1500 ms", 2, 1500, false, 4},
      {"neuf voies de 8000 ms", 9, 8000, false, 73},
  };
  PortMuet(3);
  PortMuet(4);
  Demarre();
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    std::vector<std::string> noms;
    for (int i = 0; i < c.voies; ++i) {
      const std::string nom = std::string(c.nom) + std::to_string(i);
      ModelePh(nom, c.memePort || i % 2 == 0 ? 3 : 4, "PH?\r", c.delai);
      noms.push_back(nom);
    }
    Voies(noms);
    EXPECT_EQ(moteur->DeltatMin, c.deltatMin);
    EXPECT_GE(moteur->MinuteriePrincipale().Intervalle(), c.deltatMin * 1000);
    EXPECT_EQ(moteur->Vue().Controle(ctl::DeltatSE).mini, c.deltatMin);
  }
}

TEST_F(Moteur, PortAbsentRemplaceParLePremierPresent) {
  Branche(7, std::make_unique<TPhMetre>());
  ModelePh("a", 3);
  Demarre();
  Voies({"a"});
  EXPECT_EQ(Modele("a").ComNumber, 7);
  EXPECT_TRUE(Modele("a").VoieSerieOK);
  EXPECT_TRUE(moteur->voieSerieCin[7]->Open());
}

TEST_F(Moteur, PortAbsentJamaisDeplaceSurUnPortDejaPris) {
  Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.0)));
  Branche(5, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(4.0)));
  ModelePh("a", 3);
  // Two channels of one instrument on an absent port; another one after them on COM3.
  ModelePh("b", 9);
  ModelePh("b2", 9, "TM?\r").ValMaxi = 100;
  ModelePh("c", 3, "MV?\r");
  Demarre();
  Voies({"b", "a", "b2", "c"});
  // Not onto COM3, which channels 1 and 3 use; both channels of the absent port follow it.
  EXPECT_EQ(Modele("b").ComNumber, 5);
  EXPECT_EQ(Modele("b2").ComNumber, 5);
  EXPECT_EQ(Modele("a").ComNumber, 3);
  moteur->TimerTimer();
  p.boucle.Avance(1000);
  EXPECT_DOUBLE_EQ(Modele("a").ValeurCourante, 7.0);
  EXPECT_DOUBLE_EQ(Modele("b").ValeurCourante, 4.0);

  // With no free port left the channel stays unbound rather than take a used one.
  ModelePh("d", 11);
  Voies({"a", "b", "d"});
  EXPECT_FALSE(Modele("d").VoieSerieOK);
  EXPECT_EQ(Modele("d").VoieSerie, nullptr);
}

TEST_F(Moteur, SansAucunPortLaVoieResteLibreEtLEtatEnAttente) {
  ModelePh("a", 3);
  Demarre();
  Voies({"a"});
  EXPECT_FALSE(Modele("a").VoieSerieOK);
  EXPECT_EQ(Modele("a").VoieSerie, nullptr);
  EXPECT_EQ(moteur->EtatAcq, eaAttente);
  std::vector<std::string> items;
  int index = -1;
  std::string titre;
  moteur->SetRS232RG(items, index, titre, 3);
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(titre, "Attention : aucune voie série trouvée");
}

TEST_F(Moteur, ListeDesPortsEtNumeroCom) {
  PortMuet(2);
  PortMuet(5);
  Demarre();
  std::vector<std::string> items;
  int index = -1;
  std::string titre;
  moteur->SetRS232RG(items, index, titre, 5);
  EXPECT_EQ(items, (std::vector<std::string>{"COM2", "COM5"}));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(titre, "Voie série");
  EXPECT_EQ(moteur->NumeroCom(1), 5);
  moteur->SetRS232RG(items, index, titre, 9);
  EXPECT_EQ(index, 0);
}

TEST_F(Moteur, NumeroComHorsBornesEstUnPortAbsent) {
  ModelePh("a", 77);
  Demarre();
  Voies({"a"});
  EXPECT_FALSE(Modele("a").VoieSerieOK);
}

TEST_F(Moteur, SimulationWTWNOuvreAucunPort) {
  Demarre();
  Voies({"pH-mètre WTW 3310 (simulation)"});
  EXPECT_TRUE(moteur->SimulationWTW);
  EXPECT_TRUE(moteur->TimerWTW1->Actif());
  for (int com = 1; com <= 50; ++com) EXPECT_FALSE(moteur->voieSerieCin[static_cast<std::size_t>(com)]->Open());
}

TEST_F(Moteur, FermetureAvecDonneesNonSauvees) {
  Branche(3, std::make_unique<TPhMetre>());
  ModelePh("a", 3);
  Demarre();
  Voies({"a"});
  moteur->EnregistreBtnClick();
  EXPECT_TRUE(moteur->MinuteriePrincipale().Actif());
  moteur->dataSaved = false;
  p.dialogue.AttendConfirmation("Données non sauvées, quitter ?", false);
  EXPECT_FALSE(moteur->FormClose());
  // Staying keeps the acquisition running.
  EXPECT_TRUE(moteur->MinuteriePrincipale().Actif());
  p.dialogue.AttendConfirmation("Données non sauvées, quitter ?", true);
  EXPECT_TRUE(moteur->FormClose());
  EXPECT_FALSE(moteur->voieSerieCin[3]->Open());
}

TEST_F(Moteur, AppareilsRecentsALaFermeture) {
  const std::string cle = "Software\\RS232\\AppareilRecent";
  p.reglages.EcritEntier(cle, "Nombre", 8);
  for (int i = 0; i < 8; ++i) p.reglages.Ecrit(cle, "N" + std::to_string(i), std::string(1, static_cast<char>('b' + i)));
  for (const char* nom : {"x1", "x2", "x3"}) ModelePh(nom, 3);
  Demarre();
  Voies({"x1", "x2", "x3"});
  EXPECT_TRUE(moteur->FormClose());
  EXPECT_EQ(p.reglages.LitEntier(cle, "Nombre", 0), 10);
  EXPECT_EQ(p.reglages.LitTexte(cle, "N0", ""), "c");  // "b", the first in order, went
  EXPECT_EQ(p.reglages.LitTexte(cle, "N9", ""), "x3");
}

namespace {
// The USB meters' library, loaded, with the meters a test plugs in.
class TUSBFactice final : public TAdaptateurs {
public:
  bool UsbCharge() const override { return true; }
  std::vector<TMetreUSB> EnumereUSB() override { return metres; }
  bool LieUSB(Tappareil&) override { return true; }
  std::vector<TMetreUSB> metres;
};
}  // namespace

TEST_F(Moteur, ConductimetreUSBDetecteALaPremiereActivation) {
  TUSBFactice usb;
  moteur = std::make_unique<TCinetiqueMain>(p.Plateforme(), base, table, &usb);
  moteur->FormCreate();
  moteur->FormActivate();  // nothing connected yet
  EXPECT_EQ(moteur->NbreVoies(), 0);
  usb.metres = {{601, "/dev/hidraw0", true}};
  moteur->FormActivate();  // a meter appeared
  ASSERT_EQ(moteur->NbreVoies(), 1);
  EXPECT_EQ(moteur->Voie(0), base.AppareilConductivite);
  EXPECT_EQ(base.AppareilConductivite->pathOrigalys, "/dev/hidraw0");
  EXPECT_EQ(p.dialogue.Messages().back(), "Ajout conductimètre OCD218");
  EXPECT_EQ(moteur->EtatAcq, eaAttente);
  const auto messages = p.dialogue.Messages().size();
  moteur->FormActivate();  // the same meter: no second detection, no second message
  EXPECT_EQ(p.dialogue.Messages().size(), messages);
}

TEST_F(Moteur, DetectionUSBNeVidePasUneTableNonSauvee) {
  TUSBFactice usb;
  moteur = std::make_unique<TCinetiqueMain>(p.Plateforme(), base, table, &usb);
  moteur->FormCreate();
  moteur->Graphe->NbrePoints = 5;
  moteur->dataSaved = false;
  usb.metres = {{601, "/dev/hidraw0", true}};
  p.dialogue.AttendConfirmation("Perte des données courantes ?", false);
  moteur->FormActivate();
  EXPECT_EQ(moteur->Graphe->NbrePoints, 5);
  EXPECT_EQ(moteur->NbreVoies(), 0);
}
