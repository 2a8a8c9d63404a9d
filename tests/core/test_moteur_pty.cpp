// The engine on the real platform: QSerialPort polls bench instruments served on
// pseudo-terminals, and the values reach the view model.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "banc/banc_pty.h"
#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "banc/phmetre_continu.h"
#include "core/cinetique.h"
#include "core/moteur_reel.h"
#include "core/noms_controles.h"
#include "instruments/base_appareils.h"
#include "links/table_ports.h"
#include "platform/qt/graphique/plateforme_qt.h"
#include "tools/application_qt.h"
#include "util/regional_courant.h"


TEST(MoteurPty, TroisVoiesDontDeuxSurUnMemePort) {
  AssureApplicationQt();
  TBancPty banc;
  const std::string ph1 = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
  const std::string ph2 = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(4.01)));
  ASSERT_FALSE(ph1.empty());
  ASSERT_FALSE(ph2.empty());
  banc.Demarre();

  TMoteurReel reel("COM3=" + ph1 + ";COM4=" + ph2);
  TCinetiqueMain& moteur = *reel.moteur;
  Tappareil& a = reel.Ajoute("a", 3, "PH?\r", "pH");
  Tappareil& b = reel.Ajoute("b", 4, "PH?\r", "pH");
  // Shares the first one's port, with a request of its own: asked after it.
  Tappareil& c = reel.Ajoute("c", 3, "MV?\r", "E");
  reel.Voies({&a, &b, &c});
  ASSERT_TRUE(moteur.Voie(0)->VoieSerieOK);
  ASSERT_TRUE(moteur.Voie(1)->VoieSerieOK);
  EXPECT_EQ(moteur.Voie(2)->Attente, 100);

  moteur.TimerTimer();
  reel.Attend([&] { return !std::isnan(moteur.Voie(2)->ValeurCourante); }, 5000);
  EXPECT_DOUBLE_EQ(moteur.Voie(0)->ValeurCourante, 7.02);
  EXPECT_DOUBLE_EQ(moteur.Voie(1)->ValeurCourante, 4.01);
  EXPECT_FALSE(std::isnan(moteur.Voie(2)->ValeurCourante));
  const char sep = reel.plateforme.regional.SeparateurDecimal();
  EXPECT_EQ(moteur.Vue().Controle(ctl::Label(0)).caption, std::string("pH=7") + sep + "02 ");
  EXPECT_EQ(moteur.Vue().Controle(ctl::Label(1)).caption, std::string("pH=4") + sep + "01 ");
  EXPECT_EQ(moteur.VoieCourante, 0);  // the cycle completed
}

// One self-transmitting meter read by two channels (its pH and its temperature), next
// to each other or with a polled meter on another port between them: in a time base
// every channel reads the latest printout and every point has all its values.
TEST(MoteurPty, UnAppareilQuiEmetSeulLuParDeuxVoies) {
  AssureApplicationQt();
  for (const bool entreLesDeux : {false, true}) {
    SCOPED_TRACE(entreLesDeux);
    TBancPty banc;
    const std::string continu = banc.Ajoute(
        std::make_unique<TPhMetreContinu>(std::make_shared<TValeurFixe>(7.37), std::make_shared<TValeurFixe>(17.6)));
    const std::string interroge = banc.Ajoute(std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(4.01)));
    ASSERT_FALSE(continu.empty());
    ASSERT_FALSE(interroge.empty());
    banc.Demarre();

    TMoteurReel reel("COM4=" + continu + ";COM3=" + interroge);
    TBaseAppareils& base = reel.base;
    TCinetiqueMain& moteur = *reel.moteur;
    Tappareil* ph = base.ChercheAppareil("Banc virtuel pH-mètre à impression");
    Tappareil* t = base.ChercheAppareil("Banc virtuel pH-mètre à impression (T)");
    Tappareil* autre = base.ChercheAppareil("Banc virtuel pH-mètre");
    ASSERT_TRUE(ph && t && autre);
    std::vector<Tappareil*> voies = {ph, t};
    if (entreLesDeux) voies.insert(voies.begin() + 1, autre);
    moteur.DeltatMesure = 1;
    moteur.DureeMesure = 60;
    reel.Voies(voies);
    const int voieT = static_cast<int>(voies.size()) - 1;

    moteur.EnregistreBtnClick();
    reel.Attend([&] { return moteur.Graphe->NbrePoints >= 4; }, 10000);
    const int n = moteur.Graphe->NbrePoints;
    EXPECT_GE(n, 4);
    EXPECT_DOUBLE_EQ(t->ValeurCourante, 17.6);
    for (int k = 0; k < n; ++k) {
      EXPECT_DOUBLE_EQ(moteur.Graphe->mondeY[0].valeur[static_cast<std::size_t>(k)], 7.37) << k;
      EXPECT_DOUBLE_EQ(moteur.Graphe->mondeY[static_cast<std::size_t>(voieT)].valeur[static_cast<std::size_t>(k)], 17.6) << k;
      if (entreLesDeux) {
        EXPECT_DOUBLE_EQ(moteur.Graphe->mondeY[1].valeur[static_cast<std::size_t>(k)], 4.01) << k;
      }
    }
  }
}
