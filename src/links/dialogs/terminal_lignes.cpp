// The log lines of a free exchange with an instrument.
#include "links/dialogs/terminal_lignes.h"

#include "instruments/commande.h"
#include "util/cp1252.h"

std::string TexteEnvoye(std::string_view octets, TFinEnvoi fin) {
  std::string texte(octets);
  if (fin != TFinEnvoi::Aucune) texte += '\r';
  if (fin == TFinEnvoi::CRLF) texte += '\n';
  return texte;
}

std::string LigneEnvoi(std::string_view envoye) { return "Envoi de : " + CodeCommande(envoye); }

std::optional<std::string> TLignesReception::Recoit(char c) {
  const auto octet = static_cast<unsigned char>(c);
  if (octet >= 32) {
    // A line never grows without bound: an instrument that sends no line end at
    // all still shows what it sends.
    if (tampon_.size() < 4096) {
      tampon_ += c;
      return std::nullopt;
    }
    std::string ligne = "Réception de : " + Cp1252VersUtf8(tampon_);
    tampon_.assign(1, c);
    return ligne;
  }
  if (octet == 10 || octet == 13 || octet == 17 || octet == 19 || (octet == 9 && tabulationFinDeLigne_)) {
    if (tampon_.empty()) return std::nullopt;
    std::string ligne = "Réception de : " + Cp1252VersUtf8(tampon_);
    tampon_.clear();
    return ligne;
  }
  return std::nullopt;
}
