// A simulated instrument of the virtual bench: bytes in, bytes out, on the clock it
// is given. The same object serves a simulated line (jonction_simulee.h) or a
// pseudo-terminal (banc_pty.h); it paces its own bytes at its line speed, since a
// pseudo-terminal ignores the baud rate.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "platform/serie.h"

class TInstrumentBanc {
public:
  virtual ~TInstrumentBanc() = default;
  virtual std::string Nom() const = 0;
  // The settings the instrument's own line uses.
  virtual TReglageLigne Ligne() const = 0;
  // Bytes from the program, received at `ms` (milliseconds, any origin, never going back).
  virtual void Recoit(std::int64_t ms, std::string_view octets) = 0;
  // Runs what the instrument has to do by `ms` and gives the bytes that have left it
  // by then.
  virtual std::string Sortie(std::int64_t ms) = 0;
  // When Sortie has something to do next; nothing while the instrument waits for bytes.
  virtual std::optional<std::int64_t> ProchainInstant() const = 0;
};

// The common machinery: commands cut at CR or LF (a byte outside ' '..'~' is noise
// and loses the command under way), a timer, and an output queue whose bytes leave
// one character time after another.
class TInstrumentCadence : public TInstrumentBanc {
public:
  TInstrumentCadence(std::string nom, TReglageLigne ligne) : nom_(std::move(nom)), ligne_(ligne) {}

  std::string Nom() const override { return nom_; }
  TReglageLigne Ligne() const override { return ligne_; }
  void Recoit(std::int64_t ms, std::string_view octets) override;
  std::string Sortie(std::int64_t ms) override;
  std::optional<std::int64_t> ProchainInstant() const override;

  // The date-time (day-number real) at clock 0, for instruments that print a date.
  void SetOrigineDate(double dateHeure) { origineDate_ = dateHeure; }
  // Bytes still queued for the line.
  std::size_t EnAttente() const { return sortie_.size(); }

protected:
  // One command line without its end (CR, LF or both; empty lines are skipped).
  virtual void Commande(std::int64_t ms, const std::string& ligne) {}
  // Runs once the clock reaches the instant given to Reveil; it may set the next one.
  virtual void Reveil(std::int64_t ms) {}
  void ReveilA(std::optional<std::int64_t> ms) { reveil_ = ms; }
  // Queues the text for the line, its first byte starting at `ms` at the earliest.
  void Envoie(std::int64_t ms, std::string_view texte);
  double DateHeure(std::int64_t ms) const { return origineDate_ + static_cast<double>(ms) / 86400000.0; }

private:
  struct Octet {
    std::int64_t finUs;  // the instant its stop bit ends
    char valeur;
  };
  std::string nom_;
  TReglageLigne ligne_;
  std::string commande_;
  std::deque<Octet> sortie_;
  std::int64_t finUs_ = 0;
  std::optional<std::int64_t> reveil_;
  double origineDate_ = 46000.5;
};
