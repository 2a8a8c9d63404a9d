// The device editors' view of the acquisition engine.
#include "dialogs/contexte_moteur.h"

#include "core/cinetique.h"

void TContexteMoteur::SetRS232RG(std::vector<std::string>& items, int& itemIndex, std::string& caption, int comDefault) {
  moteur_.SetRS232RG(items, itemIndex, caption, comDefault);
}

int TContexteMoteur::NumeroCom(int k) { return k >= -1 && k <= 52 ? moteur_.NumeroCom(k) : 0; }

TPortSerie* TContexteMoteur::Port(int com) {
  if (com < 1 || com > TCinetiqueMain::NbreComs) return nullptr;
  return moteur_.voieSerieCin[static_cast<std::size_t>(com)].get();
}

TTriggerAvail TContexteMoteur::TriggerPrincipal() {
  TCinetiqueMain* m = &moteur_;
  return {m, [m](TPortSerie* cp, std::uint16_t count) { m->TriggerAvail(cp, count); }};
}

bool& TContexteMoteur::SimulationWTW() { return moteur_.SimulationWTW; }
int& TContexteMoteur::LigneWTW() { return moteur_.LigneWTW; }
int& TContexteMoteur::CaractereWTW() { return moteur_.CaractereWTW; }
TBoucleEvenements& TContexteMoteur::Boucle() { return moteur_.Plateforme().boucle; }
TDialogueUtilisateur& TContexteMoteur::Dialogue() { return moteur_.Plateforme().dialogue; }
