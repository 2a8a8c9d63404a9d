// The whole simulated platform in one object: a test builds it, scripts it, and
// hands Plateforme() to the engine.
#pragma once

#include <string>

#include "platform/plateforme.h"
#include "platform/simule/boucle_simulee.h"
#include "platform/simule/dialogue_scripte.h"
#include "platform/simule/ipc_simulee.h"
#include "platform/simule/serie_simulee.h"
#include "platform/simule/services_simules.h"

class TPlateformeSimulee {
public:
  // `racine`: scratch folder holding the simulated documents and program folders.
  explicit TPlateformeSimulee(std::string racine = ".", char separateur = ',');

  TBoucleSimulee boucle;
  TDialogueScripte dialogue;
  TReglagesMemoire reglages;
  TRegionalFixe regional;
  TShellSimule shell;
  TPressePapiersMemoire pressePapiers;
  TVerrousMemoire verrous;
  TBibliothequesSimulees bibliotheques;
  TSerieSimulee serie{boucle};
  TLiaisonIPCSimulee ipc{boucle};

  TPlateforme& Plateforme() { return plateforme_; }

private:
  TPlateforme plateforme_;
};
