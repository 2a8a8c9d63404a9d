#include "cli/plateforme_console.h"

TPlateformeConsole::TPlateformeConsole(bool oui)
    : dialogue(oui),
      plateforme_{boucle, dialogue, reglages, regional, shell, pressePapiers, verrous, bibliotheques, &serie, nullptr} {
  // An error no handler caught is said on the standard error, and the run goes on.
  boucle.SetGestionnaireErreur([this](const std::string& message) { dialogue.Erreur(message); });
}

TPlateformeConsole::~TPlateformeConsole() { boucle.SetGestionnaireErreur(nullptr); }
