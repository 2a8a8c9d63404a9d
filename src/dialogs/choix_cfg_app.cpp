// Rules of the add-from-file dialog.
#include "dialogs/choix_cfg_app.h"

#include <memory>

#include "instruments/base_appareils.h"
#include "platform/dialogue.h"

void TChoixCfgAppDlg::Rafraichit() {
  GrandeurEnabled = !GrandeurItems.empty();
  ListeAppareilEnabled = !ListeAppareilItems.empty();
  AddBtnEnabled = ListeAppareilIndex >= 0 && ListeAppareilIndex < static_cast<int>(ListeAppareilItems.size());
}

void TChoixCfgAppDlg::ListeModeles(const std::string& grandeur) {
  ListeAppareilItems.clear();
  for (const auto& a : base_.ListeAppareilsFichier)
    if (a->nomGrandeur == grandeur) ListeAppareilItems.push_back(a->NomAppareil);
  ListeAppareilIndex = static_cast<int>(ListeAppareilItems.size()) - 1;
}

void TChoixCfgAppDlg::OpenBtnClick() {
  const auto chemin = dialogue_.ChoisitFichier(false, TitreOuverture, Filtre, Extension);
  if (!chemin) return;
  base_.LitFichierAppareils(*chemin);
  GrandeurItems = base_.ListeGrandeursFichier;
  ListeAppareilItems.clear();
  ListeAppareilIndex = -1;
  GrandeurIndex = -1;
  if (!GrandeurItems.empty() && !base_.ListeAppareilsFichier.empty()) {
    const std::string& g = base_.ListeAppareilsFichier.front()->nomGrandeur;
    for (std::size_t k = 0; k < GrandeurItems.size(); ++k)
      if (GrandeurItems[k] == g) GrandeurIndex = static_cast<int>(k);
    ListeModeles(g);
  }
  Rafraichit();
}

void TChoixCfgAppDlg::GrandeurComboChange(int index) {
  GrandeurIndex = index;
  if (index >= 0 && index < static_cast<int>(GrandeurItems.size())) ListeModeles(GrandeurItems[static_cast<std::size_t>(index)]);
  Rafraichit();
}

void TChoixCfgAppDlg::ListeAppareilComboChange(int index) {
  ListeAppareilIndex = index;
  Rafraichit();
}

void TChoixCfgAppDlg::AddBtnClick() {
  if (ListeAppareilIndex < 0 || ListeAppareilIndex >= static_cast<int>(ListeAppareilItems.size())) return;
  const std::string& nom = ListeAppareilItems[static_cast<std::size_t>(ListeAppareilIndex)];
  for (const auto& a : base_.ListeAppareilsFichier) {
    if (a->NomAppareil != nom) continue;
    auto nouveau = std::make_unique<Tappareil>();
    nouveau->Assign(*a);
    base_.ListeAppareils.push_back(std::move(nouveau));
    ++NbreAjouts;
    return;
  }
}
