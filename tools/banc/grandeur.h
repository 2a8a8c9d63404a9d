// What a bench instrument measures, as a function of time: a reading that drifts
// after each change and settles. A titration's pH (following the volume a burette
// has dispensed) is another TGrandeurSimulee.
#pragma once

#include <cstdint>
#include <optional>

class TGrandeurSimulee {
public:
  virtual ~TGrandeurSimulee() = default;
  virtual double Valeur(std::int64_t ms) = 0;
};

// A reading that never moves (a reference solution, a test).
class TValeurFixe final : public TGrandeurSimulee {
public:
  explicit TValeurFixe(double valeur) : valeur_(valeur) {}
  double Valeur(std::int64_t) override { return valeur_; }
  void Change(double valeur) { valeur_ = valeur; }

private:
  double valeur_;
};

// From `depart`, approaches `palier` exponentially with time constant `tauMs`, with a
// small ripple that dies out with the drift: an electrode dipped into a solution. The
// drift starts at the first reading unless Plonge says when.
class TDeriveAmortie final : public TGrandeurSimulee {
public:
  TDeriveAmortie(double depart, double palier, double tauMs, double ondulation = 0)
      : depart_(depart), palier_(palier), tau_(tauMs), ondulation_(ondulation) {}

  double Valeur(std::int64_t ms) override;
  // A new solution at `ms`: drifts from the value then reached to `palier`.
  void Plonge(std::int64_t ms, double palier);
  double Palier() const { return palier_; }
  // The reading stays within `ecart` of its plateau from then on.
  std::int64_t InstantStable(double ecart) const;

private:
  double depart_;
  double palier_;
  double tau_;
  double ondulation_;
  std::optional<std::int64_t> debut_;
};
