// Channel panel geometry.
#include "core/window/disposition_voies.h"

#include <algorithm>

std::optional<TDispositionVoies> DisposeVoies(bool multimetre, int voies, int hauteur, int largeur) {
  TDispositionVoies d;
  if (!multimetre) {
    d.nomPoliceTitre = "Tracoria";
    return d;
  }
  if (voies <= 0) return std::nullopt;
  const int h = std::max(hauteur, 0) / voies;
  const int f = std::min(std::max(largeur, 0) / 8, h / 2);
  d.hauteurPanneau = h;
  d.policeTitre = f / 2;
  d.nomPoliceTitre = "Calibri";
  d.policeValeur = f;
  d.hautValeur = h / 3;
  d.gaucheIndicateur = (2 * std::max(largeur, 0)) / 3;
  d.largeurPanneauVoies = 0;
  d.fondBlanc = true;
  return d;
}
