// The program's start-up before any window exists, in its fixed order: the documents
// folder, the unit table, the two vendor libraries, the device database with the
// burette. The single-instance check comes next, in the program itself.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/adaptateurs_bibliotheques.h"
#include "instruments/base_appareils.h"
#include "platform/plateforme.h"

struct TDemarrage {
  std::string dossierDocuments;
  std::size_t unites = 0;
  std::unique_ptr<TAdaptateursBibliotheques> adaptateurs;
  std::unique_ptr<TBaseAppareils> base;
  // Empty when the start-up may go on; otherwise the message shown before stopping.
  std::string messageArret;
};

// `dossierProgramme` empty: the shell's program folder.
TDemarrage Demarre(TPlateforme& plateforme, const std::string& dossierProgramme = {});

// What the start-up found, in French, one line per item (the headless start-up job);
// the USB meters are those of the adapters' last enumeration.
std::vector<std::string> RapportDemarrage(const TDemarrage& d);
