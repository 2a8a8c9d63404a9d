#include "dialogs/choix_grandeur.h"

#include "core/cinetique.h"
#include "instruments/base_appareils.h"

TChoixGrandeurDlg::TChoixGrandeurDlg(TCinetiqueMain& moteur, TAdaptateurs& adaptateurs)
    : moteur_(moteur), adaptateurs_(adaptateurs) {}

void TChoixGrandeurDlg::Prepare(const TMetreUSB& metre, int voie) {
  appareil = metre;
  v = voie;
  Choisi = nullptr;
}

void TChoixGrandeurDlg::Attache(Tappareil* modele, const char* message) {
  if (!modele || v < 0 || v >= TCinetiqueMain::NbreVoiesMax) return;
  Choisi = adaptateurs_.DefinitionMetre(*modele, appareil);
  moteur_.AppareilAcq[static_cast<std::size_t>(v)] = Choisi;
  moteur_.Plateforme().dialogue.Information(message);
}

void TChoixGrandeurDlg::pHBtnClick() { Attache(moteur_.Base().AppareilPH, MessagepH); }
void TChoixGrandeurDlg::tensionBtnClick() { Attache(moteur_.Base().AppareilTension, MessageTension); }
