// Assembly of the real platform.
#include "platform/qt/plateforme_qt.h"

TPlateformeQt::TPlateformeQt(std::string titre)
    : dialogue(std::move(titre)),
      plateforme_{boucle, dialogue, reglages, regional, shell, pressePapiers, verrous, bibliotheques} {}
