// The terminal's rules: the send lines with their added line ends, the receive line
// rule, and an exchange with the bench pH meter on the simulated platform.
#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/banc_moteur.h"
#include "dialogs/terminal.h"
#include "links/dialogs/terminal_lignes.h"

TEST(LignesTerminal, EnvoiMontreLaFinDeLigneAjoutee) {
  struct Cas {
    TFinEnvoi fin;
    const char* octets;
    const char* ligne;
  };
  const Cas cas[] = {
      {TFinEnvoi::Aucune, "M", "Envoi de : M"},
      {TFinEnvoi::CR, "M", "Envoi de : M|CR|"},
      {TFinEnvoi::CRLF, "M", "Envoi de : M|CR||LF|"},
      // As typed: the escape notation is not decoded, a bar shows doubled.
      {TFinEnvoi::CR, "|CR|", "Envoi de : ||CR|||CR|"},
      {TFinEnvoi::Aucune, "", "Envoi de : "},
  };
  for (const Cas& c : cas) {
    const std::string envoye = TexteEnvoye(c.octets, c.fin);
    EXPECT_EQ(LigneEnvoi(envoye), c.ligne) << c.octets;
  }
  EXPECT_EQ(TexteEnvoye("M", TFinEnvoi::CRLF), "M\r\n");
}

TEST(LignesTerminal, ReceptionCoupeSurCRLFXonXoffEtIgnoreLaTabulation) {
  TLignesReception r;
  std::vector<std::string> lignes;
  for (char c : std::string("7.02\tpH\r\n\x11" "a\x13" "b\x01\xE9\n"))
    if (auto l = r.Recoit(c)) lignes.push_back(*l);
  EXPECT_EQ(lignes, (std::vector<std::string>{"Réception de : 7.02pH", "Réception de : a", "Réception de : bé"}));
  EXPECT_TRUE(r.Tampon().empty());
  // Without a line end, the line waits.
  EXPECT_FALSE(r.Recoit('x'));
  EXPECT_EQ(r.Tampon(), "x");
}

namespace {
class Terminal : public TBancMoteur {
protected:
  void SetUp() override {
    Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
    Tappareil& a = ModelePh("pH essai", 3);
    a.AidePilotage[1] = "PH? : le pH";
    a.AidePilotage[3] = "TM? : la température";
    Demarre();
    moteur->TraceCB = false;
    Voies({"pH essai"});
    ASSERT_TRUE(moteur->setVoieSerieApp(*moteur->Voie(0)));
    moteur->SuspendAcq();  // as the channel dialog that opens the terminal does
  }
  TPortSerie& Port() { return *moteur->voieSerieCin[3]; }
};
}  // namespace

TEST_F(Terminal, EchangeAvecLePhMetreEtRenduDuPort) {
  TTerminalForm t(*moteur);
  t.voieApp = 0;
  std::vector<std::string> vues;
  t.SurLigne = [&](const std::string& l) { vues.push_back(l); };
  t.FormActivate();
  ASSERT_EQ(t.MemoAide.size(), 16u);
  EXPECT_EQ(t.MemoAide[0], "PH? : le pH");
  EXPECT_EQ(t.MemoAide[1], "");  // empty lines kept in place
  EXPECT_EQ(t.MemoAide[2], "TM? : la température");
  ASSERT_EQ(t.voieSerieLoc, &Port());
  EXPECT_EQ(Port().OnTriggerAvail().proprietaire, &t);

  TLigneSimulee& ligne = *p.serie.Ligne("/sim/com3");
  ligne.EffaceRecu();
  t.OrdreEdit = "PH?";
  t.EnvoiCRClick();
  p.boucle.Avance(500);
  EXPECT_EQ(ligne.Recu(), "PH?\r");
  EXPECT_EQ(t.Memo1, (std::vector<std::string>{"Envoi de : PH?|CR|", "Réception de :  7.02"}));
  EXPECT_EQ(vues, t.Memo1);
  // The engine saw none of it.
  EXPECT_TRUE(moteur->Voie(0)->ChaineLue.empty());

  // Sent as typed: no line end, and an accented letter as its 8-bit byte.
  ligne.EffaceRecu();
  t.OrdreEdit = "é";
  t.EnvoiClick();
  p.boucle.Avance(100);
  EXPECT_EQ(ligne.Recu(), "\xE9");
  EXPECT_EQ(t.Memo1.back(), "Envoi de : é");
  t.ClearBtnClick();
  EXPECT_TRUE(t.Memo1.empty());

  t.FormClose();
  EXPECT_EQ(Port().OnTriggerAvail().proprietaire, moteur.get());
  EXPECT_TRUE(Port().Open());
  EXPECT_EQ(t.voieSerieLoc, nullptr);
}
