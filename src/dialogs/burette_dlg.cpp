// Rules of the burette settings dialog.
#include "dialogs/burette_dlg.h"

#include <algorithm>
#include <cmath>

#include "core/cinetique.h"
#include "core/page_dialogue.h"
#include "dialogs/formats_dialogue.h"
#include "instruments/base_appareils.h"
#include "instruments/burette.h"
#include "util/nombres.h"

void TChampEntier::Set(int v) { valeur = std::clamp(v, mini, std::max(mini, maxi)); }

void TChampEntier::SetTexte(const std::string& texte) {
  const double v = LitNombre(texte);
  if (std::isnan(v) || v != std::floor(v) || std::abs(v) > 1e9) Set(mini);
  else Set(static_cast<int>(v));
}

void TChampEntier::SetBornes(int bas, int haut) {
  mini = bas;
  maxi = std::max(bas, haut);
  Set(valeur);
}

TBuretteRS232Dlg::TBuretteRS232Dlg(TCinetiqueMain& moteur) : moteur_(moteur) {}

TSeuilAffiche TBuretteRS232Dlg::AfficheSeuil(double e) {
  if (e < 1e-7) return {TexteReelDialogue(e * 1000000), 2};
  if (e < 1e-4) return {TexteReelDialogue(e * 1000), 1};
  return {TexteReelDialogue(e), 0};
}

double TBuretteRS232Dlg::LitSeuil(const std::string& texte, int prefixe) {
  const int k = std::clamp(prefixe, 0, static_cast<int>(Prefixes.size()) - 1);
  return LitNombre(texte) * std::pow(10.0, -3 * k);
}

void TBuretteRS232Dlg::FormActivate() {
  TburetteRS232& B = moteur_.Burette();
  TmaxiSE.SetBornes(B.DeltatMin + 2, 60);
  TmaxiSE.Set(B.DeltatMax);
  TMiniSE.SetBornes(2, std::max(2, B.DeltatMax - 2));
  TMiniSE.Set(B.DeltatMin);
  vmaxiSE.Set(static_cast<int>(std::lround(B.VolumeMax * 1000)));
  VminiSE.Set(static_cast<int>(std::lround(B.VolumeMin * 1000)));
  NomEdit = TronqueCaracteres(B.SymboleGrandeur, LongueurSymboleMaxi);
  if (moteur_.NbreVoies() > 0) {
    const Tmonde& Y0 = moteur_.Graphe->mondeY[0];
    const double r = (Y0.maxi - Y0.mini) / 100;
    // Kept even when the dialog is cancelled.
    if (B.ecartSensible > r) B.ecartSensible = r;
    if (B.ecartStable > r) B.ecartStable = r;
  }
  const TSeuilAffiche sensible = AfficheSeuil(B.ecartSensible);
  SensibleEdit = sensible.texte;
  prefixeSensibleCB = sensible.prefixe;
  const TSeuilAffiche stable = AfficheSeuil(B.ecartStable);
  StableEdit = stable.texte;
  prefixeStableCB = stable.prefixe;
  UniteLabel1 = appareil ? appareil->UniteGrandeur : std::string();
  UniteLabel2 = UniteLabel1;
  modeIncrementCB = B.modeIncrement;
  DeltaVeditVisible = modeIncrementCB;
  // In mL as typed: the field has no prefix choice to scale it back on OK.
  DeltaVedit = TexteReelDialogue(B.incrementVolume);
  Focus.clear();
}

void TBuretteRS232Dlg::modeIncrementCBClick(bool coche) {
  modeIncrementCB = coche;
  DeltaVeditVisible = coche;
}

void TBuretteRS232Dlg::TmaxiSEChange(int valeur) {
  TmaxiSE.Set(valeur);
  TMiniSE.SetBornes(TMiniSE.mini, std::max(TMiniSE.mini, TmaxiSE.valeur - 2));
}

void TBuretteRS232Dlg::TMiniSEChange(int valeur) {
  TMiniSE.Set(valeur);
  TmaxiSE.SetBornes(TMiniSE.valeur + 2, TmaxiSE.maxi);
}

void TBuretteRS232Dlg::SetNomEdit(const std::string& texte) { NomEdit = TronqueCaracteres(texte, LongueurSymboleMaxi); }

void TBuretteRS232Dlg::SetPrefixeSensible(int index) {
  prefixeSensibleCB = std::clamp(index, 0, static_cast<int>(Prefixes.size()) - 1);
}

void TBuretteRS232Dlg::SetPrefixeStable(int index) {
  prefixeStableCB = std::clamp(index, 0, static_cast<int>(Prefixes.size()) - 1);
}

bool TBuretteRS232Dlg::OKBtnClick() {
  // A threshold that is no number would stop the titration from ever finding a
  // stable reading: it is refused before anything is stored.
  const double increment = LitNombre(DeltaVedit);
  const double sensible = LitSeuil(SensibleEdit, prefixeSensibleCB);
  const double stable = LitSeuil(StableEdit, prefixeStableCB);
  Focus.clear();
  if (modeIncrementCB && std::isnan(increment)) Focus = "DeltaVedit";
  else if (std::isnan(sensible)) Focus = "SensibleEdit";
  else if (std::isnan(stable)) Focus = "StableEdit";
  if (!Focus.empty()) {
    moteur_.Plateforme().dialogue.Information(NombreMalEcrit);
    return false;
  }
  TburetteRS232& B = moteur_.Burette();
  B.modeIncrement = modeIncrementCB;
  if (!std::isnan(increment)) B.incrementVolume = increment;
  B.SymboleGrandeur = NomEdit;
  B.UniteGrandeur = "mL";
  B.DeltatMax = TmaxiSE.valeur;
  B.DeltatMin = TMiniSE.valeur;
  B.VolumeMax = vmaxiSE.valeur / 1000.0;
  B.VolumeMin = VminiSE.valeur / 1000.0;
  B.ecartSensible = sensible;
  B.ecartStable = stable;
  TBaseAppareils& base = moteur_.Base();
  if (!base.SauveBurette()) moteur_.Plateforme().dialogue.Information(ErreurEcriture + base.NomFichierIni());
  return true;
}

void TBuretteRS232Dlg::HelpBtnClick() {
  if (Aide) Aide(ContexteAide);
}
