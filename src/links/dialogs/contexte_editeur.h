// What the device editors need of the acquisition engine, which they cannot see from
// here: the port list of the dialogs, the engine's port objects and handler, the
// simulated instrument's replay, the loop and the user's boxes. The engine's side
// implements it (dialogs/contexte_moteur.h); tests may give their own.
#pragma once

#include <string>
#include <vector>

#include "links/port_serie.h"

class TBoucleEvenements;
class TDialogueUtilisateur;

class TContexteEditeur {
public:
  virtual ~TContexteEditeur() = default;
  // The present ports as radio items, the item of `comDefault` chosen (the first
  // when it is absent), the group's caption; remembers each item's COM number.
  virtual void SetRS232RG(std::vector<std::string>& items, int& itemIndex, std::string& caption, int comDefault) = 0;
  // The COM number of item k of the last list made.
  virtual int NumeroCom(int k) = 0;
  // The engine's port object of COM `com`; null outside 1..50.
  virtual TPortSerie* Port(int com) = 0;
  // The engine's own data-available handler, given back to a port when an editor
  // lets it go.
  virtual TTriggerAvail TriggerPrincipal() = 0;
  // The simulated instrument: on, and where its replay stands (shared with the engine).
  virtual bool& SimulationWTW() = 0;
  virtual int& LigneWTW() = 0;
  virtual int& CaractereWTW() = 0;
  virtual TBoucleEvenements& Boucle() = 0;
  virtual TDialogueUtilisateur& Dialogue() = 0;
};
