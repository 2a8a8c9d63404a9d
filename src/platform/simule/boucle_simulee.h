// Deterministic event loop: virtual time moves only when a test (Avance) or a wait
// (TraiteEvenements) moves it. Events due at the same instant run in the order they
// were scheduled; posted messages run before any later timer or scheduled event.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/boucle.h"

class TBoucleSimulee final : public TBoucleEvenements {
public:
  // `dateDepart`: the date-time at virtual time 0 (day-number real).
  explicit TBoucleSimulee(double dateDepart = 46000.5);
  ~TBoucleSimulee() override;

  std::int64_t Millisecondes() const override { return maintenant_; }
  double DateHeure() const override;
  std::unique_ptr<TMinuterie> CreeMinuterie() override;
  void Poste(std::function<void()> message) override;
  void TraiteEvenements(int delaiMaxMs) override;
  // Runs the posted messages, or else moves time to the next scheduled event and runs it.
  void AttendEvenement() override;
  bool QuitteDemande() const override { return quitte_; }
  void DemandeQuitter() override { quitte_ = true; }

  // Moves time forward by `ms`, running every event due on the way, in order.
  void Avance(std::int64_t ms);
  // Runs what is due now (posted messages and events at the current instant).
  void TraiteEnAttente();
  // Schedules `action` at absolute virtual time `instantMs` (not before now); for
  // simulated devices whose bytes arrive later. Returns an id for Annule.
  std::uint64_t Planifie(std::int64_t instantMs, std::function<void()> action);
  void Annule(std::uint64_t id);
  // Number of events still scheduled (timers count while active).
  std::size_t EvenementsPrevus() const { return prevus_.size(); }
  // Sets the clock's start so tests can place it just before a 32-bit wrap.
  void FixeMaintenant(std::int64_t ms) { maintenant_ = ms; }

private:
  class Minuterie;
  friend class Minuterie;
  struct Cle {
    std::int64_t instant;
    std::uint64_t ordre;
    bool operator<(const Cle& o) const { return instant != o.instant ? instant < o.instant : ordre < o.ordre; }
  };
  struct Prevu {
    std::uint64_t id;
    std::function<void()> action;
  };
  bool ExecutePoste();
  // Every posted message, those they post included; false when there was none.
  bool ExecutePostes();
  bool ExecuteUnPrevuJusqua(std::int64_t limite);

  std::int64_t maintenant_ = 0;
  double dateDepart_;
  std::uint64_t ordre_ = 0;
  std::uint64_t prochainId_ = 1;
  std::map<Cle, Prevu> prevus_;
  std::map<std::uint64_t, Cle> cleDeId_;
  std::deque<std::function<void()>> postes_;
  bool quitte_ = false;
};
