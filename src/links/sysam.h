// The analogue inputs of the interface box, reached through its maker's library: the
// presence test, the preparation of the inputs at the start of an acquisition and the
// reading of an input converted into the instrument's quantity.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "links/entrees_bibliotheques.h"
#include "platform/boucle.h"
#include "platform/divers.h"

class Tappareil;

// The nine entry points, all found or the library counts as not loaded.
struct TEntreesSysam {
  TSP5_Presente Presente = nullptr;
  TSP5_Reinitialisation Reinitialisation = nullptr;
  TSP5_FinUtilisation FinUtilisation = nullptr;
  TSP5_DesactiveVoieA DesactiveVoieA = nullptr;
  TSP5_ActiveVoieA ActiveVoieA = nullptr;
  TSP5_CalibreVoieA CalibreVoieA = nullptr;
  TSP5_ModeDiff ModeDiff = nullptr;
  TSP5_AcquisitionVoieUnique AcquisitionVoieUnique = nullptr;
  TSP5_Ux Ux = nullptr;
  bool Cherche(TBibliotheque& bibliotheque);
};

class TBoitierSysam {
public:
  static constexpr int NbreEntrees = 8;  // EA0..EA7
  static constexpr int NbrePaires = 4;   // EA0-EA4 .. EA3-EA7

  // `bibliotheque` null: the library is absent. A box present is put back in its
  // initial state; the clock times the ramp read without the box.
  TBoitierSysam(std::unique_ptr<TBibliotheque> bibliotheque, TBoucleEvenements& horloge);
  // Releases a box still present.
  ~TBoitierSysam();
  TBoitierSysam(const TBoitierSysam&) = delete;
  TBoitierSysam& operator=(const TBoitierSysam&) = delete;

  bool DllSysamChargee() const { return charge_; }
  // Asked of the library at each call.
  bool BoitierPresent() const;
  // Every input off and single-ended, then the inputs of `appareils` (those with
  // isSysam) prepared in order.
  void InitBoitier(const std::vector<Tappareil*>& appareils);
  void initialiseSysam(const Tappareil& A);
  // a + b × volts; without the box, a ramp over the instrument's range once a minute.
  // NaN for an input the box lacks (a hand-edited device file), which is never passed
  // to the library.
  double GetValeurSysam(const Tappareil& A);
  static bool EntreeValide(const Tappareil& A);

private:
  std::unique_ptr<TBibliotheque> bibliotheque_;
  TBoucleEvenements& horloge_;
  TEntreesSysam dll_;
  bool charge_ = false;
  std::int64_t InstantSysam = 0;  // ms of the clock at the last preparation
};
