// The polled pH meter of the bench.
#include "banc/phmetre.h"

#include <cmath>
#include <cstdio>

TReglageLigne TPhMetre::LigneParDefaut() {
  TReglageLigne ligne;
  ligne.baud = 2400;
  return ligne;
}

TPhMetre::TPhMetre(std::shared_ptr<TGrandeurSimulee> ph, TReglageLigne ligne)
    : TInstrumentCadence("pH-metre", ligne),
      ph_(ph ? std::move(ph) : std::make_shared<TDeriveAmortie>(5.20, 7.02, 4000.0, 0.03)) {}

void TPhMetre::Commande(std::int64_t ms, const std::string& ligne) {
  char texte[32];
  const double ph = ph_->Valeur(ms);
  if (ligne == "PH?") {
    if (ph < -2 || ph > 16) std::snprintf(texte, sizeof texte, "Err 1\r");
    else std::snprintf(texte, sizeof texte, "%5.2f\r", ph);
  } else if (ligne == "MV?") {
    // Nernst slope at the meter's temperature, 0 mV at pH 7.
    const double mv = (7.0 - ph) * 0.19842 * (temperature_ + 273.15);
    if (std::fabs(mv) > 1999.9) std::snprintf(texte, sizeof texte, "Err 2\r");
    else std::snprintf(texte, sizeof texte, "%6.1f\r", mv);
  } else if (ligne == "TM?") {
    std::snprintf(texte, sizeof texte, "%5.1f\r", temperature_);
  } else {
    return;
  }
  ++requetes_;
  Envoie(ms + DelaiReponseMs, texte);
}
