// Default adapters: no vendor library.
#include "core/adaptateurs.h"

#include "instruments/appareil.h"
#include "util/nombres.h"

Tappareil* TAdaptateurs::DefinitionMetre(Tappareil& modele, const TMetreUSB& metre) {
  modele.pathOrigalys = metre.chemin;
  return &modele;
}

double TAdaptateurs::ValeurUSB(Tappareil&) { return PasDeValeur; }
double TAdaptateurs::ValeurBoitier(Tappareil&) { return PasDeValeur; }

bool MetreConnecte(const std::vector<TMetreUSB>& metres, int ident) {
  for (const TMetreUSB& m : metres)
    if (m.connecte && m.ident == ident) return true;
  return false;
}
