// A laboratory balance speaking the standard command set of precision balances
// (commands and answers end with CR LF; weight field 10 characters right-aligned,
// a blank, the unit):
//   "S"   stable weight: "S S     100.00 g" once the reading has settled (it waits
//         up to 5 s, then "S I"); "S +" above the capacity, "S -" below zero range
//   "SI"  weight at once: "S S ..." when stable, "S D ..." (dynamic) otherwise
//   "Z"   zero: "Z A" (when the reading is stable; "Z I" otherwise)
//   "T"   tare: "T S     12.34 g" (the tare taken)
//   "I4"  serial number: "I4 A \"B021002593\""
//   "@"   reset (tare and zero cleared): "I4 A \"B021002593\""
//   other "ES" (syntax error)
// Resolution 0.01 g, capacity 220 g. Line: 9600 bauds, 8N1.
#pragma once

#include <optional>

#include "banc/grandeur.h"
#include "banc/instrument.h"

class TBalance final : public TInstrumentCadence {
public:
  static constexpr double Capacite = 220.0;
  static constexpr double Resolution = 0.01;
  static constexpr int DelaiReponseMs = 30;
  static constexpr int AttenteStableMaxMs = 5000;
  static TReglageLigne LigneParDefaut();

  explicit TBalance(TReglageLigne ligne = LigneParDefaut());

  // A load put on the pan at `ms` (gross mass in g); the reading settles in 2 to 3 s.
  void Pose(std::int64_t ms, double masse);
  // Net reading at `ms`, and whether it has stopped moving.
  double Lecture(std::int64_t ms);
  bool Stable(std::int64_t ms);

protected:
  void Commande(std::int64_t ms, const std::string& ligne) override;
  void Reveil(std::int64_t ms) override;

private:
  std::string Pesee(const char* statut, std::int64_t ms);
  TDeriveAmortie brut_{0.0, 0.0, 250.0};
  double zero_ = 0;
  double tare_ = 0;
  std::optional<std::int64_t> attenteStable_;  // an "S" waits since then
  std::optional<std::int64_t> dernierePose_;
};
