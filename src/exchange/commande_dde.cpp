// Checking, splitting and parsing of the server's commands.
#include "exchange/commande_dde.h"

#include "util/cp1252.h"

namespace {
bool EstUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    int suite = 0;
    if (c < 0x80) suite = 0;
    else if (c >= 0xC2 && c <= 0xDF) suite = 1;
    else if (c >= 0xE0 && c <= 0xEF) suite = 2;
    else if (c >= 0xF0 && c <= 0xF4) suite = 3;
    else return false;
    for (int k = 1; k <= suite; ++k) {
      if (i + static_cast<std::size_t>(k) >= s.size()) return false;
      const auto d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((d & 0xC0) != 0x80) return false;
    }
    if (suite == 2) {
      const auto d = static_cast<unsigned char>(s[i + 1]);
      if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d > 0x9F)) return false;  // overlong, surrogates
    } else if (suite == 3) {
      const auto d = static_cast<unsigned char>(s[i + 1]);
      if ((c == 0xF0 && d < 0x90) || (c == 0xF4 && d > 0x8F)) return false;
    }
    i += static_cast<std::size_t>(suite) + 1;
  }
  return true;
}
}  // namespace

std::optional<std::vector<std::string>> LignesCommande(const std::string& octets) {
  if (octets.size() > LongueurMaxiCommande) return std::nullopt;
  for (const char c : octets) {
    const auto o = static_cast<unsigned char>(c);
    if ((o < 0x20 && c != '\t' && c != '\r' && c != '\n') || o == 0x7F) return std::nullopt;
  }
  const std::string texte = EstUtf8(octets) ? octets : Cp1252VersUtf8(octets);
  std::vector<std::string> lignes;
  std::string ligne;
  bool ouverte = false;
  for (std::size_t i = 0; i < texte.size(); ++i) {
    const char c = texte[i];
    if (c == '\r' || c == '\n') {
      lignes.push_back(ligne);
      ligne.clear();
      ouverte = false;
      if (c == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
    } else {
      ligne += c;
      ouverte = true;
    }
  }
  if (ouverte) lignes.push_back(ligne);
  return lignes;
}

TCommandeDDE DecoupeCommande(const std::string& ligne) {
  // Positions counted from 1, 0 for an absent parenthesis, as the rule is stated.
  const std::size_t ouvre = ligne.find('(');
  const std::size_t ferme = ligne.find(')');
  const std::size_t p = ouvre == std::string::npos ? 0 : ouvre + 1;
  const std::size_t q = ferme == std::string::npos ? 0 : ferme + 1;
  TCommandeDDE commande;
  commande.verbe = ouvre == std::string::npos ? ligne : ligne.substr(0, ouvre);
  if (p < q) commande.argument = ligne.substr(p, q - p - 1);
  return commande;
}
