// The engine on the real platform: QSerialPort polls bench instruments served on
// pseudo-terminals, and the values reach the view model.
#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "banc/banc_pty.h"
#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "instruments/base_appareils.h"
#include "links/table_ports.h"
#include "platform/qt/plateforme_qt.h"
#include "tools/application_qt.h"
#include "util/regional_courant.h"

namespace {
void ModelePh(Tappareil& a, int com, const std::string& demande, const std::string& symbole) {
  a.ComNumber = static_cast<std::uint16_t>(com);
  a.Baud = 2400;
  a.Demande = demande;
  a.SymboleGrandeur = symbole;
  a.UniteGrandeur = "";
  a.ValMaxi = 2000;
  a.ValMini = -2000;
  a.Precision = 4;
  a.Delai = 100;
}
}  // namespace

TEST(MoteurPty, TroisVoiesDontDeuxSurUnMemePort) {
  AssureApplicationQt();
  TBancPty banc;
  const std::string ph1 = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
  const std::string ph2 = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(4.01)));
  ASSERT_FALSE(ph1.empty());
  ASSERT_FALSE(ph2.empty());
  banc.Demarre();

  TPlateformeQt plateforme;
  InstalleRegional(&plateforme.regional);
  std::filesystem::create_directories("programme");
  TBaseAppareils base(plateforme.boucle, (std::filesystem::current_path() / "programme").string());
  std::string message;
  ASSERT_TRUE(base.ChargeAppareils(message)) << message;
  const std::string ports = "COM3=" + ph1 + ";COM4=" + ph2;
  TTablePorts table(plateforme.serie, nullptr, [&](const std::string& nom) -> std::optional<std::string> {
    if (nom == TTablePorts::Variable) return ports;
    return std::nullopt;
  });
  TCinetiqueMain moteur(plateforme.Plateforme(), base, table);
  moteur.FormCreate();
  moteur.TraceCB = false;
  for (const char* nom : {"a", "b", "c"}) {
    base.ListeAppareils.push_back(std::make_unique<Tappareil>());
    base.ListeAppareils.back()->NomAppareil = nom;
  }
  ModelePh(*base.ChercheAppareil("a"), 3, "PH?\r", "pH");
  ModelePh(*base.ChercheAppareil("b"), 4, "PH?\r", "pH");
  // Shares the first one's port, with a request of its own: asked after it.
  ModelePh(*base.ChercheAppareil("c"), 3, "MV?\r", "E");
  moteur.SetNbreVoies(3);
  moteur.AppareilAcq[0] = base.ChercheAppareil("a");
  moteur.AppareilAcq[1] = base.ChercheAppareil("b");
  moteur.AppareilAcq[2] = base.ChercheAppareil("c");
  moteur.InitAttente();
  ASSERT_TRUE(moteur.Voie(0)->VoieSerieOK);
  ASSERT_TRUE(moteur.Voie(1)->VoieSerieOK);
  EXPECT_EQ(moteur.Voie(2)->Attente, 100);

  moteur.TimerTimer();
  const auto debut = plateforme.boucle.Millisecondes();
  while (std::isnan(moteur.Voie(2)->ValeurCourante) && plateforme.boucle.Millisecondes() - debut < 5000)
    plateforme.boucle.TraiteEvenements(50);
  EXPECT_DOUBLE_EQ(moteur.Voie(0)->ValeurCourante, 7.02);
  EXPECT_DOUBLE_EQ(moteur.Voie(1)->ValeurCourante, 4.01);
  EXPECT_FALSE(std::isnan(moteur.Voie(2)->ValeurCourante));
  const char sep = plateforme.regional.SeparateurDecimal();
  EXPECT_EQ(moteur.Vue().Controle(ctl::Label(0)).caption, std::string("pH=7") + sep + "02 ");
  EXPECT_EQ(moteur.Vue().Controle(ctl::Label(1)).caption, std::string("pH=4") + sep + "01 ");
  EXPECT_EQ(moteur.VoieCourante, 0);  // the cycle completed
  moteur.FormDestroy();
  banc.Arrete();
  InstalleRegional(nullptr);
}

// The cable pulled out during a time base, then the same device back at the same path
// (a link to a new pseudo-terminal): the acquisition's own tick opens it again and the
// points go on, those before kept, none made in between.
TEST(MoteurPty, AppareilRebrancheAuMemeChemin) {
  AssureApplicationQt();
  TBancPty banc;
  const std::string ph1 = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
  ASSERT_FALSE(ph1.empty());
  banc.Demarre();
  const std::filesystem::path lien = std::filesystem::current_path() / "ttyRebranche";
  std::filesystem::remove(lien);
  std::filesystem::create_symlink(ph1, lien);

  TPlateformeQt plateforme;
  InstalleRegional(&plateforme.regional);
  std::filesystem::create_directories("programme");
  TBaseAppareils base(plateforme.boucle, (std::filesystem::current_path() / "programme").string());
  std::string message;
  ASSERT_TRUE(base.ChargeAppareils(message)) << message;
  const std::string ports = "COM3=" + lien.string();
  TTablePorts table(plateforme.serie, nullptr, [&](const std::string& nom) -> std::optional<std::string> {
    if (nom == TTablePorts::Variable) return ports;
    return std::nullopt;
  });
  TCinetiqueMain moteur(plateforme.Plateforme(), base, table);
  moteur.FormCreate();
  moteur.TraceCB = false;
  base.ListeAppareils.push_back(std::make_unique<Tappareil>());
  Tappareil& a = *base.ListeAppareils.back();
  a.NomAppareil = "a";
  ModelePh(a, 3, "PH?\r", "pH");
  moteur.SetNbreVoies(1);
  moteur.AppareilAcq[0] = &a;
  moteur.DureeMesure = 60;
  moteur.InitAttente();
  ASSERT_TRUE(a.VoieSerieOK);
  auto attend = [&](auto fini, int ms) {
    const auto fin = plateforme.boucle.Millisecondes() + ms;
    while (!fini() && plateforme.boucle.Millisecondes() < fin) plateforme.boucle.TraiteEvenements(50);
    return fini();
  };
  auto N = [&] { return moteur.Graphe->NbrePoints; };
  auto Y = [&](int k) { return moteur.Graphe->mondeY[0].valeur[static_cast<std::size_t>(k)]; };
  moteur.EnregistreBtnClick();
  ASSERT_TRUE(attend([&] { return N() >= 2; }, 5000));

  banc.Ferme(0);
  TPortSerie& port = *moteur.voieSerieCin[3];
  ASSERT_TRUE(attend([&] { return port.Perdu(); }, 3000));
  ASSERT_TRUE(attend([&] { return std::isnan(a.ValeurCourante); }, 2000));
  const int pendant = N();
  attend([] { return false; }, 2200);
  EXPECT_EQ(N(), pendant);
  EXPECT_EQ(moteur.Vue().Statut(1).rfind("COM3 perdu à ", 0), 0u) << moteur.Vue().Statut(1);

  const std::string ph2 = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(4.01)));
  ASSERT_FALSE(ph2.empty());
  std::filesystem::remove(lien);
  std::filesystem::create_symlink(ph2, lien);
  ASSERT_TRUE(attend([&] { return N() > pendant && Y(N() - 1) == 4.01; }, 5000));
  EXPECT_TRUE(port.Open());
  EXPECT_NE(moteur.Vue().Statut(1).find(", rétabli à "), std::string::npos) << moteur.Vue().Statut(1);
  EXPECT_EQ(moteur.EtatAcq, eaEnCours);
  for (int k = 0; k < pendant; ++k) EXPECT_DOUBLE_EQ(Y(k), 7.02) << k;
  for (int k = pendant; k < N(); ++k) EXPECT_DOUBLE_EQ(Y(k), 4.01) << k;
  moteur.FormDestroy();
  banc.Arrete();
  std::filesystem::remove(lien);
  InstalleRegional(nullptr);
}

// Channels whose COM numbers name no serial device (a regular file, a folder,
// /dev/null) or one held by another program: the binding returns at once with the
// channel unusable, the held one with the port's reason, and the ticks go on.
TEST(MoteurPty, PortsInutilisablesSansBlocage) {
  AssureApplicationQt();
  TBancPty banc;
  const std::string ph = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
  ASSERT_FALSE(ph.empty());
  banc.Demarre();
  std::filesystem::create_directories("pas_un_port");
  { std::ofstream("pas_un_port/fichier") << "abc"; }
  // Held as another program would hold it: open with its lock.
  const int tenu = ::open(ph.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(tenu, 0);
  ASSERT_EQ(::flock(tenu, LOCK_EX | LOCK_NB), 0);

  TPlateformeQt plateforme;
  InstalleRegional(&plateforme.regional);
  std::filesystem::create_directories("programme");
  TBaseAppareils base(plateforme.boucle, (std::filesystem::current_path() / "programme").string());
  std::string message;
  ASSERT_TRUE(base.ChargeAppareils(message)) << message;
  const std::string ports = "COM3=pas_un_port/fichier;COM4=pas_un_port;COM5=/dev/null;COM6=" + ph;
  TTablePorts table(plateforme.serie, nullptr, [&](const std::string& nom) -> std::optional<std::string> {
    if (nom == TTablePorts::Variable) return ports;
    return std::nullopt;
  });
  TCinetiqueMain moteur(plateforme.Plateforme(), base, table);
  moteur.FormCreate();
  moteur.TraceCB = false;
  const char* noms[] = {"a", "b", "c", "d"};
  for (int i = 0; i < 4; ++i) {
    base.ListeAppareils.push_back(std::make_unique<Tappareil>());
    base.ListeAppareils.back()->NomAppareil = noms[i];
    ModelePh(*base.ListeAppareils.back(), 3 + i, "PH?\r", "pH");
    moteur.AppareilAcq[static_cast<std::size_t>(i)] = base.ListeAppareils.back().get();
  }
  moteur.SetNbreVoies(4);
  moteur.InitAttente();
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(moteur.Voie(i)->VoieSerieOK) << i;
  EXPECT_EQ(moteur.voieSerieCin[6]->DerniereErreur(), "COM6 : " + ph + " est utilisé par un autre programme");
  moteur.TimerTimer();
  plateforme.boucle.TraiteEvenements(100);
  moteur.TimerTimer();
  EXPECT_EQ(moteur.Vue().Controle(ctl::LabelPb).caption, "Pas de réponse");
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(std::isnan(moteur.Voie(i)->ValeurCourante)) << i;
  moteur.FormDestroy();
  ::close(tenu);
  banc.Arrete();
  InstalleRegional(nullptr);
}
