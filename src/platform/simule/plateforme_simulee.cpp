// Assembly of the simulated platform.
#include "platform/simule/plateforme_simulee.h"

TPlateformeSimulee::TPlateformeSimulee(std::string racine, char separateur)
    : regional(separateur),
      shell(std::move(racine)),
      plateforme_{boucle, dialogue, reglages, regional, shell, pressePapiers, verrous, bibliotheques, &serie, &ipc} {}
