// The trace of a port: every byte sent and received, in order, in a buffer of fixed
// capacity that overwrites its oldest entries, and the layout of the trace file.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

enum class TSensTrace : std::uint8_t { Emission, Reception };

struct TEntreeTrace {
  TSensTrace sens;
  unsigned char octet;
  bool operator==(const TEntreeTrace&) const = default;
};

class TTraceSerie {
public:
  static constexpr std::uint32_t CapaciteMaxi = 4000000;

  explicit TTraceSerie(std::uint32_t capacite = 32000) { SetCapacite(capacite); }
  // Above CapaciteMaxi the capacity is CapaciteMaxi; a smaller one drops the oldest.
  void SetCapacite(std::uint32_t capacite);
  std::uint32_t Capacite() const { return capacite_; }

  void Ajoute(TSensTrace sens, std::string_view octets);
  void Efface() { entrees_.clear(); }
  bool Vide() const { return entrees_.empty(); }
  std::size_t Taille() const { return entrees_.size(); }
  std::vector<TEntreeTrace> Entrees() const { return {entrees_.begin(), entrees_.end()}; }

  // The file's text (ASCII, CR LF): runs of one direction, each opening with
  // "Transmit: " or "Receive: ", an empty line between runs; '!'..'~' as they are,
  // any other byte as [XX]; lines broken before they would pass 78 columns.
  std::string Texte() const { return FormateTrace(Entrees()); }
  static std::string FormateTrace(const std::vector<TEntreeTrace>& entrees);

private:
  std::uint32_t capacite_ = 0;
  std::deque<TEntreeTrace> entrees_;
};
