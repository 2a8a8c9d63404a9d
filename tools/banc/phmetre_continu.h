// A pH meter that prints its reading on its own every second, as the lab meters with
// a printer output do. One printout is eight lines (8-bit, Windows-1252; CR LF ends):
//   "02.01.2011  22:57:15"        date and time, two blanks between
//   "pH 3310"                     model
//   "No.sér 08510607"             serial number
//   ""
//   "Numéro ID: 1"                the meter's identifier
//   "pH 7.37 17.6°C, AR, +++"     reading, temperature, auto-read, electrode condition
//   "_______________________"     23 underscores
//   ""
// 116 bytes; line 4800 bauds, 8N1, so a printout takes about a quarter of a second.
#pragma once

#include <memory>

#include "banc/grandeur.h"
#include "banc/instrument.h"

class TPhMetreContinu final : public TInstrumentCadence {
public:
  static constexpr int IntervalleMs = 1000;
  static TReglageLigne LigneParDefaut();

  // Without readings given: pH from 7.80 to 7.37 (5 s), temperature 18.5 to 17.6 °C (20 s).
  explicit TPhMetreContinu(std::shared_ptr<TGrandeurSimulee> ph = nullptr,
                           std::shared_ptr<TGrandeurSimulee> temperature = nullptr,
                           TReglageLigne ligne = LigneParDefaut());

  std::string Sortie(std::int64_t ms) override;
  std::optional<std::int64_t> ProchainInstant() const override;

  // The printout made at `ms`, as it goes on the line.
  std::string Impression(std::int64_t ms);
  int Impressions() const { return impressions_; }

protected:
  void Reveil(std::int64_t ms) override;

private:
  std::shared_ptr<TGrandeurSimulee> ph_;
  std::shared_ptr<TGrandeurSimulee> temperature_;
  bool demarre_ = false;
  int impressions_ = 0;
};
