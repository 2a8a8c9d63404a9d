// Safe file writing: the new content goes to a temporary file beside the target,
// is flushed to disk, then renamed over it, so a failure keeps the previous file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Writes bytes as they are; false on any failure (the old file is left intact).
bool EcritFichierSur(const std::string& chemin, std::string_view octets);
// A file read whole is at most this big unless its reader says otherwise (the
// configuration and device files are far smaller).
inline constexpr std::size_t TailleMaxiLecture = 32u << 20;
// The whole file as bytes; nothing when it cannot be read, is no regular file (a
// folder, a FIFO, a device) or is larger than `tailleMaxi`. It never blocks. On
// failure errno tells why, as for every function here.
std::optional<std::string> LitFichier(const std::string& chemin, std::size_t tailleMaxi = TailleMaxiLecture);
// The folder of a path: "." for a bare name, "/" for one at the root.
std::string DossierDe(const std::string& chemin);
// The French reason of a failure of these functions, from errno ("disque plein").
std::string TexteErreurSysteme(int erreur);
// Appends and flushes (the running text copy); false on failure.
bool AjouteAuFichier(const std::string& chemin, std::string_view octets);
