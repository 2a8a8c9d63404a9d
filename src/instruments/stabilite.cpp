// Stability of a reading: the instrument's own report, or the drift of the line
// fitted through the last six decoded values.
#include <cmath>

#include "instruments/appareil.h"
#include "instruments/statistique.h"

bool Tappareil::isStable() const {
  if (lectureSTAB) return reponseStab == "SRAB";
  if (std::isnan(ValeurCourante) || nbreRouleau < 6) return false;
  TStatistiqueDeuxVar statistique;
  statistique.Init(indiceRouleau, valeurRouleau, 6);
  // Drift of the fitted line over six readings; equality is not stable.
  return Derive > 6 * std::fabs(statistique.penteY);
}
