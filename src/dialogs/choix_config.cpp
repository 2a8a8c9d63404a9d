// Rules of the device list dialog.
#include "dialogs/choix_config.h"

#include <algorithm>
#include <memory>

#include "core/cinetique.h"
#include "instruments/base_appareils.h"
#include "util/textes.h"

TChoixConfigDlg::TChoixConfigDlg(TCinetiqueMain& moteur)
    : Contexte(moteur), ConfigDlg(Contexte), ConfigSysamDlg(moteur.Plateforme().dialogue), moteur_(moteur) {}

void TChoixConfigDlg::Rafraichit() {
  const auto& liste = moteur_.Base().ListeAppareils;
  DelBtnVisible = liste.size() > 1;
  DelBtnEnabled = false;
  ModifBtnVisible = true;
  ModifBtnEnabled = true;
  AddBtnVisible = true;
  ListBoxAppareil.clear();
  for (const auto& a : liste) ListBoxAppareil.push_back(a->NomAppareil + " " + a->nomGrandeur);
  ListBoxIndex = ListBoxAppareil.empty() ? -1 : 0;
}

void TChoixConfigDlg::FormActivate() {
  modif = false;
  ListeAppRecentCB = moteur_.ListeAppRecent;
  Rafraichit();
}

Tappareil* TChoixConfigDlg::Selection() const {
  const auto& liste = moteur_.Base().ListeAppareils;
  if (ListBoxIndex < 0 || ListBoxIndex >= static_cast<int>(liste.size())) return nullptr;
  return liste[static_cast<std::size_t>(ListBoxIndex)].get();
}

void TChoixConfigDlg::ListBoxAppareilClick(int index) {
  ListBoxIndex = index;
  ModifBtnEnabled = DelBtnEnabled = Selection() != nullptr;
  DelBtnVisible = moteur_.Base().ListeAppareils.size() > 1;
}

void TChoixConfigDlg::EnregistreBtnClick() {
  if (Sablier) Sablier(true);
  const bool ecrit = moteur_.Base().SauveAppareils();
  if (Sablier) Sablier(false);
  // A file that could not be written keeps the changes marked as unsaved.
  if (!ecrit) {
    moteur_.Plateforme().dialogue.Erreur(ErreurEcriture + moteur_.Base().NomFichierIni());
    return;
  }
  modif = false;
}

void TChoixConfigDlg::ModifBtnClick() {
  Tappareil* d = Selection();
  if (!d) return;
  ConfigDlg.AppareilCourant = d;
  if (d->isOrigalys) return;
  bool ok = false;
  if (d->isSysam) {
    ConfigSysamDlg.AppareilCourant = d;
    ok = EditeSysam && EditeSysam();
  } else {
    ok = EditeAppareil && EditeAppareil();
  }
  if (!ok) return;
  modif = true;
  Rafraichit();
}

void TChoixConfigDlg::CreerBtnClick() {
  auto nouveau = std::make_unique<Tappareil>();
  if (Tappareil* d = Selection()) nouveau->Assign(*d);
  ConfigDlg.AppareilCourant = nouveau.get();
  const bool ok = EditeAppareil && EditeAppareil();
  ConfigDlg.AppareilCourant = nullptr;
  if (!ok) return;
  moteur_.Base().ListeAppareils.push_back(std::move(nouveau));
  modif = true;
  Rafraichit();
}

void TChoixConfigDlg::AddBtnClick() {
  const int ajouts = AjoutFichier ? AjoutFichier() : 0;
  // Definitions added from a file are offered for saving like any other change.
  if (ajouts <= 0) return;
  modif = true;
  Rafraichit();
}

void TChoixConfigDlg::Oublie(const Tappareil* d) {
  int n = 0;
  for (int i = 0; i < moteur_.NbreVoies(); ++i) {
    Tappareil* a = moteur_.AppareilAcq[static_cast<std::size_t>(i)];
    if (a != d) moteur_.AppareilAcq[static_cast<std::size_t>(n++)] = a;
  }
  for (int i = n; i < TCinetiqueMain::NbreVoiesMax; ++i) moteur_.AppareilAcq[static_cast<std::size_t>(i)] = nullptr;
  moteur_.SetNbreVoies(n);
  TBaseAppareils& base = moteur_.Base();
  for (Tappareil** r : {&base.AppareilPH, &base.AppareilTension, &base.AppareilConductivite})
    if (*r == d) *r = nullptr;
  if (ConfigDlg.AppareilCourant == d) ConfigDlg.AppareilCourant = nullptr;
  if (ConfigSysamDlg.AppareilCourant == d) ConfigSysamDlg.AppareilCourant = nullptr;
}

void TChoixConfigDlg::DelBtnClick() {
  Tappareil* d = Selection();
  auto& liste = moteur_.Base().ListeAppareils;
  // The last definition is never deleted.
  if (!d || liste.size() <= 1) return;
  if (!moteur_.Plateforme().dialogue.Confirme(QuestionSuppression + d->NomAppareil)) return;
  Oublie(d);
  liste.erase(std::find_if(liste.begin(), liste.end(), [d](const auto& a) { return a.get() == d; }));
  modif = true;
  Rafraichit();
}

void TChoixConfigDlg::BuretteRS232BtnClick() {
  if (ReglageBurette && ReglageBurette()) modif = true;
}

void TChoixConfigDlg::ListeAppRecentCBClick(bool coche) {
  ListeAppRecentCB = coche;
  moteur_.ListeAppRecent = coche;
}

void TChoixConfigDlg::FormCloseQuery() {
  if (modif && moteur_.Plateforme().dialogue.Confirme(QuestionSauvegarde)) EnregistreBtnClick();
}
