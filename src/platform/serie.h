// Serial devices of the system: enumeration, probe, and an open device that moves
// bytes. The port object of the engine (links/port_serie.h) is built on top of this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Why a serial operation failed; EPortSerie carries it with a French message.
enum class TCodeSerie : int {
  Aucun = 0,
  Absent = 1,          // no such device (unplugged, or no COM number mapped)
  Occupe = 2,          // held by another program
  AccesRefuse = 3,     // the user may not open the device
  ReglageRefuse = 4,   // the device refused a line setting
  NonOuvert = 5,       // operation on a closed port
  FilePleine = 6,      // the transmit queue has no room for the text
  RienARecevoir = 7,   // nothing waiting in the receive queue
  Perdu = 8,           // the device went away while open
  Fichier = 9,         // a trace or log file could not be written
  Autre = 10,
};

enum class TPariteLigne { Aucune = 0, Impaire = 1, Paire = 2, Marque = 3, Espace = 4 };

// Everything the line needs at opening or when a setting changes.
struct TReglageLigne {
  std::int32_t baud = 9600;
  TPariteLigne parite = TPariteLigne::Aucune;
  int bitsDonnees = 8;  // 5..8
  int bitsStop = 1;     // 1 or 2
  // Hardware handshake: RTS follows the receive side, bytes leave only while CTS is up.
  bool rtsCts = false;
  // Software handshake both ways with these two characters.
  bool xonXoff = false;
  char xon = 17;
  char xoff = 19;
  // Raised at opening where the device has the lines (a pseudo-terminal has none);
  // with rtsCts the handshake drives RTS instead.
  bool dtr = true;
  bool rts = true;

  bool operator==(const TReglageLigne&) const = default;
};

// Bits on the wire per character (start, data, parity, stop): the pacing of a line.
inline int BitsParCaractere(const TReglageLigne& r) {
  return 1 + r.bitsDonnees + (r.parite == TPariteLigne::Aucune ? 0 : 1) + r.bitsStop;
}

// "9600 bauds, 8N1, RTS/CTS" — for logs and listings.
inline std::string DecritReglage(const TReglageLigne& r) {
  static const char parites[] = "NOEMS";
  std::string texte = std::to_string(r.baud) + " bauds, " + std::to_string(r.bitsDonnees) +
                      parites[static_cast<int>(r.parite) % 5] + std::to_string(r.bitsStop);
  if (r.rtsCts) texte += ", RTS/CTS";
  if (r.xonXoff) texte += ", XON/XOFF";
  return texte;
}

enum class TPresence { Absent, Present, Occupe };

// An open device. Every call and every callback happens on the engine's thread; a
// callback never runs from inside one of these calls.
class TPeripheriqueSerie {
public:
  virtual ~TPeripheriqueSerie() = default;

  // Applies the settings to the open line; false with a French reason when refused
  // (the line then keeps its previous settings).
  virtual bool Regle(const TReglageLigne& reglage, std::string& raison) = 0;
  // Hands bytes to the device for transmission; false when the device is lost.
  virtual bool Ecrit(std::string_view octets) = 0;
  // Bytes handed over but not yet transmitted.
  virtual std::size_t OctetsAEmettre() const = 0;
  // Bytes received and not yet taken.
  virtual std::size_t OctetsRecus() const = 0;
  // Takes at most `max` received bytes, oldest first.
  virtual std::string Prend(std::size_t max) = 0;
  // Discards every received byte, those still held by the system included.
  virtual void VideReception() = 0;

  // Runs after new bytes were received.
  virtual void SetRappelDonnees(std::function<void()> rappel) = 0;
  // Runs once when the device is lost (unplugged, hung up, I/O failure), with a French
  // reason; the device is then closed and calls back no more.
  virtual void SetRappelPerte(std::function<void(const std::string& raison)> rappel) = 0;
  // A cheap check that the device is still there, for a caller that ticks anyway (the
  // acquisition's own timer). False, with a French reason, when it is gone (or its loss
  // is already on its way): the caller then closes it as lost, and the loss callback
  // does not run for it. Devices whose system reports every loss keep this one.
  virtual bool Verifie(std::string& raison) { return true; }

  // Idempotent; no callback runs afterwards.
  virtual void Ferme() = 0;
};

struct TOuvertureSerie {
  std::unique_ptr<TPeripheriqueSerie> peripherique;  // null on failure
  TCodeSerie code = TCodeSerie::Aucun;
  std::string raison;  // French, on failure
};

class TSeriePlateforme {
public:
  virtual ~TSeriePlateforme() = default;
  // The serial devices the system shows, as paths ("/dev/ttyUSB0"), in no set order.
  virtual std::vector<std::string> Peripheriques() const = 0;
  // Present when the device opens, busy when another program holds it (or access is
  // refused), absent otherwise. Never throws; a device it opens is closed at once.
  virtual TPresence Sonde(const std::string& chemin) = 0;
  virtual TOuvertureSerie Ouvre(const std::string& chemin, const TReglageLigne& reglage) = 0;
};
