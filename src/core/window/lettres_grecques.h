// The application-wide typing of Greek letters: Ctrl + a letter types the Greek
// letter of the same name (Ctrl+Shift the capital); Ctrl+C and Ctrl+X keep copying
// and cutting a selection. No Qt here: the key filter asks these rules.
#pragma once

#include <string>

// The UTF-8 letter for the control code 1..26 (Ctrl+A .. Ctrl+Z); empty outside.
// O, U, V and Y have no Greek counterpart here and stay Latin.
std::string LettreGrecque(int code, bool majuscule);

enum class TActionCtrl { Aucune, Copie, Coupe, Lettre };

struct TDecisionCtrl {
  TActionCtrl action = TActionCtrl::Aucune;
  std::string lettre;  // for Lettre
};

// What a control code does: with Shift or Caps Lock, the capital letter; otherwise
// Ctrl+C and Ctrl+X copy or cut when the focused edit has a selection, and every
// other code types the small letter. Aucune outside 1..26.
TDecisionCtrl DecideCtrlLettre(int code, bool shiftOuVerrou, bool editAvecSelection);
