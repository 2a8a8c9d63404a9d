// The adapters over the two vendor libraries: the USB meters' enumerator and the
// interface box, each loaded or not once at start-up. A definition put on a channel
// for a meter is that meter's own copy of the built-in definition, so two meters of
// one kind on two channels each keep their meter.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "core/adaptateurs.h"
#include "links/origalys.h"
#include "links/sysam.h"
#include "platform/plateforme.h"

class TAdaptateursBibliotheques final : public TAdaptateurs {
  // First, so that they are set before the libraries move into their adapters.
  bool usbTrouvee_ = false;
  bool boitierTrouve_ = false;

public:
  // Either library may be null (absent).
  TAdaptateursBibliotheques(TBoucleEvenements& horloge, TDialogueUtilisateur& dialogue,
                            std::unique_ptr<TBibliotheque> usb, std::unique_ptr<TBibliotheque> boitier);
  ~TAdaptateursBibliotheques() override;

  // The library files were found (UsbCharge, BoitierCharge: and loaded with all their
  // entry points).
  bool UsbTrouvee() const { return usbTrouvee_; }
  bool BoitierTrouve() const { return boitierTrouve_; }
  bool UsbCharge() const override { return ListeUSB.DllUsbChargee(); }
  std::vector<TMetreUSB> EnumereUSB() override;
  std::vector<TMetreUSB> MetresUSB() override;
  // The current table, as it is (empty before the first enumeration).
  std::vector<TMetreUSB> MetresConnus() const;
  Tappareil* DefinitionMetre(Tappareil& modele, const TMetreUSB& metre) override;
  // A definition without a path (from the selection dialog or a configuration file)
  // takes the last connected meter of its kind and keeps its path.
  bool LieUSB(Tappareil& appareil) override;
  double ValeurUSB(Tappareil& appareil) override;

  bool BoitierCharge() const { return Boitier.DllSysamChargee(); }
  bool BoitierPresent() const override { return Boitier.BoitierPresent(); }
  void InitBoitier(const std::vector<Tappareil*>& appareils) override { Boitier.InitBoitier(appareils); }
  double ValeurBoitier(Tappareil& appareil) override { return Boitier.GetValeurSysam(appareil); }

  // The meter of a definition in the current table, found again by identifier and
  // path: a reference kept from before an enumeration is never followed.
  TAppareilOrigalys* Metre(Tappareil& appareil);

  TOrigalys ListeUSB;
  TBoitierSysam Boitier;

private:
  bool enumere_ = false;
  // (built-in definition's name, meter's path) -> that meter's copy; kept to the end,
  // since channels and saved sets refer to them.
  std::map<std::pair<std::string, std::string>, std::unique_ptr<Tappareil>> copies_;
};

// Loads the two libraries through the platform, the USB meters' first, as the
// program's start-up does.
std::unique_ptr<TAdaptateursBibliotheques> ChargeAdaptateurs(TPlateforme& plateforme);
