// Serves bench instruments on pseudo-terminals, one each, from one thread of its own:
// a program opens the slave side ("/dev/pts/5") as it would a serial port. The
// instruments all run in that thread, so instruments that share a state (a burette
// and the pH meter of its titration) need no lock between them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "banc/instrument.h"

class TBancPty {
public:
  TBancPty();
  ~TBancPty();
  TBancPty(const TBancPty&) = delete;
  TBancPty& operator=(const TBancPty&) = delete;

  // Opens a pseudo-terminal for the instrument (owned from then on) and gives the
  // path of the side a port opens; empty, with the instrument dropped, on failure.
  std::string Ajoute(std::unique_ptr<TInstrumentBanc> instrument);
  void Demarre();
  void Arrete();

  // Closes instrument i's pseudo-terminal, as if the device had been pulled out: a
  // port that has it open sees a hung-up line.
  void Ferme(std::size_t i);
  // Runs `action` on instrument i in between two turns of the serving thread.
  void Agit(std::size_t i, const std::function<void(TInstrumentBanc&, std::int64_t ms)>& action);

  std::size_t Nombre() const;
  std::string Chemin(std::size_t i) const;
  // The clock the instruments run on (milliseconds since the bench was built).
  std::int64_t Millisecondes() const;

private:
  struct Poste {
    std::unique_ptr<TInstrumentBanc> instrument;
    int maitre = -1;
    int esclave = -1;  // kept open so the master never reads a hang-up between clients
    std::string chemin;
    std::size_t seuilPurge = 256;
  };
  void Boucle();
  void Reveille();
  static void FermePoste(Poste& p);

  mutable std::mutex mutex_;
  std::vector<Poste> postes_;
  std::thread fil_;
  std::atomic<bool> arret_{false};
  int eveil_ = -1;  // eventfd that wakes the thread
  std::int64_t origine_;
  double origineDate_;
};
