// The platform of the headless sub-commands, on Qt Core only: the real loop, ports,
// settings, locale, shell, locks and libraries; the console for the user; a clipboard
// that keeps its text in memory, and no inter-process link. No graphics or network
// library is loaded (start-up cost, a run on battery).
#pragma once

#include <string>

#include "cli/dialogue_console.h"
#include "platform/plateforme.h"
#include "platform/qt/boucle_qt.h"
#include "platform/qt/serie_qt.h"
#include "platform/qt/services_qt.h"
#include "platform/simule/services_simules.h"

class TPlateformeConsole {
public:
  // `oui`: the answer to the run's questions (--oui, --non).
  explicit TPlateformeConsole(bool oui);
  ~TPlateformeConsole();
  TPlateformeConsole(const TPlateformeConsole&) = delete;
  TPlateformeConsole& operator=(const TPlateformeConsole&) = delete;

  TBoucleQt boucle;
  TDialogueConsole dialogue;
  TReglagesQt reglages;
  TRegionalQt regional;
  TShellQt shell;
  TPressePapiersMemoire pressePapiers;
  TVerrousQt verrous;
  TBibliothequesQt bibliotheques;
  TSerieQt serie;

  TPlateforme& Plateforme() { return plateforme_; }

private:
  TPlateforme plateforme_;
};
