// The engine on the real platform, pseudo-terminals served by the virtual bench: a
// device pulled out and put back at the same path is used again, and paths that are no
// usable serial device fail at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "banc/banc_pty.h"
#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/cinetique.h"
#include "core/moteur_reel.h"
#include "core/noms_controles.h"
#include "instruments/base_appareils.h"
#include "links/table_ports.h"
#include "platform/qt/graphique/plateforme_qt.h"
#include "tools/application_qt.h"
#include "util/regional_courant.h"


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
  {
    TMoteurReel e("COM3=" + lien.string());
    TCinetiqueMain& moteur = *e.moteur;
    Tappareil& a = e.Ajoute("a", 3, "PH?\r", "pH");
    // 7E1, which a pseudo-terminal cannot take: known as one through the link too.
    a.DataBits = 7;
    a.Parite = pEven;
    moteur.DureeMesure = 60;
    e.Voies({&a});
    ASSERT_TRUE(a.VoieSerieOK);
    auto N = [&] { return moteur.Graphe->NbrePoints; };
    auto Y = [&](int k) { return moteur.Graphe->mondeY[0].valeur[static_cast<std::size_t>(k)]; };
    moteur.EnregistreBtnClick();
    ASSERT_TRUE(e.Attend([&] { return N() >= 2; }, 5000));

    // The device node goes with the cable, as a USB adapter's does (and no other
    // program's new pseudo-terminal may take its number under the link meanwhile).
    banc.Ferme(0);
    std::filesystem::remove(lien);
    TPortSerie& port = *moteur.voieSerieCin[3];
    ASSERT_TRUE(e.Attend([&] { return port.Perdu(); }, 3000));
    ASSERT_TRUE(e.Attend([&] { return std::isnan(a.ValeurCourante); }, 2000));
    const int pendant = N();
    e.Attend([] { return false; }, 2200);
    EXPECT_EQ(N(), pendant);
    EXPECT_EQ(moteur.Vue().Statut(1).rfind("COM3 perdu à ", 0), 0u) << moteur.Vue().Statut(1);

    const std::string ph2 = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(4.01)));
    ASSERT_FALSE(ph2.empty());
    std::filesystem::create_symlink(ph2, lien);
    ASSERT_TRUE(e.Attend([&] { return N() > pendant && Y(N() - 1) == 4.01; }, 5000));
    EXPECT_TRUE(port.Open());
    EXPECT_NE(moteur.Vue().Statut(1).find(", rétabli à "), std::string::npos) << moteur.Vue().Statut(1);
    EXPECT_EQ(moteur.EtatAcq, eaEnCours);
    for (int k = 0; k < pendant; ++k) EXPECT_DOUBLE_EQ(Y(k), 7.02) << k;
    for (int k = pendant; k < N(); ++k) EXPECT_DOUBLE_EQ(Y(k), 4.01) << k;
  }
  banc.Arrete();
  std::filesystem::remove(lien);
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
  {
    TMoteurReel e("COM3=pas_un_port/fichier;COM4=pas_un_port;COM5=/dev/null;COM6=" + ph);
    TCinetiqueMain& moteur = *e.moteur;
    e.Voies({&e.Ajoute("a", 3, "PH?\r", "pH"), &e.Ajoute("b", 4, "PH?\r", "pH"), &e.Ajoute("c", 5, "PH?\r", "pH"),
             &e.Ajoute("d", 6, "PH?\r", "pH")});
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(moteur.Voie(i)->VoieSerieOK) << i;
    EXPECT_EQ(moteur.voieSerieCin[6]->DerniereErreur(), "COM6 : " + ph + " est utilisé par un autre programme");
    moteur.TimerTimer();
    e.plateforme.boucle.TraiteEvenements(100);
    moteur.TimerTimer();
    EXPECT_EQ(moteur.Vue().Controle(ctl::LabelPb).caption, "Pas de réponse");
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(std::isnan(moteur.Voie(i)->ValeurCourante)) << i;
  }
  ::close(tenu);
  banc.Arrete();
}
