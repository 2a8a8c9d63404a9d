// Reals and durations in the fields of the settings dialogs.
#include "dialogs/formats_dialogue.h"

#include <cmath>
#include <cstdio>

#include "platform/regional.h"
#include "util/durees.h"
#include "util/nombres.h"
#include "util/regional_courant.h"

std::string TexteReelDialogue(double x) {
  if (std::isnan(x)) return {};
  return FormatGeneral(x, 15, 1, SeparateurDecimal());
}

std::string TexteDureeDialogue(const TParametresRegionaux& regional, std::int32_t secondes) {
  if (secondes < 0) secondes = 0;
  if (secondes < 86400) return regional.HeureLongue(SecondesEnHeure(secondes));
  char texte[32];
  std::snprintf(texte, sizeof texte, "%d:%02d:%02d", secondes / 3600, (secondes / 60) % 60, secondes % 60);
  return texte;
}

std::optional<std::int32_t> LitDureeDialogue(std::string_view texte) {
  if (auto s = LitDuree(texte)) return s;
  // hours:minutes:seconds with hours beyond 23, digits only around the separators.
  int champs[3] = {0, 0, 0};
  int n = 0;
  bool chiffre = false;
  for (std::size_t i = 0; i < texte.size(); ++i) {
    const char c = texte[i];
    if (c == ' ' && !chiffre) continue;
    if (c >= '0' && c <= '9') {
      if (champs[n] > 100000) return std::nullopt;
      champs[n] = champs[n] * 10 + (c - '0');
      chiffre = true;
    } else if (c == ':' && chiffre && n < 2) {
      ++n;
      chiffre = false;
    } else {
      return std::nullopt;
    }
  }
  if (n != 2 || !chiffre || champs[1] > 59 || champs[2] > 59) return std::nullopt;
  const std::int64_t total = std::int64_t{champs[0]} * 3600 + champs[1] * 60 + champs[2];
  if (total > 1000000) return std::nullopt;
  return static_cast<std::int32_t>(total);
}
