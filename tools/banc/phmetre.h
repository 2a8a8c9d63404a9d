// A polled pH meter: it answers each request with one reading, in the layout of the
// pocket meters that answer "PH?", "MV?" and "TM?" followed by CR:
//   "PH?" -> the pH, 5 characters right-aligned, 2 decimals, then CR   " 7.02\r"
//   "MV?" -> the potential in mV, 6 characters, 1 decimal, then CR    "  -1.2\r"
//   "TM?" -> the temperature in °C, 5 characters, 1 decimal, then CR   " 25.0\r"
// A pH outside -2..16 gives "Err 1\r", a potential outside ±1999.9 mV "Err 2\r".
// Other commands ("PHR", "MVR": range choice) get no answer, as on the real meter.
// The answer starts 20 ms after the request's CR. Line: 2400 bauds, 8N1.
#pragma once

#include <memory>

#include "banc/grandeur.h"
#include "banc/instrument.h"

class TPhMetre final : public TInstrumentCadence {
public:
  static constexpr int DelaiReponseMs = 20;
  static TReglageLigne LigneParDefaut();

  // Without a reading given: from pH 5.20 to 7.02, time constant 4 s.
  explicit TPhMetre(std::shared_ptr<TGrandeurSimulee> ph = nullptr, TReglageLigne ligne = LigneParDefaut());

  TGrandeurSimulee& Ph() { return *ph_; }
  void SetTemperature(double celsius) { temperature_ = celsius; }
  int Requetes() const { return requetes_; }

protected:
  void Commande(std::int64_t ms, const std::string& ligne) override;

private:
  std::shared_ptr<TGrandeurSimulee> ph_;
  double temperature_ = 25.0;
  int requetes_ = 0;
};
