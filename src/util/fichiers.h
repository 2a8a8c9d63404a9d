// Safe file writing: the new content goes to a temporary file beside the target,
// is flushed to disk, then renamed over it, so a failure keeps the previous file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Writes bytes as they are; false on any failure (the old file is left intact).
bool EcritFichierSur(const std::string& chemin, std::string_view octets);
// The whole file as bytes; nothing when it cannot be read.
std::optional<std::string> LitFichier(const std::string& chemin);
// Appends and flushes (the running text copy); false on failure.
bool AjouteAuFichier(const std::string& chemin, std::string_view octets);
