// Default adapters: no vendor library.
#include "core/adaptateurs.h"

#include "util/nombres.h"

double TAdaptateurs::ValeurUSB(Tappareil&) { return PasDeValeur; }
double TAdaptateurs::ValeurBoitier(Tappareil&) { return PasDeValeur; }
