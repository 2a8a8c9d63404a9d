// COM numbers 1..50 to device paths. Built from three sources:
//  - the default rule over the system's serial devices, fixed so that a number never
//    moves when another device comes or goes:
//      /dev/ttyS0..3 -> COM1..4, /dev/ttyUSB0..15 -> COM5..20,
//      /dev/ttyACM0..15 -> COM21..36, /dev/ttyS4..17 -> COM37..50;
//  - the user's pins, settings key "Software\RS232\Ports", values "COM7" = a path
//    (a stable /dev/serial/by-id/... name is the usual choice); a pinned device leaves
//    its default number, and an empty value leaves the number without a device;
//  - the variable PELITRAX_PORTS ("COM3=/dev/pts/5;COM4=/dev/pts/6"): when it is set,
//    even empty, the table is exactly its entries (tests, the virtual bench).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/reglages.h"
#include "platform/serie.h"

enum class TOriginePort { Defaut, Reglages, Environnement };

struct TEntreePort {
  int com = 0;
  std::string chemin;
  TOriginePort origine = TOriginePort::Defaut;
  bool operator==(const TEntreePort&) const = default;
};

class TTablePorts {
public:
  using TLectureEnvironnement = std::function<std::optional<std::string>(const std::string& nom)>;
  static constexpr const char* CleReglages = "Software\\RS232\\Ports";
  static constexpr const char* Variable = "PELITRAX_PORTS";
  static constexpr int ComMaxi = 50;

  // `reglages` may be null (no pins). Builds the table at once.
  TTablePorts(TSeriePlateforme& serie, const TReglages* reglages, TLectureEnvironnement environnement);

  // Reads the three sources again (a device plugged in since, a changed pin).
  void Actualise();

  std::optional<std::string> Chemin(int com) const;
  // By increasing COM number.
  const std::vector<TEntreePort>& Entrees() const { return entrees_; }
  // French notes on entries that were ignored (malformed pins or variable entries).
  const std::vector<std::string>& Anomalies() const { return anomalies_; }

  // Probes the device of COM n; absent when n has no device.
  TPresence Presence(int com);

  TSeriePlateforme& Serie() { return serie_; }

  // The default rule alone: the COM number of a device path, 0 when it gives none.
  static int NumeroParDefaut(std::string_view chemin);
  // "COM7" (any case) -> 7; 0 for anything else or a number outside 1..50.
  static int NumeroDeNom(std::string_view nom);

private:
  TSeriePlateforme& serie_;
  const TReglages* reglages_;
  TLectureEnvironnement environnement_;
  std::vector<TEntreePort> entrees_;
  std::vector<std::string> anomalies_;
};

// Port n is present when its device opens or is held by another program.
bool ExistePort(TTablePorts& table, int n);

// The process environment, for the real program (tests pass their own lookup).
std::optional<std::string> LectureEnvironnementSysteme(const std::string& nom);
