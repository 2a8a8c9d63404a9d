// The platform the engine is built with: one reference per seam. main() builds the
// Qt one, tests the simulated one; nothing inside the logic reaches a global instead.
#pragma once

#include "platform/boucle.h"
#include "platform/dialogue.h"
#include "platform/divers.h"
#include "platform/regional.h"
#include "platform/reglages.h"
#include "platform/shell.h"

class TSeriePlateforme;  // serial devices (platform/serie.h)
class TLiaisonIPC;       // the link with the analysis program (platform/ipc.h)

struct TPlateforme {
  TBoucleEvenements& boucle;
  TDialogueUtilisateur& dialogue;
  TReglages& reglages;
  TParametresRegionaux& regional;
  TShell& shell;
  TPressePapiers& pressePapiers;
  TVerrous& verrous;
  TBibliotheques& bibliotheques;
  TSeriePlateforme* serie = nullptr;
  TLiaisonIPC* ipc = nullptr;
};
