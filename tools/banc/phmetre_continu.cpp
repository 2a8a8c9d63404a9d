// The self-transmitting pH meter of the bench.
#include "banc/phmetre_continu.h"

#include <cstdio>

#include "links/journal_serie.h"
#include "util/durees.h"

TReglageLigne TPhMetreContinu::LigneParDefaut() {
  TReglageLigne ligne;
  ligne.baud = 4800;
  return ligne;
}

TPhMetreContinu::TPhMetreContinu(std::shared_ptr<TGrandeurSimulee> ph, std::shared_ptr<TGrandeurSimulee> temperature,
                                 TReglageLigne ligne)
    : TInstrumentCadence("pH-metre-continu", ligne),
      ph_(ph ? std::move(ph) : std::make_shared<TDeriveAmortie>(7.80, 7.37, 5000.0, 0.02)),
      temperature_(temperature ? std::move(temperature) : std::make_shared<TDeriveAmortie>(18.5, 17.6, 20000.0)) {}

std::string TPhMetreContinu::Sortie(std::int64_t ms) {
  // The first call starts the printing: the clock's origin is the driver's.
  if (!demarre_) {
    demarre_ = true;
    ReveilA(ms);
  }
  return TInstrumentCadence::Sortie(ms);
}

std::optional<std::int64_t> TPhMetreContinu::ProchainInstant() const {
  if (!demarre_) return std::int64_t{0};
  return TInstrumentCadence::ProchainInstant();
}

void TPhMetreContinu::Reveil(std::int64_t ms) {
  Envoie(ms, Impression(ms));
  ReveilA(ms + IntervalleMs);
}

std::string TPhMetreContinu::Impression(std::int64_t ms) {
  ++impressions_;
  const double date = DateHeure(ms);
  const TDateCivile d = DecodeDate(date);
  const THeureDecodee h = DecodeHeure(date);
  char entete[40];
  std::snprintf(entete, sizeof entete, "%02d.%02d.%04d  %02d:%02d:%02d\r\n", d.jour, d.mois, d.annee, h.heure,
                h.minute, h.seconde);
  char mesure[48];
  std::snprintf(mesure, sizeof mesure, "pH %.2f %.1f\xB0" "C, AR, +++\r\n", ph_->Valeur(ms), temperature_->Valeur(ms));
  return std::string(entete) + "pH 3310\r\nNo.s\xE9r 08510607\r\n\r\nNum\xE9ro ID: 1\r\n" + mesure +
         std::string(23, '_') + "\r\n\r\n";
}
