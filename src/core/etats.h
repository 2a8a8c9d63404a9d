// The acquisition state and mode, in the order their values are stored.
#pragma once

#include <cstdint>

enum TEtatAcquisition : std::uint8_t { eaEnCours, eaTerminee, eaAttente, eaNone, eaIncrement, eaClavier };

enum TModeAcq : std::uint8_t { maTemps, maIncrement, maAppareilMaitre, maClavier, maBuretteRS232 };

inline constexpr int NbreModesAcq = 5;

// The item text under which the acquisition-mode dialog offers each mode.
inline const char* TexteModeAcq(TModeAcq mode) {
  switch (mode) {
    case maTemps: return "Balayage temporel";
    case maIncrement: return "Frappe de la barre d'espace";
    case maAppareilMaitre: return "à chaque envoi de l'appareil";
    case maClavier: return "Entrée clavier";
    case maBuretteRS232: return "Burette Schott Titronic";
  }
  return "";
}
