// Event loop and time: the clock, timers, posted messages and the waits that keep
// dispatching events. Every piece of the engine runs on the one thread of this loop.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// A repeating timer, like a window timer: once active, its callback runs every
// Intervalle() milliseconds from the loop, never from inside another handler.
class TMinuterie {
public:
  virtual ~TMinuterie() = default;
  virtual void SetIntervalle(int ms) = 0;  // restarts the period when active
  virtual int Intervalle() const = 0;
  virtual void SetActif(bool actif) = 0;
  virtual bool Actif() const = 0;
  virtual void SetRappel(std::function<void()> rappel) = 0;
};

class TBoucleEvenements {
public:
  virtual ~TBoucleEvenements() = default;

  // Monotonic milliseconds since an arbitrary origin; 64-bit, never wraps.
  virtual std::int64_t Millisecondes() const = 0;
  // The current date-time as a day-number real: whole days since 1899-12-30 plus
  // the time of day as a fraction of a day.
  virtual double DateHeure() const = 0;

  virtual std::unique_ptr<TMinuterie> CreeMinuterie() = 0;

  // Runs `message` after the current handler returns, in posting order.
  virtual void Poste(std::function<void()> message) = 0;

  // Dispatches what is pending; when nothing is, waits at most delaiMaxMs for one
  // event and dispatches it. Returns at once with delaiMaxMs = 0. Used by every wait
  // that polls a condition (ticks, burette answers).
  virtual void TraiteEvenements(int delaiMaxMs) = 0;
  // The same without a bound: sleeps until something happens (a timer, a device, a
  // posted message, a notifier) and dispatches it. For a loop that has nothing to do
  // between events: it wakes for no other reason. Returns at once when nothing can
  // ever come (the simulated loop with nothing scheduled).
  virtual void AttendEvenement() = 0;

  // True once the program has been asked to quit; waits then end early.
  virtual bool QuitteDemande() const = 0;
  virtual void DemandeQuitter() = 0;
};
