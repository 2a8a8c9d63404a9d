// The log of a port: its low-level events with their time, in a buffer of fixed
// capacity that overwrites its oldest entries, and the layout of the log file.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

// The civil date of a day-number real (whole days since 1899-12-30).
struct TDateCivile {
  int annee, mois, jour;
};
TDateCivile DecodeDate(double dateHeure);

// "dd/mm/yyyy hh:mm:ss" of a day-number real, for the heading of the log.
std::string FormateDateJournal(double dateHeure);

class TJournalSerie {
public:
  explicit TJournalSerie(std::uint32_t capacite = 64000) { SetCapacite(capacite); }
  void SetCapacite(std::uint32_t capacite);
  std::uint32_t Capacite() const { return capacite_; }

  // `ms`: the loop's clock; the file shows it relative to Debute().
  void Debute(std::int64_t ms) {
    entrees_.clear();
    origine_ = ms;
  }
  void Ajoute(std::int64_t ms, std::string texte);
  bool Vide() const { return entrees_.empty(); }
  std::size_t Taille() const { return entrees_.size(); }

  // The file's text (UTF-8, CR LF): `entete` (lines without ends), an empty line, then
  // one line per event: seconds since the start, with milliseconds, and the event.
  std::string Texte(const std::string& entete) const;

private:
  struct Entree {
    std::int64_t ms;
    std::string texte;
  };
  std::uint32_t capacite_ = 0;
  std::int64_t origine_ = 0;
  std::deque<Entree> entrees_;
};
