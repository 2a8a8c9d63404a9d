// The device editors' fixture: an engine of the simulated platform with the bench pH
// meter (reading 7.02) on COM3 and a silent line on COM4, the editors' view of it,
// and a definition editor's rules.
#pragma once

#include <memory>

#include "banc/grandeur.h"
#include "banc/phmetre.h"
#include "core/banc_moteur.h"
#include "dialogs/contexte_moteur.h"
#include "links/dialogs/config_dlg.h"

class TBancEditeur : public TBancMoteur {
protected:
  void SetUp() override {
    Branche(3, std::make_unique<TPhMetre>(std::make_shared<TValeurFixe>(7.02)));
    PortMuet(4);
    Demarre();
    contexte = std::make_unique<TContexteMoteur>(*moteur);
    dlg = std::make_unique<TConfigDlg>(*contexte);
  }
  void TearDown() override {
    dlg.reset();
    contexte.reset();
  }
  TLigneSimulee& Ligne(int com) { return *p.serie.Ligne("/sim/com" + std::to_string(com)); }
  std::unique_ptr<TContexteMoteur> contexte;
  std::unique_ptr<TConfigDlg> dlg;
};
