// The simulated inter-process link: names, answers, late answers, two loops.
#include <gtest/gtest.h>

#include "platform/simule/ipc_simulee.h"

using R = TLiaisonIPC::TResultat;

TEST(LiaisonIPCSimulee, AccepteRefusePasDeServeur) {
  TBoucleSimulee boucle;
  TLiaisonIPCSimulee serveur(boucle), client(boucle);
  std::vector<std::string> recues;
  ASSERT_TRUE(serveur.Ecoute("TRACORIA", "ServeurDDE", [&](const std::string& c) {
    recues.push_back(c);
    return c != "NON";
  }));
  EXPECT_EQ(client.Execute("TRACORIA", "ServeurDDE", "ServeurItem", "CLIP|LOAD", 1000), R::Accepte);
  // The service lookup ignores case, so both spellings reach the one server.
  EXPECT_EQ(client.Execute("Tracoria", "serveurdde", "ServeurItem", "NON", 1000), R::Refuse);
  EXPECT_EQ(client.Execute("TRACORIA", "AutreSujet", "", "x", 1000), R::PasDeServeur);
  // What travels is the command up to its zero byte.
  EXPECT_EQ(client.Execute("TRACORIA", "ServeurDDE", "", std::string("FOCUS\0suite", 11), 1000), R::Accepte);
  EXPECT_EQ(recues, (std::vector<std::string>{"CLIP|LOAD", "NON", "FOCUS"}));
  EXPECT_EQ(serveur.Recues(), recues);
  ASSERT_EQ(client.Envois().size(), 4u);
  EXPECT_EQ(client.Envois()[2].resultat, R::PasDeServeur);
  EXPECT_EQ(boucle.Millisecondes(), 0);  // answered through the loop, without time passing
}

TEST(LiaisonIPCSimulee, NomTenuPuisLibere) {
  TBoucleSimulee boucle;
  TLiaisonIPCSimulee a(boucle), b(boucle), client(boucle);
  ASSERT_TRUE(a.Ecoute("Pelitrax", "ServeurDDE", [](const std::string&) { return true; }));
  EXPECT_FALSE(b.Ecoute("PELITRAX", "ServeurDDE", [](const std::string&) { return false; }));
  a.ArreteEcoute();
  EXPECT_EQ(client.Execute("Pelitrax", "ServeurDDE", "", "x", 100), R::PasDeServeur);
  EXPECT_TRUE(b.Ecoute("PELITRAX", "ServeurDDE", [](const std::string&) { return false; }));
  EXPECT_EQ(client.Execute("Pelitrax", "ServeurDDE", "", "x", 100), R::Refuse);
  {
    TLiaisonIPCSimulee c(boucle);
    ASSERT_TRUE(c.Ecoute("Ephemere", "S", [](const std::string&) { return true; }));
  }
  EXPECT_EQ(client.Execute("Ephemere", "S", "", "x", 100), R::PasDeServeur);
}

TEST(LiaisonIPCSimulee, ReponseTardiveEtBoucleQuiTourne) {
  TBoucleSimulee boucle;
  TLiaisonIPCSimulee serveur(boucle), client(boucle);
  int tics = 0;
  auto m = boucle.CreeMinuterie();
  m->SetIntervalle(100);
  m->SetRappel([&] { ++tics; });
  m->SetActif(true);
  ASSERT_TRUE(serveur.Ecoute("T", "S", [](const std::string&) { return true; }));
  serveur.SetDelaiTraitement(300);
  EXPECT_EQ(client.Execute("T", "S", "", "x", 1000), R::Accepte);
  EXPECT_EQ(boucle.Millisecondes(), 300);
  EXPECT_GE(tics, 2);  // the loop ran while the client waited
  EXPECT_EQ(client.Execute("T", "S", "", "y", 200), R::Refuse);
  EXPECT_EQ(boucle.Millisecondes(), 500);
  // The late command is still carried out when its time comes.
  boucle.Avance(200);
  EXPECT_EQ(serveur.Recues(), (std::vector<std::string>{"x", "y"}));
}

TEST(LiaisonIPCSimulee, DeuxPlateformesDeuxBoucles) {
  TBoucleSimulee boucleProgramme, boucleTracoria;
  TLiaisonIPCSimulee programme(boucleProgramme), tracoria(boucleTracoria);
  bool dansSaBoucle = false;
  ASSERT_TRUE(tracoria.Ecoute("TRACORIA", "ServeurDDE", [&](const std::string&) {
    dansSaBoucle = true;
    return true;
  }));
  EXPECT_EQ(programme.Execute("TRACORIA", "ServeurDDE", "", "CLIP|ADD", 1000), R::Accepte);
  EXPECT_TRUE(dansSaBoucle);
  tracoria.SetDelaiTraitement(400);
  EXPECT_EQ(programme.Execute("TRACORIA", "ServeurDDE", "", "CLIP|ADD", 1000), R::Accepte);
  EXPECT_GE(boucleProgramme.Millisecondes(), 400);
  EXPECT_LE(boucleProgramme.Millisecondes(), 420);
}
