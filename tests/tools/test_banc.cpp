// The bench instruments: frame layouts, pacing at the line speed, drift and settling,
// and an instrument joined to a line of the simulated platform.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "banc/balance.h"
#include "banc/jonction_simulee.h"
#include "banc/phmetre.h"
#include "banc/phmetre_continu.h"
#include "util/durees.h"

namespace {
struct Octet {
  std::int64_t ms;
  char c;
};

// Drives the instrument's clock millisecond by millisecond over [debut, fin].
std::vector<Octet> Deroule(TInstrumentBanc& i, std::int64_t debut, std::int64_t fin) {
  std::vector<Octet> octets;
  for (std::int64_t ms = debut; ms <= fin; ++ms)
    for (char c : i.Sortie(ms)) octets.push_back({ms, c});
  return octets;
}
std::string Texte(const std::vector<Octet>& octets) {
  std::string s;
  for (const Octet& o : octets) s += o.c;
  return s;
}
std::string Reponse(TInstrumentBanc& i, std::int64_t ms, const std::string& requete, int dureeMs = 400) {
  i.Recoit(ms, requete);
  return Texte(Deroule(i, ms, ms + dureeMs));
}

struct CasPhMetre {
  const char* nom;
  double ph;
  const char* requete;
  const char* reponse;
};
void PrintTo(const CasPhMetre& c, std::ostream* os) { *os << c.nom; }

class PhMetreReponses : public testing::TestWithParam<CasPhMetre> {};

TEST_P(PhMetreReponses, Trame) {
  TPhMetre ph(std::make_shared<TValeurFixe>(GetParam().ph));
  EXPECT_EQ(Reponse(ph, 1000, GetParam().requete), GetParam().reponse);
}

INSTANTIATE_TEST_SUITE_P(
    Cas, PhMetreReponses,
    testing::Values(CasPhMetre{"ph", 7.02, "PH?\r", " 7.02\r"}, CasPhMetre{"ph_deux_chiffres", 12.5, "PH?\r", "12.50\r"},
                    CasPhMetre{"ph_negatif", -1.5, "PH?\r", "-1.50\r"}, CasPhMetre{"ph_hors_gamme", 17, "PH?\r", "Err 1\r"},
                    CasPhMetre{"ph_crlf", 7.02, "PH?\r\n", " 7.02\r"},
                    CasPhMetre{"potentiel_25C", 7.02, "MV?\r", "  -1.2\r"},
                    CasPhMetre{"potentiel_acide", 4.0, "MV?\r", " 177.5\r"},
                    CasPhMetre{"temperature", 7.0, "TM?\r", " 25.0\r"},
                    CasPhMetre{"choix_de_gamme_sans_reponse", 7.0, "PHR\r", ""},
                    CasPhMetre{"commande_inconnue", 7.0, "XYZ\r", ""},
                    CasPhMetre{"sans_fin_de_ligne", 7.0, "PH?", ""}),
    [](const testing::TestParamInfo<CasPhMetre>& i) { return std::string(i.param.nom); });

TEST(PhMetre, OctetsCadencesALaVitesseDeLigne) {
  TPhMetre ph(std::make_shared<TValeurFixe>(7.02));  // 2400 bauds, 8N1: 4.17 ms a character
  ph.Recoit(0, "PH?\r");
  EXPECT_EQ(ph.ProchainInstant(), 25);
  const std::vector<Octet> octets = Deroule(ph, 0, 100);
  std::vector<std::int64_t> instants;
  for (const Octet& o : octets) instants.push_back(o.ms);
  EXPECT_EQ(instants, (std::vector<std::int64_t>{25, 29, 33, 37, 41, 45}));
  EXPECT_FALSE(ph.ProchainInstant());
}

TEST(PhMetre, LaLectureDerivePuisSeStabilise) {
  TPhMetre ph;  // 5.20 towards 7.02, time constant 4 s, from the first request
  const std::string premiere = Reponse(ph, 0, "PH?\r");
  const std::string apres4s = Reponse(ph, 4000, "PH?\r");
  const std::string apres60s = Reponse(ph, 60000, "PH?\r");
  EXPECT_EQ(premiere, " 5.20\r");
  EXPECT_NE(apres4s, premiere);
  EXPECT_NE(apres4s, apres60s);
  EXPECT_EQ(apres60s, " 7.02\r");
  EXPECT_EQ(Reponse(ph, 90000, "PH?\r"), " 7.02\r");
  // A new solution: it drifts again.
  static_cast<TDeriveAmortie&>(ph.Ph()).Plonge(100000, 4.01);
  EXPECT_EQ(Reponse(ph, 100000, "PH?\r"), " 7.02\r");
  EXPECT_EQ(Reponse(ph, 200000, "PH?\r"), " 4.01\r");
}

TEST(PhMetreContinu, UneImpressionParSecondeAuFormatDuFabricant) {
  TPhMetreContinu meter(std::make_shared<TValeurFixe>(7.37), std::make_shared<TValeurFixe>(17.6));
  meter.SetOrigineDate(EncodeDateHeure(2011, 1, 2, 22, 57, 15, 0));
  const std::string attendue = std::string("02.01.2011  22:57:15\r\n") + "pH 3310\r\n" +
                               "No.s\xE9r 08510607\r\n" + "\r\n" + "Num\xE9ro ID: 1\r\n" +
                               "pH 7.37 17.6\xB0" "C, AR, +++\r\n" + std::string(23, '_') + "\r\n" + "\r\n";
  ASSERT_EQ(attendue.size(), 116u);
  const std::vector<Octet> seconde = Deroule(meter, 0, 999);
  EXPECT_EQ(Texte(seconde), attendue);
  // 4800 bauds, 8N1: 116 characters in 242 ms.
  EXPECT_EQ(seconde.front().ms, 3);
  EXPECT_EQ(seconde.back().ms, 242);
  const std::string suivante = Texte(Deroule(meter, 1000, 1999));
  EXPECT_EQ(suivante.substr(0, 22), "02.01.2011  22:57:16\r\n");
  EXPECT_EQ(suivante.size(), 116u);
  EXPECT_EQ(meter.Impressions(), 2);
}

TEST(Balance, CommandesEtReponses) {
  TBalance b;
  EXPECT_EQ(Reponse(b, 0, "SI\r\n"), "S S       0.00 g\r\n");
  b.Pose(1000, 100.0);
  EXPECT_EQ(Reponse(b, 1100, "SI\r\n").substr(0, 4), "S D ");
  EXPECT_EQ(Reponse(b, 1100, "Z\r\n"), "Z I\r\n");
  // "S" answers once the reading has settled (2 to 3 s for 100 g).
  b.Recoit(1200, "S\r\n");
  const std::vector<Octet> stable = Deroule(b, 1200, 6000);
  EXPECT_EQ(Texte(stable), "S S     100.00 g\r\n");
  EXPECT_GT(stable.front().ms, 2500);
  EXPECT_LT(stable.front().ms, 4500);
  EXPECT_EQ(Reponse(b, 6100, "T\r\n"), "T S     100.00 g\r\n");
  EXPECT_EQ(Reponse(b, 6500, "SI\r\n"), "S S       0.00 g\r\n");
  EXPECT_EQ(Reponse(b, 6900, "@\r\n"), "I4 A \"B021002593\"\r\n");
  EXPECT_EQ(Reponse(b, 7300, "SI\r\n"), "S S     100.00 g\r\n");
  EXPECT_EQ(Reponse(b, 7700, "Z\r\n"), "Z A\r\n");
  EXPECT_EQ(Reponse(b, 8100, "SI\r\n"), "S S       0.00 g\r\n");
  EXPECT_EQ(Reponse(b, 8500, "XX\r\n"), "ES\r\n");
  b.Pose(9000, 300.0);
  EXPECT_EQ(Reponse(b, 20000, "S\r\n"), "S +\r\n");
}

TEST(Balance, PeseeStableAbandonneeApresCinqSecondes) {
  // A load that keeps changing (a draught on the pan) is never stable.
  TBalance b;
  std::string sortie;
  for (std::int64_t ms = 0; ms <= 6000; ++ms) {
    if (ms % 100 == 0) b.Pose(ms, ms % 200 ? 10.0 : 20.0);
    if (ms == 50) b.Recoit(ms, "S\r\n");
    sortie += b.Sortie(ms);
  }
  EXPECT_EQ(sortie, "S I\r\n");
}

// ---- joined to a simulated line ----

class BancSimule : public testing::Test {
protected:
  BancSimule() : serie(boucle), ligne(serie.AjouteLigne("/sim/ph")), jonction(boucle, ligne, ph) {}
  std::string Echange(int baud, const std::string& requete) {
    TReglageLigne r;
    r.baud = baud;
    TOuvertureSerie o = serie.Ouvre("/sim/ph", r);
    EXPECT_TRUE(o.peripherique);
    std::string recu;
    o.peripherique->SetRappelDonnees([&] { recu += o.peripherique->Prend(100); });
    o.peripherique->Ecrit(requete);
    boucle.Avance(500);
    o.peripherique->Ferme();
    return recu;
  }
  TBoucleSimulee boucle;
  TSerieSimulee serie;
  TLigneSimulee& ligne;
  TPhMetre ph{std::make_shared<TValeurFixe>(7.02)};
  TJonctionSimulee jonction;
};

TEST_F(BancSimule, RequeteEtReponseEnTempsVirtuel) {
  EXPECT_EQ(Echange(2400, "PH?\r"), " 7.02\r");
  EXPECT_EQ(ph.Requetes(), 1);
}

TEST_F(BancSimule, VitesseDifferenteBrouilleLaLigne) {
  EXPECT_EQ(Echange(9600, "PH?\r"), "");
  EXPECT_EQ(ph.Requetes(), 0);
  EXPECT_EQ(Echange(2400, "PH?\r"), " 7.02\r");
}

TEST_F(BancSimule, InstrumentQuiEmetSeulSurLaLigne) {
  TLigneSimulee& autre = serie.AjouteLigne("/sim/continu");
  TPhMetreContinu meter(std::make_shared<TValeurFixe>(7.37), std::make_shared<TValeurFixe>(17.6));
  TJonctionSimulee j(boucle, autre, meter);
  TReglageLigne r;
  r.baud = 4800;
  TOuvertureSerie o = serie.Ouvre("/sim/continu", r);
  ASSERT_TRUE(o.peripherique);
  std::string recu;
  o.peripherique->SetRappelDonnees([&] { recu += o.peripherique->Prend(1000); });
  boucle.Avance(3000);
  // Bytes sent while the port was closed are lost; from the opening on, one printout a second.
  EXPECT_EQ(recu.size() % 116, 0u);
  EXPECT_GE(recu.size(), 2 * 116u);
  EXPECT_NE(recu.find("pH 7.37 17.6\xB0" "C, AR, +++\r\n"), std::string::npos);
}
}  // namespace
