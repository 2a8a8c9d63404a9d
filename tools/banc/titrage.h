// The beaker of a bench titration: an acid titrated by a strong base from the bench
// burette, and the pH its electrode reads, which settles after each addition. The
// burette tells it what it dispenses; the titration's pH meter reads it.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "banc/grandeur.h"
#include "banc/instrument.h"

struct TSolutionTitree {
  double concentrationAcide = 0.1;  // mol/L, of the acid taken with the pipette
  double volumeAcide = 10.0;        // mL of acid
  double volumeEau = 40.0;          // mL of water added so that the electrode dips in
  // pKa of the acid; NaN for a strong acid (HCl).
  double pKa = std::numeric_limits<double>::quiet_NaN();
  double concentrationBase = 0.1;   // mol/L of NaOH in the burette
};

class TTitrage final : public TGrandeurSimulee {
public:
  // Electrode and stirring together: first-order response, time constant 2.5 s, so a
  // reading settles to 0.01 pH within about 10 s after a small addition and 20 s after
  // the jump at the equivalence point.
  static constexpr double ConstanteTempsMs = 2500.0;
  static constexpr std::int64_t PasMs = 10;

  explicit TTitrage(TSolutionTitree solution = {}, double constanteTempsMs = ConstanteTempsMs);

  // The electrode's reading at `ms` (times never go back). It starts settled.
  double Valeur(std::int64_t ms) override;

  // The burette dispenses `volume` mL evenly from `debutMs` for `dureeMs`.
  void Ajoute(std::int64_t debutMs, std::int64_t dureeMs, double volume);
  // mL of base in the beaker at `ms`.
  double VolumeAjoute(std::int64_t ms) const;

  const TSolutionTitree& Solution() const { return solution_; }
  // mL of base that neutralise the acid.
  double VolumeEquivalence() const { return solution_.concentrationAcide * solution_.volumeAcide / solution_.concentrationBase; }
  // The settled pH after `volumeBase` mL of base (charge balance, 25 °C).
  double PhEquilibre(double volumeBase) const;

private:
  struct Ajout {
    std::int64_t debut;
    std::int64_t duree;
    double volume;
  };
  bool VolumeConstantJusqua(std::int64_t ms) const;
  void Integre(std::int64_t ms);

  TSolutionTitree solution_;
  double tau_;
  double volumeAcquis_ = 0;   // mL of additions over before instant_
  std::vector<Ajout> ajouts_;  // additions still under way at instant_ or later
  std::optional<std::int64_t> instant_;  // grid instant of the reading below
  double lecture_ = 0;
};

// A burette and a pH meter created for the bench one after the other share one beaker:
// each joins the last titration of its kind that still lacks its kind of instrument,
// or starts a new one. Used by the catalogue ("burette", "pH-metre-titrage"; `court`:
// "burette-10mL", "pH-metre-titrage-5mL", the short titration below).
std::unique_ptr<TInstrumentBanc> CreeBuretteTitrage(bool court = false);
std::unique_ptr<TInstrumentBanc> CreePhMetreTitrage(bool court = false);

// The short titration of the demonstration: 5 mL of the acid, a 10 mL burette, an
// electrode that settles in about 5 s.
namespace TitrageCourt {
inline constexpr double ConstanteTempsMs = 1200.0;
inline constexpr int CapaciteBurette = 10;
}  // namespace TitrageCourt
