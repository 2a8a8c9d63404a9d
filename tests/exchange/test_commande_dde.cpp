// The server's commands: received bytes checked and cut into lines, a line cut into
// verb and argument.
#include <gtest/gtest.h>

#include "exchange/commande_dde.h"

TEST(CommandeDDE, VerbeEtArgument) {
  struct Cas {
    const char* ligne;
    const char* verbe;
    const char* argument;
  };
  const Cas cas[] = {
      {"FILE|LOAD(C:\\x.rs2)", "FILE|LOAD", "C:\\x.rs2"},
      {"file|load(/home/a b/x.rs2)", "file|load", "/home/a b/x.rs2"},
      {"FILE|LOAD (x)", "FILE|LOAD ", "x"},
      {"GETDATA", "GETDATA", ""},
      {"GETDATA ", "GETDATA ", ""},
      {"FILE|LOAD()", "FILE|LOAD", ""},
      {"FILE|LOAD(x", "FILE|LOAD", ""},           // no ")": no argument
      {"FILE|LOAD)x(", "FILE|LOAD)x", ""},        // ")" before "(": no argument
      {"FILE|SAVE(a(b).rs2)", "FILE|SAVE", "a(b"},  // up to the first ")"
      {"", "", ""},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.ligne);
    const TCommandeDDE commande = DecoupeCommande(c.ligne);
    EXPECT_EQ(commande.verbe, c.verbe);
    EXPECT_EQ(commande.argument, c.argument);
  }
}

TEST(CommandeDDE, LignesRecues) {
  struct Cas {
    const char* nom;
    std::string octets;
    std::vector<std::string> lignes;
  };
  const Cas cas[] = {
      {"une ligne", "GETDATA", {"GETDATA"}},
      {"fin de ligne finale", "GETDATA\r\n", {"GETDATA"}},
      {"deux lignes", "FOCUS\r\nGETDATA", {"FOCUS", "GETDATA"}},
      {"LF et CR seuls", "a\nb\rc", {"a", "b", "c"}},
      {"ligne vide", "\r\n", {""}},
      {"rien", "", {}},
      {"tabulation gardee", "FILE|LOAD(a\tb)", {"FILE|LOAD(a\tb)"}},
      {"UTF-8 garde", "FILE|LOAD(/home/élève/x.rs2)", {"FILE|LOAD(/home/élève/x.rs2)"}},
      {"1252 converti", "FILE|LOAD(/home/\xE9l\xE8ve/x.rs2)", {"FILE|LOAD(/home/élève/x.rs2)"}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    const auto lignes = LignesCommande(c.octets);
    ASSERT_TRUE(lignes.has_value());
    EXPECT_EQ(*lignes, c.lignes);
  }
}

TEST(CommandeDDE, OctetsQuiNeSontPasUnTexte) {
  struct Cas {
    const char* nom;
    std::string octets;
  };
  const Cas cas[] = {
      {"octet nul", std::string("GETDATA\0x", 9)},
      {"controle", "GET\x01" "DATA"},
      {"echappement", "\x1B[2J"},
      {"DEL", "GETDATA\x7F"},
      {"trop long", "FILE|LOAD(" + std::string(LongueurMaxiCommande, 'a') + ")"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    EXPECT_FALSE(LignesCommande(c.octets).has_value());
  }
  EXPECT_TRUE(LignesCommande(std::string(LongueurMaxiCommande, 'a')).has_value());
}
