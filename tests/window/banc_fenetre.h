// The whole program's windows on a platform of the tests: the real event loop and
// real serial ports (pseudo-terminals served by the virtual bench), with the user's
// answers, the settings and the regional formats of the simulated platform.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "banc/banc_pty.h"
#include "core/demarrage.h"
#include "core/window/programme.h"
#include "links/table_ports.h"
#include "platform/plateforme.h"
#include "platform/qt/boucle_qt.h"
#include "platform/qt/serie_qt.h"
#include "platform/simule/dialogue_scripte.h"
#include "platform/simule/services_simules.h"
#include "util/regional_courant.h"
#include "window/application_widgets.h"

class TBancFenetre : public ::testing::Test {
protected:
  TBancFenetre()
      : dossier_(std::filesystem::current_path()),
        shell_(dossier_.string(), (dossier_ / "programme").string()),
        plateforme_{boucle_, dialogue_, reglages_, regional_, shell_, presse_, verrous_, bibliotheques_, &serie_, nullptr} {
    ApplicationWidgets();
    std::filesystem::create_directories(dossier_ / "programme");
    InstalleRegional(&regional_);
    dialogue_.SetEchec([](const std::string& m) { ADD_FAILURE() << "question inattendue : " << m; });
  }
  ~TBancFenetre() override {
    programme_.reset();
    table_.reset();
    banc_.Arrete();
    InstalleRegional(nullptr);
  }

  // A bench instrument on COM `com`, served on a pseudo-terminal.
  void Branche(int com, std::unique_ptr<TInstrumentBanc> instrument) {
    const std::string chemin = banc_.Ajoute(std::move(instrument));
    ASSERT_FALSE(chemin.empty());
    AjoutePort(com, chemin);
  }
  void AjoutePort(int com, const std::string& chemin) {
    if (!ports_.empty()) ports_ += ";";
    ports_ += "COM" + std::to_string(com) + "=" + chemin;
  }

  // Starts the bench, then the program as main() does after the single-instance check.
  void Demarre() {
    banc_.Demarre();
    demarrage_ = ::Demarre(plateforme_, (dossier_ / "programme").string());
    ASSERT_TRUE(demarrage_.messageArret.empty()) << demarrage_.messageArret;
    table_ = std::make_unique<TTablePorts>(serie_, nullptr, [this](const std::string& nom) -> std::optional<std::string> {
      if (nom == TTablePorts::Variable) return ports_;
      return std::nullopt;
    });
    TOptionsProgramme options;
    options.cheminExecutable = (dossier_ / "Pelitrax").string();
    options.adaptateurs = demarrage_.adaptateurs.get();
    programme_ = std::make_unique<TProgramme>(plateforme_, *demarrage_.base, *table_, options);
    programme_->Montre();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&programme_->Fenetre()));
  }

  TProgramme& P() { return *programme_; }

  std::filesystem::path dossier_;
  TBancPty banc_;
  std::string ports_;
  TBoucleQt boucle_;
  TDialogueScripte dialogue_;
  TReglagesMemoire reglages_;
  TRegionalFixe regional_{','};
  TShellSimule shell_;
  TPressePapiersMemoire presse_;
  TVerrousMemoire verrous_;
  TBibliothequesSimulees bibliotheques_;
  TSerieQt serie_;
  TPlateforme plateforme_;
  TDemarrage demarrage_;
  std::unique_ptr<TTablePorts> table_;
  std::unique_ptr<TProgramme> programme_;
};
