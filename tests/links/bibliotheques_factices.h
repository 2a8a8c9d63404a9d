// In-process stand-ins for the two vendor libraries: C functions over one state per
// library that a test fills (meters, responses, the box's raw readings) and reads back
// (the calls made). Registered in the simulated platform's library table.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "links/entrees_bibliotheques.h"
#include "links/texte16.h"
#include "platform/simule/services_simules.h"

namespace factice {

struct TMetre {
  TMetre(std::int32_t i, std::string c, bool co = true, std::map<std::string, std::string> r = {})
      : ident(i), chemin(std::move(c)), connecte(co), reponses(std::move(r)) {}
  std::int32_t ident;
  std::string chemin;
  bool connecte = true;
  std::map<std::string, std::string> reponses;  // command -> response
  TBloc16 bloc{};
};

struct TUSB {
  std::vector<TMetre> metres;
  std::vector<TBloc16> chemins;
  int nombreAnnonce = -1;  // -1: the number of meters
  bool cheminNul = false;   // GetDevicePathDll answers null
  int envois = 0, fermetures = 0, ouvertures = 0;
  int enumeration = 0;      // the enumeration handle's target
};
inline TUSB usb;

struct TBoitier {
  bool present = true;
  std::vector<std::string> appels;  // "Active(2)", "ModeDiff(2,1)" ...
  std::uint16_t brut = 0;
  double voltsParBrut = 0.001;
};
inline TBoitier boitier;

extern "C" {
inline void* OpenFirstComDll() { return &usb.enumeration; }
inline std::int32_t EnumeHIDDll(void*) {
  usb.chemins.clear();
  for (const TMetre& m : usb.metres) usb.chemins.push_back(BlocVersBibliotheque(m.chemin));
  return 0;
}
inline std::int32_t GetNumberDeviceDll(void*) {
  return usb.nombreAnnonce >= 0 ? usb.nombreAnnonce : static_cast<std::int32_t>(usb.metres.size());
}
inline std::int32_t GetDeviceProdIdDll(void*, std::int32_t j) { return usb.metres.at(static_cast<std::size_t>(j)).ident; }
inline const std::uint16_t* GetDevicePathDll(void*, std::int32_t j) {
  return usb.cheminNul ? nullptr : usb.chemins.at(static_cast<std::size_t>(j)).data();
}
inline void* OpenComDll(std::int32_t ident, const std::uint16_t* chemin) {
  ++usb.ouvertures;
  for (TMetre& m : usb.metres)
    if (m.ident == ident && m.chemin == TexteDeBibliotheque(chemin)) return &m;
  return nullptr;
}
inline std::uint8_t FindTheHIDDll(void* h) { return h && static_cast<TMetre*>(h)->connecte ? 1 : 0; }
inline std::int32_t SendCmdDll(void* h, const std::uint16_t* commande) {
  ++usb.envois;
  TMetre& m = *static_cast<TMetre*>(h);
  const std::string r = m.reponses[TexteDeBibliotheque(commande)];
  m.bloc.fill(0);
  for (std::size_t i = 0; i < r.size() && i < m.bloc.size(); ++i) m.bloc[i] = static_cast<unsigned char>(r[i]);
  return 0;
}
inline const std::uint16_t* GetResponseDll(void* h) { return static_cast<TMetre*>(h)->bloc.data(); }
inline std::int32_t CloseComDll(void* h) {
  if (h != &usb.enumeration) ++usb.fermetures;
  return 0;
}

inline std::uint8_t SP5_Presente() { return boitier.present ? 1 : 0; }
inline std::int32_t SP5_Reinitialisation() { return boitier.appels.push_back("Reinitialisation"), 0; }
inline std::int32_t SP5_FinUtilisation() { return boitier.appels.push_back("FinUtilisation"), 0; }
inline std::int32_t SP5_DesactiveVoieA(std::int32_t i) { return boitier.appels.push_back("Desactive(" + std::to_string(i) + ")"), 0; }
inline std::int32_t SP5_ActiveVoieA(std::int32_t i) { return boitier.appels.push_back("Active(" + std::to_string(i) + ")"), 0; }
inline std::int32_t SP5_CalibreVoieA(std::int32_t i, std::int32_t c) {
  return boitier.appels.push_back("Calibre(" + std::to_string(i) + "," + std::to_string(c) + ")"), 0;
}
inline std::int32_t SP5_ModeDiff(std::int32_t i, std::int32_t d) {
  return boitier.appels.push_back("ModeDiff(" + std::to_string(i) + "," + std::to_string(d) + ")"), 0;
}
inline std::int32_t SP5_AcquisitionVoieUnique(std::int32_t i, std::uint16_t* brut) {
  boitier.appels.push_back("Acquisition(" + std::to_string(i) + ")");
  *brut = boitier.brut;
  return 0;
}
inline double SP5_Ux(std::int32_t, std::int32_t brut) { return brut * boitier.voltsParBrut; }
}

#define PELITRAX_SYMBOLE(f) {#f, reinterpret_cast<void*>(&f)}

inline std::map<std::string, void*> SymbolesUSB() {
  return {PELITRAX_SYMBOLE(OpenFirstComDll), PELITRAX_SYMBOLE(EnumeHIDDll),    PELITRAX_SYMBOLE(GetNumberDeviceDll),
          PELITRAX_SYMBOLE(GetDeviceProdIdDll), PELITRAX_SYMBOLE(GetDevicePathDll), PELITRAX_SYMBOLE(OpenComDll),
          PELITRAX_SYMBOLE(FindTheHIDDll), PELITRAX_SYMBOLE(SendCmdDll),     PELITRAX_SYMBOLE(GetResponseDll),
          PELITRAX_SYMBOLE(CloseComDll)};
}

inline std::map<std::string, void*> SymbolesBoitier() {
  return {PELITRAX_SYMBOLE(SP5_Presente),       PELITRAX_SYMBOLE(SP5_Reinitialisation), PELITRAX_SYMBOLE(SP5_FinUtilisation),
          PELITRAX_SYMBOLE(SP5_DesactiveVoieA), PELITRAX_SYMBOLE(SP5_ActiveVoieA),      PELITRAX_SYMBOLE(SP5_CalibreVoieA),
          PELITRAX_SYMBOLE(SP5_ModeDiff),       PELITRAX_SYMBOLE(SP5_AcquisitionVoieUnique), PELITRAX_SYMBOLE(SP5_Ux)};
}
#undef PELITRAX_SYMBOLE

// Fresh states for a test.
inline void Remet() {
  usb = TUSB{};
  boitier = TBoitier{};
}
}  // namespace factice
