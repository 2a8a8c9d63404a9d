// Random and mutated commands into the server's handler, as the analysis program (or
// anything that reaches the socket) could send them. Whatever the bytes: the answer
// comes before any box, a refused command changes nothing, bytes that are no text
// bother nobody, and at most one box follows one command. The seed is fixed and the
// rounds bounded, so a failure replays exactly.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "banc_echange.h"
#include "exchange/commande_dde.h"

namespace {

class FormDDEFuzz : public TBancEchange {
protected:
  FormDDEFuzz() {
    EXPECT_TRUE(dde->FormCreate());
    p.dialogue.ReponsePermanente(false);  // a GETDATA over unsaved data is declined
  }
};

TEST_F(FormDDEFuzz, CommandesMuteesEtOctetsAleatoires) {
  const std::vector<std::string> valides = {"FILE|LOAD(x.rs2)", "CONFIG|SAVE(b)", "FOCUS", "GETDATA",
                                            "config|load(a b/c.rs2)\r\n", "FILE|SAVE()"};
  std::ofstream("x.rs2") << "[Acquisition]\r\n";
  const std::string alphabet = "()|\r\n FILECONFIGLOADSAVEFOCUSGETDATA.x";
  std::mt19937 alea(0xf0d);
  int acceptes = 0, refuses = 0;
  for (int tour = 0; tour < 3000; ++tour) {
    std::string octets = valides[alea() % valides.size()];
    const int n = static_cast<int>(alea() % 4);
    for (int i = 0; i < n && !octets.empty(); ++i) {
      const std::size_t pos = alea() % octets.size();
      switch (alea() % 3) {
        case 0: octets[pos] = alphabet[alea() % alphabet.size()]; break;
        case 1: octets[pos] = static_cast<char>(alea() % 256); break;
        default: octets.erase(pos, 1 + alea() % 4); break;
      }
    }
    if (tour % 50 == 0) octets += std::string(LongueurMaxiCommande, 'x');
    SCOPED_TRACE("tour " + std::to_string(tour));
    charges.clear();
    sauves.clear();
    p.dialogue.VideJournal();
    moteur->PagePermise = true;
    const int focusAvant = focus;
    const auto etat = moteur->EtatAcq;
    const bool accepte = dde->RecoitCommande(octets);
    ++(accepte ? acceptes : refuses);
    ASSERT_TRUE(p.dialogue.Journal().empty());  // answered before any box
    p.boucle.TraiteEnAttente();
    ASSERT_LE(p.dialogue.Messages().size(), 1u);
    if (!LignesCommande(octets)) {
      ASSERT_FALSE(accepte);
      ASSERT_TRUE(p.dialogue.Journal().empty());
    }
    if (!accepte) {
      ASSERT_TRUE(charges.empty());
      ASSERT_TRUE(sauves.empty());
      ASSERT_EQ(focus, focusAvant);
      ASSERT_EQ(moteur->EtatAcq, etat);
      ASSERT_TRUE(moteur->PagePermise);
    }
    for (const auto& c : charges) ASSERT_FALSE(c.empty());
    for (const auto& s : sauves) ASSERT_FALSE(s.empty());
  }
  // Both outcomes were met many times, so both sets of checks ran.
  EXPECT_GT(acceptes, 300);
  EXPECT_GT(refuses, 300);
}

}  // namespace
