// Random, mutated, huge and truncated messages into the reader of the analysis
// program's commands: a refusal is whole, and what is accepted is text that reads
// back as itself. The seeds are fixed and the rounds bounded, so a failure replays.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "exchange/commande_dde.h"

namespace {

const std::vector<std::string> Valides = {"FILE|LOAD(/home/élève/pH (1).rs2)\r\n", "CLIP|LOAD", "FOCUS\r\nGETDATA",
                                          "FILE|SAVE(C:\\Mes documents\\x.rs2)", "\xe9l\xe8ve(a)b)\n\n"};

std::string Aleatoire(std::mt19937& alea, std::size_t maxi) {
  static const std::string alphabet = "()|\r\n\t FILELOADGETDATA.\\/é";
  std::string t(alea() % (maxi + 1), ' ');
  for (char& c : t) c = alea() % 6 == 0 ? static_cast<char>(alea() % 256) : alphabet[alea() % alphabet.size()];
  return t;
}

bool ControleInterdit(unsigned char o) { return (o < 0x20 && o != '\t' && o != '\r' && o != '\n') || o == 0x7F; }

void Verifie(const std::string& octets) {
  const auto lignes = LignesCommande(octets);
  bool interdit = octets.size() > LongueurMaxiCommande;
  for (const char c : octets) interdit = interdit || ControleInterdit(static_cast<unsigned char>(c));
  ASSERT_EQ(lignes.has_value(), !interdit);
  if (!lignes) return;
  std::size_t fins = 0;
  for (const char c : octets) fins += c == '\r' || c == '\n';
  ASSERT_LE(lignes->size(), fins + 1);
  for (const std::string& ligne : *lignes) {
    ASSERT_EQ(ligne.find_first_of("\r\n"), std::string::npos);
    // Every line is text already: read again, it is itself (8-bit bytes were
    // converted once, never twice).
    if (!ligne.empty() && ligne.size() <= LongueurMaxiCommande) {
      const auto relue = LignesCommande(ligne);
      ASSERT_TRUE(relue.has_value());
      ASSERT_EQ(*relue, std::vector<std::string>{ligne});
    }
    const TCommandeDDE c = DecoupeCommande(ligne);
    ASSERT_EQ(c.verbe.find('('), std::string::npos);
    ASSERT_EQ(c.argument.find(')'), std::string::npos);
    ASSERT_EQ(ligne.rfind(c.verbe, 0), 0u);
    // The argument always ends at the line's first ")".
    if (!c.argument.empty()) {
      ASSERT_EQ(ligne.find(c.argument + ")") + c.argument.size(), ligne.find(')')) << ligne;
    }
  }
}

TEST(CommandeDDEFuzz, MutationsOctetsAleatoiresTroncatures) {
  std::mt19937 alea(0xdde);
  for (const std::string& v : Valides)
    for (std::size_t n = 0; n <= v.size(); ++n) ASSERT_NO_FATAL_FAILURE(Verifie(v.substr(0, n)));
  for (int tour = 0; tour < 30000; ++tour) {
    std::string t;
    if (tour % 2) {
      t = Valides[alea() % Valides.size()];
      for (char& c : t)
        if (alea() % 5 == 0) c = static_cast<char>(alea() % 256);
    } else {
      t = Aleatoire(alea, 80);
    }
    ASSERT_NO_FATAL_FAILURE(Verifie(t)) << "tour " << tour;
  }
}

TEST(CommandeDDEFuzz, MessagesEnormesALaBorne) {
  for (const std::size_t n : {LongueurMaxiCommande - 1, LongueurMaxiCommande, LongueurMaxiCommande + 1,
                              std::size_t(10) << 20}) {
    ASSERT_NO_FATAL_FAILURE(Verifie("FILE|LOAD(" + std::string(n > 11 ? n - 11 : 0, '\xe9') + ")"));
    ASSERT_NO_FATAL_FAILURE(Verifie(std::string(n, '\n')));
    ASSERT_NO_FATAL_FAILURE(Verifie(std::string(n, '(')));
  }
}

}  // namespace
