// Reals in the fields of the settings dialogs.
#include "dialogs/formats_dialogue.h"

#include <cmath>

#include "util/nombres.h"
#include "util/regional_courant.h"

std::string TexteReelDialogue(double x) {
  if (std::isnan(x)) return {};
  return FormatGeneral(x, 15, 1, SeparateurDecimal());
}
