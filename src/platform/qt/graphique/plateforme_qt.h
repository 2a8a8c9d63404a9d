// The whole real platform in one object, built by main().
#pragma once

#include <memory>
#include <string>

#include "platform/plateforme.h"
#include "platform/qt/boucle_qt.h"
#include "platform/qt/liaison/ipc_qt.h"
#include "platform/qt/serie_qt.h"
#include "platform/qt/graphique/services_bureau_qt.h"

class TPlateformeQt {
public:
  explicit TPlateformeQt(std::string titre = "Acquisition RS232");

  TBoucleQt boucle;
  TDialogueQt dialogue;
  TReglagesQt reglages;
  TRegionalQt regional;
  TShellBureauQt shell;
  TPressePapiersQt pressePapiers;
  TVerrousQt verrous;
  TBibliothequesQt bibliotheques;
  TSerieQt serie;
  TLiaisonIPCQt ipc{boucle};

  TPlateforme& Plateforme() { return plateforme_; }

private:
  TPlateforme plateforme_;
};
