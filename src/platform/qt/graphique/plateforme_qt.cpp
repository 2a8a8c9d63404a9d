// Assembly of the real platform.
#include "platform/qt/graphique/plateforme_qt.h"

TPlateformeQt::TPlateformeQt(std::string titre)
    : dialogue(std::move(titre)),
      plateforme_{boucle, dialogue, reglages, regional, shell, pressePapiers, verrous, bibliotheques, &serie, &ipc} {
  // An error no handler caught reaches the user as a message, as the application's
  // general error display does, instead of ending the program.
  boucle.SetGestionnaireErreur([this](const std::string& message) { dialogue.Erreur(message); });
}
