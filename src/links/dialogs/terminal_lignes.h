// The log lines of a free exchange with an instrument (the terminal, the definition
// editor's "Pilotage" page): what a send button writes (the text as typed, with CR or
// CR LF added) and how received bytes are cut into lines. Bytes are 8-bit; the lines
// are UTF-8 for display.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class TFinEnvoi { Aucune, CR, CRLF };

// The bytes a send button writes: `octets` followed by nothing, CR, or CR LF.
std::string TexteEnvoye(std::string_view octets, TFinEnvoi fin);
// "Envoi de : " + the escape notation of what was written, line end included.
std::string LigneEnvoi(std::string_view envoye);

// Received bytes gathered into lines: a byte of code 32 or more is kept; 10, 13, 17
// and 19 end a line, and so does the tab when `tabulationFinDeLigne` (the editor's
// rule; the terminal drops it); every other byte is dropped. A line is cut at 4096
// bytes, whatever an instrument sends.
class TLignesReception {
public:
  explicit TLignesReception(bool tabulationFinDeLigne = false) : tabulationFinDeLigne_(tabulationFinDeLigne) {}
  void Vide() { tampon_.clear(); }
  // The line "Réception de : ..." that byte `c` ends, if any (an empty line shows nothing).
  std::optional<std::string> Recoit(char c);
  const std::string& Tampon() const { return tampon_; }

private:
  bool tabulationFinDeLigne_;
  std::string tampon_;
};
