// The engine on the real platform: QSerialPort polls bench instruments served on
// pseudo-terminals, and the values reach the view model.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

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
