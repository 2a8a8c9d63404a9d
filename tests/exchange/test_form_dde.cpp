// The link with the analysis program on the simulated platform: the server's
// commands, the transfers with their waits and messages, the page and saved flags,
// and an acquisition asked for by the analysis program and sent back at its end.
#include <fstream>

#include "banc_echange.h"
#include "core/instance_unique.h"
#include "exchange/commande_dde.h"
#include "exchange/texte_donnees.h"

namespace {
using TGenre = TDialogueScripte::TGenre;

class FormDDE : public TBancEchange {
protected:
  FormDDE() { EXPECT_TRUE(dde->FormCreate()); }

  // What the analysis program sends, through its own side of the link.
  TLiaisonIPC::TResultat Envoie(const std::string& commande) {
    return tracoria.Execute("Pelitrax", "ServeurDDE", "", commande, 5000);
  }
  std::vector<std::string> Messages() const { return p.dialogue.Messages(); }
  std::vector<std::string> Questions() const {
    std::vector<std::string> q;
    for (const auto& e : p.dialogue.Journal())
      if (e.genre == TGenre::Confirme) q.push_back(e.texte);
    return q;
  }
  // Recorded, unsaved points.
  void TableauNonSauve() {
    Tableau();
    moteur->dataSaved = false;
  }
  std::vector<std::string> ServicesEssayes() const {
    std::vector<std::string> s;
    for (const auto& e : p.ipc.Envois()) s.push_back(e.service);
    return s;
  }
};

const std::string Impossible = "Impossible de lancer Tracoria";
const std::string NonExecute = "Transfert non exécuté";
}  // namespace

// ---- the server

TEST_F(FormDDE, ServeurSousLeNomDuProgramme) {
  EXPECT_EQ(dde->NomService(), "Pelitrax");
  EXPECT_TRUE(dde->ServeurActif());
  moteur->PagePermise = true;
  // The analysis program may spell the service in any case.
  EXPECT_EQ(tracoria.Execute("PELITRAX", "serveurdde", "", "FOCUS", 1000), TLiaisonIPC::TResultat::Accepte);
  EXPECT_EQ(focus, 1);
  EXPECT_FALSE(moteur->PagePermise);
  // Another running copy of the program keeps the name: this one gets no server.
  p.ipc.ArreteEcoute();
  TLiaisonIPCSimulee autreCopie(p.boucle);
  ASSERT_TRUE(autreCopie.Ecoute("pelitrax", "ServeurDDE", [](const std::string&) { return false; }));
  EXPECT_FALSE(dde->FormCreate());
  EXPECT_FALSE(dde->ServeurActif());
  EXPECT_EQ(Envoie("FOCUS"), TLiaisonIPC::TResultat::Refuse);
  EXPECT_EQ(focus, 1);
}

// A second copy started without a file only brings this one to the front: the next
// "Nouvelle page" transfer must stay a new page.
TEST_F(FormDDE, SecondeCopieSansFichierNeChangeRienAuTransfert) {
  const auto verrou = p.verrous.Prend(TInstanceUnique::NomVerrou);
  moteur->PagePermise = true;
  TLiaisonIPCSimulee ipcSeconde(p.boucle);
  TInstanceUnique seconde(p.verrous, &ipcSeconde);
  EXPECT_FALSE(seconde.VerifieInstanceUnique(CheminProgramme, {}).continuer);
  EXPECT_EQ(focus, 1);
  EXPECT_TRUE(moteur->PagePermise);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FormDDE, NomDuServiceCoupeAuPremierPoint) {
  const std::pair<const char*, const char*> cas[] = {
      {"/opt/pelitrax/Pelitrax.exe", "Pelitrax"},
      {"C:\\Programmes\\RS232\\Pelitrax.exe", "Pelitrax"},
      {"/usr/bin/pelitrax", "pelitrax"},
      {"/x/pelitrax.v2.bin", "pelitrax"},
  };
  for (const auto& [chemin, service] : cas) {
    TFormDDE f(*moteur, chemin);
    EXPECT_EQ(f.NomService(), service) << chemin;
  }
}

TEST_F(FormDDE, CommandesDuServeur) {
  struct Cas {
    const char* nom;
    std::string octets;
    bool accepte;
    std::vector<std::string> charges, sauves;
    std::vector<std::string> messages;
  };
  const std::string inconnue = "RS232/Pelitrax Fonction inconnue : ";
  const std::string syntaxe = "RS232/Pelitrax : erreur syntaxe macro DDE";
  const Cas cas[] = {
      {"chargement en minuscules", "file|load(C:\\x.rs2)", true, {"C:\\x.rs2"}, {}, {}},
      {"chargement de configuration", "CONFIG|LOAD(a b/essai.rs2)", true, {"a b/essai.rs2"}, {}, {}},
      {"chargement d'un fichier absent", "FILE|LOAD(absent.rs2)", false, {}, {}, {}},
      {"chargement avec fin de ligne", "FILE|LOAD(x.rs2)\r\n", true, {"x.rs2"}, {}, {}},
      {"sauvegarde", "FILE|SAVE(b.rs2)", true, {}, {"b.rs2"}, {}},
      {"sauvegarde de configuration", "Config|Save(c)", true, {}, {"c"}, {}},
      {"blanc avant la parenthese", "FILE|LOAD (x)", false, {}, {}, {inconnue + "FILE|LOAD (x)"}},
      {"blanc apres GETDATA", "GETDATA ", false, {}, {}, {inconnue + "GETDATA "}},
      {"verbe inconnu", "CLIP|LOAD", false, {}, {}, {inconnue + "CLIP|LOAD"}},
      {"deux lignes", "FOCUS\r\nGETDATA", false, {}, {}, {"Un message à la fois SVP"}},
      {"aucune ligne", "", false, {}, {}, {"Un message à la fois SVP"}},
      {"chargement sans nom", "FILE|LOAD()", false, {}, {}, {syntaxe}},
      {"sauvegarde sans nom", "FILE|SAVE", false, {}, {}, {syntaxe}},
      // Bytes that are no command are refused without bothering anyone.
      {"octets de controle", "FILE|LOAD(\x01\x02)", false, {}, {}, {}},
      {"message trop long", "FILE|LOAD(" + std::string(100000, 'x') + ")", false, {}, {}, {}},
  };
  std::filesystem::create_directories("a b");
  for (const char* f : {"C:\\x.rs2", "a b/essai.rs2", "x.rs2"}) std::ofstream(f) << "[Acquisition]\r\n";
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    charges.clear();
    sauves.clear();
    p.dialogue.VideJournal();
    moteur->PagePermise = true;
    EXPECT_EQ(dde->RecoitCommande(c.octets), c.accepte);
    // The answer goes back before any box is shown or any file touched.
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(charges.empty());
    EXPECT_TRUE(sauves.empty());
    p.boucle.TraiteEnAttente();
    EXPECT_EQ(charges, c.charges);
    EXPECT_EQ(sauves, c.sauves);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(focus, 0);
    EXPECT_TRUE(moteur->PagePermise);
    for (const auto& e : p.dialogue.Journal()) EXPECT_EQ(e.genre, TGenre::Erreur);
  }
  // Nothing else was posted behind the commands (no acquisition prepared).
  p.boucle.TraiteEnAttente();
  EXPECT_FALSE(moteur->AppelTracoria);
}

// A flood of bad commands is answered at once and gives one box, not a pile of them.
TEST_F(FormDDE, DesCommandesRefuseesEnRafaleDonnentUneSeuleBoite) {
  for (int i = 0; i < 50; ++i) EXPECT_FALSE(dde->RecoitCommande("INCONNU" + std::to_string(i)));
  EXPECT_TRUE(Messages().empty());
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(Messages(), std::vector<std::string>{"RS232/Pelitrax Fonction inconnue : INCONNU0"});
  // Once it is closed, the next one shows again.
  EXPECT_FALSE(dde->RecoitCommande("INCONNU"));
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(FormDDE, CommandeParLaLiaison) {
  std::ofstream("a.rs2") << "[Acquisition]\r\n";
  EXPECT_EQ(Envoie("FILE|LOAD(a.rs2)"), TLiaisonIPC::TResultat::Accepte);
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(charges, std::vector<std::string>{"a.rs2"});
  EXPECT_EQ(Envoie("FILE|LOAD (x)"), TLiaisonIPC::TResultat::Refuse);
  EXPECT_EQ(Envoie("FOCUS\r\nFOCUS"), TLiaisonIPC::TResultat::Refuse);
  EXPECT_EQ(focus, 0);
}

TEST_F(FormDDE, ConfigurationSauveePuisChargeeParLeServeur) {
  // The engine's own load and save, as FormCreate leaves them wired.
  TFormDDE reel(*moteur, CheminProgramme);
  Tappareil* modele = base.ListeAppareils.front().get();
  moteur->SetNbreVoies(1);
  moteur->AppareilAcq[0] = modele;
  moteur->DeltatMesure = 5;
  moteur->DureeMesure = 600;
  EXPECT_TRUE(reel.RecoitCommande("FILE|SAVE(essai)"));
  p.boucle.TraiteEnAttente();
  EXPECT_TRUE(std::filesystem::exists("essai.rs2"));
  moteur->DeltatMesure = 1;
  moteur->DureeMesure = 120;
  moteur->PagePermise = true;
  EXPECT_TRUE(reel.RecoitCommande("file|load(essai.txt)"));
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(moteur->DeltatMesure, 5);
  EXPECT_EQ(moteur->DureeMesure, 600);
  EXPECT_EQ(moteur->Voie(0), modele);
  EXPECT_FALSE(moteur->PagePermise);
  // A file that is not there: nothing loaded, the command is refused.
  EXPECT_FALSE(reel.RecoitCommande("FILE|LOAD(absent.rs2)"));
  EXPECT_EQ(moteur->DeltatMesure, 5);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FormDDE, EchecDUneCommandeEstUneErreurDeSyntaxe) {
  dde->LitConfiguration = [](const std::string&) -> bool { throw std::runtime_error("fichier illisible"); };
  std::ofstream("a.rs2") << "[Acquisition]\r\n";
  EXPECT_TRUE(dde->RecoitCommande("FILE|LOAD(a.rs2)"));  // taken; it fails afterwards
  p.boucle.TraiteEnAttente();
  dde->SauveConfiguration = nullptr;  // not wired by the program
  EXPECT_FALSE(dde->RecoitCommande("FILE|SAVE(a.rs2)"));
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(Messages(), (std::vector<std::string>{"RS232/Pelitrax : erreur syntaxe macro DDE",
                                                  "RS232/Pelitrax : erreur syntaxe macro DDE"}));
}

TEST_F(FormDDE, GetdataPrepareUneAcquisitionApresLaTransaction) {
  Tableau();
  moteur->dataSaved = true;
  EXPECT_EQ(Envoie("getdata"), TLiaisonIPC::TResultat::Accepte);
  EXPECT_TRUE(moteur->PagePermise);
  // The preparation comes after the transaction, as a posted message.
  p.boucle.TraiteEnAttente();
  EXPECT_TRUE(moteur->AppelTracoria);
  EXPECT_EQ(moteur->Graphe->NbrePoints, 0);
  EXPECT_EQ(moteur->EtatAcq, eaAttente);
  EXPECT_TRUE(Questions().empty());
}

TEST_F(FormDDE, GetdataPendantUneAcquisitionEstRefuse) {
  Tableau();
  moteur->SetEtatAcq(eaEnCours);
  moteur->dataSaved = false;
  EXPECT_EQ(Envoie("GETDATA"), TLiaisonIPC::TResultat::Refuse);
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Acquisition en cours : la commande GETDATA est refusée"});
  EXPECT_EQ(moteur->Graphe->NbrePoints, 3);
  EXPECT_EQ(moteur->EtatAcq, eaEnCours);
  EXPECT_FALSE(moteur->AppelTracoria);
}

TEST_F(FormDDE, GetdataAvecDesDonneesNonSauveesDemande) {
  const std::string question =
      "Tracoria demande une nouvelle acquisition : les données non sauvées seront effacées. Continuer ?";
  for (const bool oui : {false, true}) {
    SCOPED_TRACE(oui ? "oui" : "non");
    TableauNonSauve();
    p.dialogue.AttendConfirmation(question, oui);
    EXPECT_EQ(Envoie("GETDATA"), TLiaisonIPC::TResultat::Accepte);
    p.boucle.TraiteEnAttente();
    EXPECT_TRUE(p.dialogue.ScriptEpuise());
    EXPECT_EQ(moteur->Graphe->NbrePoints, oui ? 0 : 3);
    EXPECT_EQ(moteur->AppelTracoria, oui);
  }
}

TEST_F(FormDDE, AcquisitionLanceeAvantLaPreparationNEstPasEffacee) {
  Tableau();
  moteur->dataSaved = true;
  EXPECT_TRUE(dde->RecoitCommande("GETDATA"));
  moteur->SetEtatAcq(eaEnCours);  // "Acquérir" before the posted preparation ran
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(moteur->Graphe->NbrePoints, 3);
  EXPECT_FALSE(moteur->AppelTracoria);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Acquisition en cours : la commande GETDATA est refusée"});
}

TEST_F(FormDDE, ChargementAvecDesDonneesNonSauveesDemande) {
  std::ofstream("essai.rs2") << "[Acquisition]\r\nNvoies=1\r\n";
  const std::string question =
      "Chargement de la configuration essai.txt : les données non sauvées seront effacées. Continuer ?";
  TableauNonSauve();
  p.dialogue.AttendConfirmation(question, false);
  // The client has its answer before the teacher is asked anything.
  EXPECT_TRUE(dde->RecoitCommande("FILE|LOAD(essai.txt)"));
  EXPECT_TRUE(Questions().empty());
  p.boucle.TraiteEnAttente();
  EXPECT_TRUE(charges.empty());
  p.dialogue.AttendConfirmation(question, true);
  EXPECT_TRUE(dde->RecoitCommande("FILE|LOAD(essai.txt)"));
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(charges, std::vector<std::string>{"essai.txt"});
  // A file that is not there would load nothing: refused, nothing to ask.
  EXPECT_FALSE(dde->RecoitCommande("FILE|LOAD(absent.rs2)"));
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(charges.size(), 1u);
  EXPECT_EQ(Questions().size(), 2u);
  std::filesystem::remove("essai.rs2");
}

TEST_F(FormDDE, ChargementPendantUneAcquisitionRefuseSauvegardePermise) {
  std::ofstream("essai.rs2") << "[Acquisition]\r\n";
  Tableau();
  moteur->SetEtatAcq(eaEnCours);
  EXPECT_FALSE(dde->RecoitCommande("FILE|LOAD(essai.rs2)"));
  p.boucle.TraiteEnAttente();
  EXPECT_FALSE(dde->RecoitCommande("CONFIG|LOAD(essai.rs2)"));
  p.boucle.TraiteEnAttente();
  EXPECT_TRUE(charges.empty());
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Acquisition en cours : la commande FILE|LOAD(essai.rs2) est refusée",
                                                  "Acquisition en cours : la commande CONFIG|LOAD(essai.rs2) est refusée"}));
  EXPECT_TRUE(dde->RecoitCommande("FILE|SAVE(copie.rs2)"));
  p.boucle.TraiteEnAttente();
  EXPECT_EQ(sauves, std::vector<std::string>{"copie.rs2"});
  std::filesystem::remove("essai.rs2");
}

// ---- the client

TEST_F(FormDDE, EnvoiATracoriaQuiTourne) {
  TracoriaDemarre();
  Tableau();
  bool sablier = false;
  tracoria.ArreteEcoute();
  ASSERT_TRUE(tracoria.Ecoute("Tracoria", "ServeurDDE", [&](const std::string& c) {
    sablier = moteur->Vue().Sablier();
    recus.push_back({c, p.pressePapiers.Texte()});
    return true;
  }));
  const auto debut = p.boucle.Millisecondes();
  EXPECT_TRUE(dde->EnvoieDonnees(true, false));
  ASSERT_EQ(recus.size(), 1u);
  EXPECT_EQ(recus[0].commande, "CLIP|LOAD");
  // The analysis program reads the table from the clipboard when it gets the command.
  EXPECT_EQ(recus[0].pressePapiers, TexteDonnees(*moteur, CheminProgramme));
  EXPECT_TRUE(sablier);
  EXPECT_FALSE(moteur->Vue().Sablier());
  EXPECT_TRUE(p.shell.Ouverts().empty());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(p.boucle.Millisecondes(), debut);  // no wait when it answers at once
  EXPECT_EQ(p.ipc.Envois().at(0).service, "TRACORIA");
  EXPECT_EQ(p.ipc.Envois().at(0).item, "ServeurItem");
}

TEST_F(FormDDE, NouvellePageSeulementQuandElleEstPermise) {
  TracoriaDemarre();
  Tableau();
  EXPECT_FALSE(moteur->PagePermise);  // at start-up
  moteur->dataSaved = false;
  EXPECT_TRUE(dde->TransfereDonnees(true));
  EXPECT_TRUE(moteur->dataSaved);
  EXPECT_TRUE(moteur->PagePermise);
  EXPECT_TRUE(dde->TransfereDonnees(true));
  EXPECT_TRUE(dde->TransfereDonnees(false));
  EXPECT_EQ(Commandes(), (std::vector<std::string>{"CLIP|LOAD", "CLIP|ADD", "CLIP|LOAD"}));
  // The focus request of the analysis program forbids the new page again.
  EXPECT_EQ(Envoie("FOCUS"), TLiaisonIPC::TResultat::Accepte);
  EXPECT_TRUE(dde->TransfereDonnees(true));
  EXPECT_EQ(Commandes().back(), "CLIP|LOAD");
}

TEST_F(FormDDE, TracoriaInjoignableLesDonneesRestentNonSauvees) {
  TableauNonSauve();
  const auto debut = p.boucle.Millisecondes();
  EXPECT_FALSE(dde->TransfereDonnees(true));
  EXPECT_EQ(Messages(), std::vector<std::string>{Impossible});
  // Both service names tried, one second apart; nothing to start without an executable.
  EXPECT_EQ(ServicesEssayes(), (std::vector<std::string>{"TRACORIA", "Tracoria"}));
  EXPECT_EQ(p.boucle.Millisecondes() - debut, TFormDDE::AttenteSecondNomMs);
  EXPECT_TRUE(p.shell.Ouverts().empty());
  // The clipboard holds the table anyway; the data are still unsaved.
  EXPECT_EQ(p.pressePapiers.Texte(), TexteDonnees(*moteur, CheminProgramme));
  EXPECT_FALSE(moteur->dataSaved);
  EXPECT_FALSE(moteur->Vue().Sablier());
  // So closing still protects them.
  p.dialogue.AttendConfirmation("Données non sauvées, quitter ?", false);
  EXPECT_FALSE(moteur->FormClose());
  EXPECT_TRUE(p.dialogue.ScriptEpuise());
}

TEST_F(FormDDE, TracoriaDemarreParLeShell) {
  std::filesystem::create_directories("tracoria");
  std::ofstream("tracoria/tracoria.exe") << "";
  p.reglages.Ecrit("Software\\Tracoria", "Path", (std::filesystem::current_path() / "tracoria").string() + "/");
  EXPECT_TRUE(dde->FormCreate());
  ASSERT_NE(dde->CheminTracoria(), "");
  TableauNonSauve();
  // The started program is up 500 ms later.
  const auto debut = p.boucle.Millisecondes();
  p.boucle.Planifie(debut + 500, [this] { TracoriaDemarre(); });
  EXPECT_TRUE(dde->TransfereDonnees(false));
  EXPECT_EQ(p.shell.Ouverts(), std::vector<std::string>{dde->CheminTracoria()});
  EXPECT_EQ(p.boucle.Millisecondes() - debut, TFormDDE::AttenteDemarrageMs);
  EXPECT_EQ(Commandes(), std::vector<std::string>{"CLIP|LOAD"});
  EXPECT_TRUE(moteur->dataSaved);
  // Running now: the next transfer starts nothing.
  EXPECT_TRUE(dde->TransfereDonnees(false));
  EXPECT_EQ(p.shell.Ouverts().size(), 1u);
  std::filesystem::remove_all("tracoria");
}

TEST_F(FormDDE, EchecDuShellSansAttente) {
  std::ofstream("tracoria.exe") << "";
  dde->FormCreate();
  p.shell.SetEchecOuverture(true);
  Tableau();
  const auto debut = p.boucle.Millisecondes();
  EXPECT_FALSE(dde->EnvoieDonnees(true, false));
  EXPECT_EQ(p.shell.Ouverts().size(), 1u);
  EXPECT_EQ(p.boucle.Millisecondes() - debut, TFormDDE::AttenteSecondNomMs);
  EXPECT_EQ(Messages(), std::vector<std::string>{Impossible});
  std::filesystem::remove("tracoria.exe");
}

TEST_F(FormDDE, RefusDeTracoria) {
  TracoriaDemarre(false);
  TableauNonSauve();
  EXPECT_FALSE(dde->TransfereDonnees(true));
  EXPECT_FALSE(dde->Execute(eFocus));
  EXPECT_EQ(Messages(), (std::vector<std::string>{NonExecute, "?"}));
  EXPECT_EQ(Commandes(), (std::vector<std::string>{"CLIP|LOAD", "FOCUS"}));
  EXPECT_FALSE(moteur->dataSaved);
  // A refusal is an answer: the second service name is not tried.
  EXPECT_EQ(ServicesEssayes(), (std::vector<std::string>{"TRACORIA", "TRACORIA"}));
}

TEST_F(FormDDE, ReponseTropTardiveEstUnRefus) {
  TracoriaDemarre();
  tracoria.SetDelaiTraitement(500);
  dde->DelaiReponseMs = 200;
  Tableau();
  EXPECT_FALSE(dde->EnvoieDonnees(true, true));
  EXPECT_EQ(Messages(), std::vector<std::string>{NonExecute});
}

TEST_F(FormDDE, CopieSansAucunEchange) {
  std::ofstream("tracoria.exe") << "";
  dde->FormCreate();
  TableauNonSauve();
  dde->CopieDonnees();
  EXPECT_EQ(p.pressePapiers.Texte(), TexteDonnees(*moteur, CheminProgramme));
  EXPECT_TRUE(p.ipc.Envois().empty());
  EXPECT_TRUE(p.shell.Ouverts().empty());
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(moteur->dataSaved);
  EXPECT_FALSE(moteur->Vue().Sablier());
  std::filesystem::remove("tracoria.exe");
}

TEST_F(FormDDE, UnSeulTransfertALaFois) {
  Tableau();
  moteur->Page.Memo = {"premier"};
  bool second = true;
  std::string pendant;
  // During the wait before the second service name, another transfer is asked for.
  p.boucle.Planifie(p.boucle.Millisecondes() + 500, [&] {
    moteur->Page.Memo = {"second"};
    second = dde->EnvoieDonnees(true, true);
    pendant = p.pressePapiers.Texte();
  });
  EXPECT_FALSE(dde->EnvoieDonnees(true, false));
  EXPECT_FALSE(second);
  EXPECT_NE(pendant.find("premier"), std::string::npos);  // the clipboard was left alone
  EXPECT_EQ(Messages(), (std::vector<std::string>{NonExecute, Impossible}));
}

// ---- an acquisition asked for by the analysis program

TEST_F(FormDDE, AcquisitionDemandeeRenvoyeeASaFin) {
  PhMetreSurCom3();
  TracoriaDemarre();
  moteur->ModeAcq = maTemps;
  moteur->DureeMesure = 8;
  moteur->DeltatMesure = 1;
  moteur->InitAttente();
  ASSERT_TRUE(modelePh.VoieSerieOK);
  EXPECT_EQ(Envoie("GETDATA"), TLiaisonIPC::TResultat::Accepte);
  Avance(1500);
  ASSERT_TRUE(moteur->AppelTracoria);
  ASSERT_EQ(moteur->EtatAcq, eaAttente);
  moteur->EnregistreBtnClick();
  Avance(12000);
  // Ended by itself after its duration: the table went back once, as a new document.
  EXPECT_EQ(moteur->EtatAcq, eaTerminee);
  ASSERT_EQ(Commandes(), std::vector<std::string>{"CLIP|LOAD"});
  EXPECT_FALSE(moteur->AppelTracoria);
  EXPECT_TRUE(moteur->dataSaved);
  const int n = moteur->Graphe->NbrePoints;
  EXPECT_GE(n, 9);
  EXPECT_EQ(recus[0].pressePapiers, TexteDonnees(*moteur, CheminProgramme));
  EXPECT_NE(recus[0].pressePapiers.find("\r\nt\tpH\r\n"), std::string::npos);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FormDDE, AcquisitionDemandeeNonTransmiseResteNonSauvee) {
  PhMetreSurCom3();
  TracoriaDemarre();
  moteur->DureeMesure = 8;
  moteur->InitAttente();
  EXPECT_EQ(Envoie("GETDATA"), TLiaisonIPC::TResultat::Accepte);
  Avance(1500);
  TracoriaArrete();
  moteur->EnregistreBtnClick();
  Avance(12000);
  EXPECT_EQ(moteur->EtatAcq, eaTerminee);
  EXPECT_EQ(Messages(), std::vector<std::string>{Impossible});
  EXPECT_FALSE(moteur->AppelTracoria);
  EXPECT_FALSE(moteur->dataSaved);
}
