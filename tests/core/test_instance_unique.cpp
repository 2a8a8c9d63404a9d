// The single-instance check: the first copy takes the lock; a second one started with
// a file hands it to the first, which loads it; without a file it asks the first to
// come to the front; with no server answering it runs.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/configuration.h"
#include "core/instance_unique.h"
#include "moteur_essai.h"
#include "platform/simule/ipc_simulee.h"

namespace fs = std::filesystem;

namespace {

const std::string Executable = "/opt/pelitrax/bin/pelitrax";

TEST(InstanceUnique, LaSecondeRemetSonFichierALaPremiereQuiLeCharge) {
  const fs::path dossier = DossierDuTest();
  EcritUtf8En1252(dossier / "montage.rs2",
                  "[Acquisition]\r\nNvoies=2\r\nNom0=Thermomètre Essai\r\nNom1=pH-mètre Essai\r\n"
                  "[Thermomètre Essai]\r\n[pH-mètre Essai]\r\n");
  TMoteurEssai e(dossier);

  // The first copy: it takes the lock, then its server executes the commands it gets.
  TLiaisonIPCSimulee ipcPremiere(e.p.boucle);
  TInstanceUnique premiere(e.p.verrous, &ipcPremiere);
  const TIssueInstance issue1 = premiere.VerifieInstanceUnique(Executable, {});
  EXPECT_TRUE(issue1.continuer);
  EXPECT_TRUE(issue1.commandeDepart.empty());
  EXPECT_TRUE(premiere.Premiere());
  std::vector<std::string> recues;
  ipcPremiere.Ecoute(NomService(Executable), "ServeurDDE", [&](const std::string& commande) {
    recues.push_back(commande);
    const std::string debut = "FILE|LOAD(";
    if (commande.rfind(debut, 0) != 0 || commande.back() != ')') return false;
    return LitConfig(e.M(), commande.substr(debut.size(), commande.size() - debut.size() - 1));
  });

  // The second copy, started from the desktop with a relative name in its own folder;
  // it has a loop of its own, and the lock is the system's.
  const fs::path ailleurs = fs::current_path();
  fs::current_path(dossier);
  TBoucleSimulee boucleSeconde;
  TLiaisonIPCSimulee ipcSeconde(boucleSeconde);
  TInstanceUnique seconde(e.p.verrous, &ipcSeconde);
  const TIssueInstance issue2 = seconde.VerifieInstanceUnique(Executable, {"montage.rs2"}, 1234);
  fs::current_path(ailleurs);

  EXPECT_FALSE(issue2.continuer);
  EXPECT_FALSE(seconde.Premiere());
  ASSERT_EQ(ipcSeconde.Envois().size(), 1u);
  EXPECT_EQ(ipcSeconde.Envois()[0].service, "pelitrax");
  EXPECT_EQ(ipcSeconde.Envois()[0].sujet, "ServeurDDE");
  EXPECT_EQ(ipcSeconde.Envois()[0].item, "ServeurItem");
  EXPECT_EQ(ipcSeconde.Envois()[0].resultat, TLiaisonIPC::TResultat::Accepte);
  EXPECT_EQ(recues, std::vector<std::string>{"FILE|LOAD(" + (dossier / "montage.rs2").string() + ")"});
  EXPECT_EQ(e.M().NbreVoies(), 2);
  EXPECT_EQ(e.M().Voie(0), e.App(THERMO));
}

TEST(InstanceUnique, SansFichierLaSecondeDemandeLePremierPlan) {
  TVerrousMemoire verrous;
  TBoucleSimulee boucle1, boucle2;
  TLiaisonIPCSimulee ipc1(boucle1), ipc2(boucle2);
  TInstanceUnique premiere(verrous, &ipc1);
  ASSERT_TRUE(premiere.VerifieInstanceUnique(Executable, {}).continuer);
  ipc1.Ecoute("pelitrax", "ServeurDDE", [](const std::string&) { return true; });
  TInstanceUnique seconde(verrous, &ipc2);
  EXPECT_FALSE(seconde.VerifieInstanceUnique(Executable, {}).continuer);
  EXPECT_EQ(ipc1.Recues(), std::vector<std::string>{TInstanceUnique::CommandePremierPlan});
}

TEST(InstanceUnique, UneCommandeRefuseeFinitQuandMemeLaSeconde) {
  TVerrousMemoire verrous;
  TBoucleSimulee boucle1, boucle2;
  TLiaisonIPCSimulee ipc1(boucle1), ipc2(boucle2);
  TInstanceUnique premiere(verrous, &ipc1);
  premiere.VerifieInstanceUnique(Executable, {});
  ipc1.Ecoute("pelitrax", "ServeurDDE", [](const std::string&) { return false; });
  TInstanceUnique seconde(verrous, &ipc2);
  EXPECT_FALSE(seconde.VerifieInstanceUnique(Executable, {"/x/absent.rs2"}).continuer);
}

TEST(InstanceUnique, PasDeServeurQuiRepondLaSecondeTourne) {
  TVerrousMemoire verrous;
  TBoucleSimulee boucle1, boucle2;
  TLiaisonIPCSimulee ipc1(boucle1), ipc2(boucle2);
  TInstanceUnique premiere(verrous, &ipc1);
  premiere.VerifieInstanceUnique(Executable, {});
  TInstanceUnique seconde(verrous, &ipc2);
  const TIssueInstance issue = seconde.VerifieInstanceUnique(Executable, {"/x/montage.rs2"});
  EXPECT_TRUE(issue.continuer);
  EXPECT_EQ(issue.commandeDepart, "FILE|LOAD(/x/montage.rs2)");
  // Without any link at all, too.
  TInstanceUnique troisieme(verrous, nullptr);
  EXPECT_TRUE(troisieme.VerifieInstanceUnique(Executable, {}).continuer);
}

TEST(InstanceUnique, LaPremiereLanceeAvecUnFichierLeChargeraEtLeVerrouPartAvecElle) {
  TVerrousMemoire verrous;
  {
    TInstanceUnique premiere(verrous, nullptr);
    const TIssueInstance issue = premiere.VerifieInstanceUnique(Executable, {"/d/./a/../essai.rs2"});
    EXPECT_TRUE(issue.continuer);
    EXPECT_EQ(issue.commandeDepart, "FILE|LOAD(/d/essai.rs2)");
    EXPECT_TRUE(verrous.Existe("TRASERIE"));
  }
  EXPECT_FALSE(verrous.Existe("TRASERIE"));
  TInstanceUnique suivante(verrous, nullptr);
  suivante.VerifieInstanceUnique(Executable, {});
  EXPECT_TRUE(suivante.Premiere());
}

TEST(InstanceUnique, NomDeService) {
  EXPECT_EQ(NomService("/usr/bin/pelitrax"), "pelitrax");
  EXPECT_EQ(NomService("C:\\Programmes\\Pelitrax.exe"), "Pelitrax");
  EXPECT_EQ(NomService("/opt/a.b.c"), "a");
  EXPECT_EQ(NomService("/opt/version.2/prog"), "prog");
}

}  // namespace
