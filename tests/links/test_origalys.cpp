// The USB meters' adapter: a response read as a value, the 16-bit text blocks, and the
// enumerator and meter objects over a stand-in library (what is called, what is not).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "links/bibliotheques_factices.h"
#include "links/origalys.h"
#include "links/texte16.h"
#include "platform/simule/dialogue_scripte.h"

namespace {
struct CasReponse {
  const char* reponse;
  double valeur;  // NaN: no value
};

class ReponseOrigalys : public ::testing::TestWithParam<CasReponse> {};

TEST_P(ReponseOrigalys, Valeur) {
  const CasReponse& c = GetParam();
  const double v = ValeurReponseOrigalys(c.reponse);
  if (std::isnan(c.valeur)) EXPECT_TRUE(std::isnan(v)) << c.reponse << " -> " << v;
  else EXPECT_NEAR(v, c.valeur, std::abs(c.valeur) * 1e-12) << c.reponse;
}

INSTANTIATE_TEST_SUITE_P(
    Exemples, ReponseOrigalys,
    ::testing::Values(CasReponse{"7.02 pH", 7.02}, CasReponse{"-123.4 mV", -0.1234}, CasReponse{"25.3 \xB0" "C", 25.3},
                      CasReponse{"1.413 mS/cm", 0.001413}, CasReponse{"12.5 \xB5S/cm", 0.0000125},
                      CasReponse{"7. pH", 7}, CasReponse{"+3 kOhm", 3000}, CasReponse{"2.5E-2 MOhm", 25000},
                      // '.' cannot start a number; 'p' right after the number is passed over.
                      CasReponse{".5 pH", 5}, CasReponse{"7.02pH", 7.02},
                      CasReponse{"nan", NAN}, CasReponse{"7.02 nan pH", NAN}, CasReponse{"", NAN},
                      CasReponse{"pH", NAN}, CasReponse{"7-2 pH", NAN},
                      // No unit text: the number with factor 1, not NaN.
                      CasReponse{"7.02", 7.02}, CasReponse{"7.02 ", 7.02}));

TEST(Texte16, BlocsDansLesDeuxSens) {
  const TBloc16 bloc = BlocVersBibliotheque("?measure pH");
  EXPECT_EQ(bloc[0], '?');
  EXPECT_EQ(bloc[10], 'H');
  EXPECT_EQ(bloc[11], 0);
  EXPECT_EQ(TexteDeBibliotheque(bloc.data()), "?measure pH");
  // Only the low byte counts; 127 characters fit going to the library.
  TBloc16 haut{};
  haut[0] = 0x0137;
  haut[1] = 0x0100;  // low byte 0 ends the text
  EXPECT_EQ(TexteDeBibliotheque(haut.data()), "7");
  EXPECT_EQ(BlocVersBibliotheque(std::string(200, 'x'))[126], 'x');
  EXPECT_EQ(BlocVersBibliotheque(std::string(200, 'x'))[127], 0);
  EXPECT_EQ(TexteDeBibliotheque(nullptr), "");
}

TEST(Texte16, ReponseCouperA120Caracteres) {
  const std::string longue = std::string(119, '1') + "234567";
  const TBloc16 bloc = BlocVersBibliotheque(longue);
  EXPECT_EQ(TexteDeBibliotheque(bloc.data()), longue.substr(0, 120));
}

class Origalys : public ::testing::Test {
protected:
  Origalys() {
    factice::Remet();
    dialogue.SetEchec([](const std::string& m) { ADD_FAILURE() << m; });
  }
  ~Origalys() override { factice::Remet(); }
  std::unique_ptr<TOrigalys> Cree(std::map<std::string, void*> symboles) {
    bibliotheques.Enregistre(NomBibliothequeUSB, std::move(symboles));
    return std::make_unique<TOrigalys>(bibliotheques.Charge(NomBibliothequeUSB), dialogue);
  }
  TBibliothequesSimulees bibliotheques;
  TDialogueScripte dialogue;
};

TEST_F(Origalys, DeuxAppareilsDUneSorteSeDistinguentParLeurChemin) {
  factice::usb.metres = {{600, "/dev/a", true, {{"?measure pH", "4.00 pH"}}}, {600, "/dev/b", true, {{"?measure pH", "9.00 pH"}}}};
  auto liste = Cree(factice::SymbolesUSB());
  ASSERT_TRUE(liste->DllUsbChargee());
  EXPECT_EQ(liste->NombreApp, 0);
  liste->Init();
  ASSERT_EQ(liste->NombreApp, 2);
  EXPECT_EQ(liste->getAppareilIdent(600)->path, "/dev/b");
  EXPECT_EQ(liste->getAppareilIdent(601), nullptr);
  EXPECT_DOUBLE_EQ(liste->getAppareilIdentPath(600, "/dev/a")->GetValeur("?measure pH"), 4.0);
  EXPECT_DOUBLE_EQ(liste->getAppareilIdentPath(600, "/dev/b")->GetValeur("?measure pH"), 9.0);
  EXPECT_EQ(liste->getAppareilIdentPath(600, "/DEV/A"), nullptr);  // case counts
  EXPECT_EQ(dialogue.Messages().back(), "Appareil 600 ; /DEV/A non trouvé");
  liste.reset();
  EXPECT_EQ(factice::usb.fermetures, 2);  // both connected meters closed at the end
}

TEST_F(Origalys, AppareilNonConnecteNAppellePasLaBibliotheque) {
  factice::usb.metres = {{600, "/dev/a", false, {{"?measure pH", "7.02 pH"}}}};
  auto liste = Cree(factice::SymbolesUSB());
  liste->Init();
  EXPECT_EQ(dialogue.Messages(), std::vector<std::string>{"600 ; /dev/a non connecté"});
  TAppareilOrigalys* a = liste->getAppareilIdent(600);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetStr("?measure pH"), "");
  EXPECT_TRUE(std::isnan(a->GetValeur("?measure pH")));
  EXPECT_EQ(factice::usb.envois, 0);
  liste->Init();  // enumerated again: the message again, and it was never closed
  EXPECT_EQ(dialogue.Messages().size(), 2u);
  EXPECT_EQ(factice::usb.fermetures, 0);
}

TEST_F(Origalys, PlusDeSixAppareilsLesSixPremiersGardes) {
  for (int j = 0; j < 8; ++j) factice::usb.metres.push_back({600 + j % 2, "/dev/m" + std::to_string(j)});
  auto liste = Cree(factice::SymbolesUSB());
  liste->Init();
  EXPECT_EQ(liste->NombreApp, TOrigalys::NbreMaxi);
  EXPECT_EQ(liste->Appareil[5]->path, "/dev/m5");
  EXPECT_EQ(factice::usb.ouvertures, 6);
}

TEST_F(Origalys, InitLibereLesAnciensAppareils) {
  factice::usb.metres = {{601, "/dev/c", true}};
  auto liste = Cree(factice::SymbolesUSB());
  liste->Init();
  liste->Init();
  EXPECT_EQ(factice::usb.fermetures, 1);
  EXPECT_EQ(liste->NombreApp, 1);
}

TEST_F(Origalys, ErreurPendantLEnumeration) {
  factice::usb.metres = {{600, "/dev/a"}};
  factice::usb.cheminNul = true;
  auto liste = Cree(factice::SymbolesUSB());
  liste->Init();
  EXPECT_EQ(liste->NombreApp, 0);
  ASSERT_EQ(dialogue.Messages().size(), 1u);
  EXPECT_NE(dialogue.Messages()[0].find(" dans Origalys.Init"), std::string::npos);
}

TEST_F(Origalys, PointDEntreeManquantBibliothequeNonChargee) {
  for (const char* manquant : {"OpenFirstComDll", "CloseComDll", "GetResponseDll"}) {
    auto symboles = factice::SymbolesUSB();
    symboles.erase(manquant);
    factice::usb.metres = {{600, "/dev/a"}};
    auto liste = Cree(symboles);
    EXPECT_FALSE(liste->DllUsbChargee()) << manquant;
    liste->Init();  // nothing called, nothing found
    EXPECT_EQ(liste->NombreApp, 0);
    EXPECT_EQ(factice::usb.ouvertures, 0);
  }
  TOrigalys absente(nullptr, dialogue);
  EXPECT_FALSE(absente.DllUsbChargee());
  absente.Init();
  EXPECT_EQ(absente.NombreApp, 0);
}
}  // namespace
