// Simulator of the interface box's library: a box present or not, with a voltage on
// each input EA0..EA7, read through the input's range as 16-bit raw readings and
// clipped to that range as a real box clips. Configured by the file that
// PELITRAX_SIMULATEUR_SP5 names, or simulateur-sp5.txt beside the library:
//   present 0|1
//   EAn constante VOLTS
//   EAn rampe DE A PERIODE_S       (from DE to A, again every period)
//   EAn sinus MOYENNE AMPLITUDE PERIODE_S
// Without configuration: present, EA0 a slow sine of 1 V ± 0.5 V over 60 s, the
// other inputs at 0 V.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>

#include "configuration_simulateur.h"
#include "links/entrees_bibliotheques.h"

namespace {
constexpr double Pi = 3.14159265358979323846;
constexpr std::array<double, 4> PleineEchelle = {10, 5, 1, 0.2};  // c10V .. c200mV
constexpr double PasBrut = 65535;

struct TSignal {
  enum { Constante, Rampe, Sinus } forme = Constante;
  double a = 0, b = 0, periode = 60;
  double Volts(double t) const {
    switch (forme) {
      case Rampe: return a + (b - a) * std::fmod(t, periode) / periode;
      case Sinus: return a + b * std::sin(2 * Pi * t / periode);
      default: return a;
    }
  }
};

struct TBoitier {
  bool present = true;
  std::array<TSignal, 8> entrees{};
  std::array<int, 8> calibres{};
  std::array<bool, 8> actives{};
  std::array<bool, 4> differentiel{};
  void Reinitialise() {
    calibres.fill(0);
    actives.fill(false);
    differentiel.fill(false);
  }
};

void Configure(TBoitier& b, const std::string& texte) {
  for (const auto& l : LignesConfiguration(texte)) {
    if (l[0] == "present" && l.size() >= 2) {
      b.present = l[1] != "0";
    } else if (l[0].size() == 3 && l[0].rfind("EA", 0) == 0 && l[0][2] >= '0' && l[0][2] <= '7' && l.size() >= 3) {
      TSignal s;
      if (l[1] == "rampe" && l.size() >= 5) s = {TSignal::Rampe, Reel(l[2], 0), Reel(l[3], 0), std::max(0.1, Reel(l[4], 60))};
      else if (l[1] == "sinus" && l.size() >= 5) s = {TSignal::Sinus, Reel(l[2], 0), Reel(l[3], 0), std::max(0.1, Reel(l[4], 60))};
      else s = {TSignal::Constante, Reel(l[2], 0), 0, 60};
      b.entrees[static_cast<std::size_t>(l[0][2] - '0')] = s;
    }
  }
}

TBoitier& Boitier() {
  static TBoitier b = [] {
    TBoitier t;
    t.entrees[0] = {TSignal::Sinus, 1.0, 0.5, 60};
    Configure(t, TexteConfiguration("PELITRAX_SIMULATEUR_SP5", "simulateur-sp5.txt",
                                    reinterpret_cast<const void*>(&Boitier)));
    SecondesDepuisChargement();
    return t;
  }();
  return b;
}

bool Entree(std::int32_t i) { return i >= 0 && i < 8; }

double PleineEchelleDe(std::int32_t entree) {
  return PleineEchelle[static_cast<std::size_t>(Boitier().calibres[static_cast<std::size_t>(entree)])];
}
}  // namespace

PELITRAX_EXPORTE std::uint8_t SP5_Presente(void) { return Boitier().present ? 1 : 0; }

PELITRAX_EXPORTE std::int32_t SP5_Reinitialisation(void) {
  Boitier().Reinitialise();
  return 1;
}

PELITRAX_EXPORTE std::int32_t SP5_FinUtilisation(void) {
  Boitier().Reinitialise();
  return 1;
}

PELITRAX_EXPORTE std::int32_t SP5_DesactiveVoieA(std::int32_t entree) {
  if (!Entree(entree)) return 0;
  Boitier().actives[static_cast<std::size_t>(entree)] = false;
  return 1;
}

PELITRAX_EXPORTE std::int32_t SP5_ActiveVoieA(std::int32_t entree) {
  if (!Entree(entree)) return 0;
  Boitier().actives[static_cast<std::size_t>(entree)] = true;
  return 1;
}

PELITRAX_EXPORTE std::int32_t SP5_CalibreVoieA(std::int32_t entree, std::int32_t calibre) {
  if (!Entree(entree) || calibre < 0 || calibre > 3) return 0;
  Boitier().calibres[static_cast<std::size_t>(entree)] = calibre;
  return 1;
}

PELITRAX_EXPORTE std::int32_t SP5_ModeDiff(std::int32_t paire, std::int32_t differentiel) {
  if (paire < 0 || paire > 3) return 0;
  Boitier().differentiel[static_cast<std::size_t>(paire)] = differentiel != 0;
  return 1;
}

PELITRAX_EXPORTE std::int32_t SP5_AcquisitionVoieUnique(std::int32_t entree, std::uint16_t* brut) {
  if (!Entree(entree) || !brut) return 0;
  TBoitier& b = Boitier();
  const double t = SecondesDepuisChargement();
  double u = b.entrees[static_cast<std::size_t>(entree)].Volts(t);
  if (entree < 4 && b.differentiel[static_cast<std::size_t>(entree)])
    u -= b.entrees[static_cast<std::size_t>(entree + 4)].Volts(t);
  const double pe = PleineEchelleDe(entree);
  u = std::clamp(u, -pe, pe);
  *brut = static_cast<std::uint16_t>(std::lround((u + pe) / (2 * pe) * PasBrut));
  return 1;
}

PELITRAX_EXPORTE double SP5_Ux(std::int32_t entree, std::int32_t brut) {
  if (!Entree(entree)) return 0;
  const double pe = PleineEchelleDe(entree);
  return static_cast<double>(std::clamp(brut, 0, 65535)) / PasBrut * 2 * pe - pe;
}

static_assert(std::is_same_v<decltype(&SP5_Presente), TSP5_Presente>);
static_assert(std::is_same_v<decltype(&SP5_Reinitialisation), TSP5_Reinitialisation>);
static_assert(std::is_same_v<decltype(&SP5_FinUtilisation), TSP5_FinUtilisation>);
static_assert(std::is_same_v<decltype(&SP5_DesactiveVoieA), TSP5_DesactiveVoieA>);
static_assert(std::is_same_v<decltype(&SP5_ActiveVoieA), TSP5_ActiveVoieA>);
static_assert(std::is_same_v<decltype(&SP5_CalibreVoieA), TSP5_CalibreVoieA>);
static_assert(std::is_same_v<decltype(&SP5_ModeDiff), TSP5_ModeDiff>);
static_assert(std::is_same_v<decltype(&SP5_AcquisitionVoieUnique), TSP5_AcquisitionVoieUnique>);
static_assert(std::is_same_v<decltype(&SP5_Ux), TSP5_Ux>);
