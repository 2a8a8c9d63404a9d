// The Greek letters typed with Ctrl.
#include "core/window/lettres_grecques.h"

#include <array>

namespace {
// a .. z
constexpr std::array<const char*, 26> Majuscules = {"Α", "Β", "Χ", "Δ", "Ε", "Φ", "Γ", "Η", "Ι", "Ψ", "Κ", "Λ", "Μ",
                                                    "Ν", "O", "Π", "Θ", "Ρ", "Σ", "Τ", "U", "V", "Ω", "Ξ", "Y", "Ζ"};
constexpr std::array<const char*, 26> Minuscules = {"α", "β", "χ", "δ", "ε", "φ", "γ", "η", "ι", "ψ", "κ", "λ", "μ",
                                                    "ν", "ο", "π", "θ", "ρ", "σ", "τ", "u", "v", "ω", "ξ", "y", "ζ"};
}  // namespace

std::string LettreGrecque(int code, bool majuscule) {
  if (code < 1 || code > 26) return {};
  return (majuscule ? Majuscules : Minuscules)[static_cast<std::size_t>(code - 1)];
}

TDecisionCtrl DecideCtrlLettre(int code, bool shiftOuVerrou, bool editAvecSelection) {
  if (code < 1 || code > 26) return {};
  if (shiftOuVerrou) return {TActionCtrl::Lettre, LettreGrecque(code, true)};
  if (editAvecSelection && code == 3) return {TActionCtrl::Copie, {}};
  if (editAvecSelection && code == 24) return {TActionCtrl::Coupe, {}};
  return {TActionCtrl::Lettre, LettreGrecque(code, false)};
}
