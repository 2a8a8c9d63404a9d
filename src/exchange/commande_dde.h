// The commands the analysis program sends to this program's server: the received
// bytes checked and cut into lines, and one line cut into its verb and argument.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ipc.h"

// A text longer than this is no command: the link's own bound.
inline constexpr std::size_t LongueurMaxiCommande = TailleMaxiCommandeIPC;

// The received text as a list of lines, split at CR LF, LF or CR; a final line break
// ends the last line without opening another, so "" has no line. Nothing when the
// bytes are no text: too long, or holding control bytes other than tab, CR and LF.
// Bytes that are not UTF-8 are taken as Windows-1252, the 8-bit text of the client.
std::optional<std::vector<std::string>> LignesCommande(const std::string& octets);

struct TCommandeDDE {
  std::string verbe;     // the text before the first "(", the whole line without one
  std::string argument;  // the text between the first "(" and the first ")" after it
};

// The line is not trimmed: a blank before "(" stays in the verb.
TCommandeDDE DecoupeCommande(const std::string& ligne);
