#include "links/sysam.h"

#include "instruments/appareil.h"
#include "links/point_entree.h"
#include "util/nombres.h"

bool TEntreesSysam::Cherche(TBibliotheque& b) {
  bool tous = true;
  tous &= ChercheEntree(b, "SP5_Presente", Presente);
  tous &= ChercheEntree(b, "SP5_Reinitialisation", Reinitialisation);
  tous &= ChercheEntree(b, "SP5_FinUtilisation", FinUtilisation);
  tous &= ChercheEntree(b, "SP5_DesactiveVoieA", DesactiveVoieA);
  tous &= ChercheEntree(b, "SP5_ActiveVoieA", ActiveVoieA);
  tous &= ChercheEntree(b, "SP5_CalibreVoieA", CalibreVoieA);
  tous &= ChercheEntree(b, "SP5_ModeDiff", ModeDiff);
  tous &= ChercheEntree(b, "SP5_AcquisitionVoieUnique", AcquisitionVoieUnique);
  tous &= ChercheEntree(b, "SP5_Ux", Ux);
  return tous;
}

TBoitierSysam::TBoitierSysam(std::unique_ptr<TBibliotheque> bibliotheque, TBoucleEvenements& horloge)
    : bibliotheque_(std::move(bibliotheque)), horloge_(horloge) {
  charge_ = bibliotheque_ && dll_.Cherche(*bibliotheque_);
  InstantSysam = horloge_.Millisecondes();
  if (BoitierPresent()) dll_.Reinitialisation();
}

TBoitierSysam::~TBoitierSysam() {
  if (BoitierPresent()) dll_.FinUtilisation();
}

bool TBoitierSysam::BoitierPresent() const { return charge_ && dll_.Presente() != 0; }

bool TBoitierSysam::EntreeValide(const Tappareil& A) {
  return A.indiceVoieSysam < (A.differentielSysam ? NbrePaires : NbreEntrees);
}

void TBoitierSysam::InitBoitier(const std::vector<Tappareil*>& appareils) {
  if (BoitierPresent()) {
    for (std::int32_t i = 0; i < NbreEntrees; ++i) dll_.DesactiveVoieA(i);
    for (std::int32_t i = 0; i < NbrePaires; ++i) dll_.ModeDiff(i, 0);
  }
  for (const Tappareil* A : appareils)
    if (A && A->isSysam) initialiseSysam(*A);
}

void TBoitierSysam::initialiseSysam(const Tappareil& A) {
  if (EntreeValide(A) && BoitierPresent()) {
    dll_.CalibreVoieA(A.indiceVoieSysam, A.calibreSysam);
    dll_.ActiveVoieA(A.indiceVoieSysam);
    if (A.differentielSysam) dll_.ModeDiff(A.indiceVoieSysam, 1);
  }
  InstantSysam = horloge_.Millisecondes();
}

double TBoitierSysam::GetValeurSysam(const Tappareil& A) {
  if (!EntreeValide(A)) return PasDeValeur;
  double resultat;
  if (BoitierPresent()) {
    std::uint16_t brut = 0;
    dll_.AcquisitionVoieUnique(A.indiceVoieSysam, &brut);
    const double u = dll_.Ux(A.indiceVoieSysam, brut);
    resultat = A.bSysam * u + A.aSysam;
  } else {
    const std::int64_t s = ((horloge_.Millisecondes() - InstantSysam) / 1000) % 60;
    resultat = A.ValMini + static_cast<double>(s) * (A.ValMaxi - A.ValMini) / 60;
  }
  if (A.NumeroCalibreApp > 1 && A.NumeroCalibreApp <= 4)
    resultat *= A.coeffCalibreApp[static_cast<std::size_t>(A.NumeroCalibreApp)];
  return resultat;
}
