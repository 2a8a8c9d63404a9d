// The quantity choice of a USB pH meter (OPH218) as a model: the meter measures pH or
// potential, and the matching built-in definition, that meter's own copy, goes on the
// channel. No widget here: the window calls the handlers.
#pragma once

#include "core/adaptateurs.h"

class TCinetiqueMain;
class Tappareil;

class TChoixGrandeurDlg {
public:
  static constexpr const char* Caption = "Choix pHmètre/voltmètre";
  static constexpr const char* CaptionpH = "Mesure de pH";
  static constexpr const char* CaptionTension = "Mesure de potentiel";
  static constexpr const char* MessagepH = "Ajout pHmètre OPH218";
  static constexpr const char* MessageTension = "Ajout voltmètre OPH218";

  TChoixGrandeurDlg(TCinetiqueMain& moteur, TAdaptateurs& adaptateurs);

  // Set by the caller before each showing; clears the previous choice.
  void Prepare(const TMetreUSB& metre, int voie);

  // Each puts its definition on channel `v`, says so, and the dialog closes with OK.
  void pHBtnClick();
  void tensionBtnClick();

  TMetreUSB appareil;
  int v = 0;
  // The definition this showing attached; null when the dialog was closed without a choice.
  Tappareil* Choisi = nullptr;

private:
  void Attache(Tappareil* modele, const char* message);

  TCinetiqueMain& moteur_;
  TAdaptateurs& adaptateurs_;
};
