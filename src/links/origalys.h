// The USB pH meters and conductimeters reached through their maker's library: the
// enumerator of the meters the library finds, one object per meter, the exchange of a
// command for a response and the reading of a response as a value.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "links/entrees_bibliotheques.h"
#include "platform/dialogue.h"
#include "platform/divers.h"

constexpr std::int32_t IdentOPH218 = 600;  // pH, potential and temperature
constexpr std::int32_t IdentOCD218 = 601;  // conductivity and temperature
// "OPH218", "OCD218", or "USB" for an identifier of another kind.
std::string NomMetreUSB(std::int32_t ident);

// The ten entry points, all found or the library counts as not loaded: a call through
// a missing one would jump to address 0.
struct TEntreesOrigalys {
  TOpenFirstComDll OpenFirstComDll = nullptr;
  TEnumeHIDDll EnumeHIDDll = nullptr;
  TGetNumberDeviceDll GetNumberDeviceDll = nullptr;
  TGetDeviceProdIdDll GetDeviceProdIdDll = nullptr;
  TGetDevicePathDll GetDevicePathDll = nullptr;
  TOpenComDll OpenComDll = nullptr;
  TFindTheHIDDll FindTheHIDDll = nullptr;
  TSendCmdDll SendCmdDll = nullptr;
  TGetResponseDll GetResponseDll = nullptr;
  TCloseComDll CloseComDll = nullptr;
  bool Cherche(TBibliotheque& bibliotheque);
};

// The characters a unit may start with in a meter's response (8-bit); the USB test
// window looks for the unit among fewer of them ('%' and 'g' left out).
inline constexpr const char* DebutsUniteOrigalys = "%MOSVgkmp\xB0\xB5";
inline constexpr const char* DebutsUniteTestOrigalys = "MOSVkmp\xB0\xB5";

// A meter's response ("7.02 pH", "-123.4 mV", "1.413 mS/cm") as a value in the unit
// without prefix; NaN when it holds "nan" or no number. 8-bit text ('°' and 'µ' are
// the bytes B0 and B5).
double ValeurReponseOrigalys(const std::string& reponse, const char* debutsUnite = DebutsUniteOrigalys);

class TAppareilOrigalys {
public:
  // Opens the meter and asks whether it is connected; says so when it is not.
  TAppareilOrigalys(const TEntreesOrigalys& dll, TDialogueUtilisateur& dialogue, std::int32_t identifiant,
                    std::string chemin);
  ~TAppareilOrigalys();
  TAppareilOrigalys(const TAppareilOrigalys&) = delete;
  TAppareilOrigalys& operator=(const TAppareilOrigalys&) = delete;

  // The response to a command; empty, without calling the library, when not connected.
  std::string GetStr(const std::string& commande);
  // The measured value; NaN when none or not connected.
  double GetValeur(const std::string& commande);

  void* PointerApp = nullptr;
  bool connecte = false;
  std::int32_t ident = 0;
  std::string path;  // 8-bit, as the library gave it

private:
  const TEntreesOrigalys& dll_;
};

class TOrigalys {
public:
  static constexpr int NbreMaxi = 6;

  // `bibliotheque` null: the library is absent. The enumerator exists either way.
  TOrigalys(std::unique_ptr<TBibliotheque> bibliotheque, TDialogueUtilisateur& dialogue);
  ~TOrigalys();
  TOrigalys(const TOrigalys&) = delete;
  TOrigalys& operator=(const TOrigalys&) = delete;

  bool DllUsbChargee() const { return charge_; }
  // Enumerates the meters again: the previous meter objects are freed (and closed).
  // Past the table's 6 places, meters are left out.
  void Init();
  // The last meter with that identifier, connected or not; null when none.
  TAppareilOrigalys* getAppareilIdent(std::int32_t identifiant) const;
  // The last meter with that identifier and exactly that path; null, with a message,
  // when none.
  TAppareilOrigalys* getAppareilIdentPath(std::int32_t identifiant, const std::string& chemin) const;
  // The same search without the message (the readings, which run on every cycle).
  TAppareilOrigalys* Cherche(std::int32_t identifiant, const std::string& chemin) const;

  std::int32_t NombreApp = 0;
  std::array<std::unique_ptr<TAppareilOrigalys>, NbreMaxi> Appareil;

private:
  void Libere();

  // Kept while meter objects exist: the destructor frees them first.
  std::unique_ptr<TBibliotheque> bibliotheque_;
  TDialogueUtilisateur& dialogue_;
  TEntreesOrigalys dll_;
  bool charge_ = false;
};
