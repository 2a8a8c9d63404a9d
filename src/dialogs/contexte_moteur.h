// The device editors' view of the acquisition engine: its port list, port objects
// and handler, the simulated instrument's replay, the loop and the user's boxes.
#pragma once

#include "links/dialogs/contexte_editeur.h"

class TCinetiqueMain;

class TContexteMoteur final : public TContexteEditeur {
public:
  explicit TContexteMoteur(TCinetiqueMain& moteur) : moteur_(moteur) {}

  void SetRS232RG(std::vector<std::string>& items, int& itemIndex, std::string& caption, int comDefault) override;
  int NumeroCom(int k) override;
  TPortSerie* Port(int com) override;
  TTriggerAvail TriggerPrincipal() override;
  bool& SimulationWTW() override;
  int& LigneWTW() override;
  int& CaractereWTW() override;
  TBoucleEvenements& Boucle() override;
  TDialogueUtilisateur& Dialogue() override;

private:
  TCinetiqueMain& moteur_;
};
