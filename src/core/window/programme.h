// The program's windows, created in the start-up order: the main window with its
// engine, the about box, the acquisition mode dialog, the link with the analysis
// program, the page information dialog and the instrument selection dialog; then
// the engine's dialogs and the window's commands are wired to them.
#pragma once

#include <memory>
#include <string>

class QMessageBox;
class TAdaptateurs;
class TBaseAppareils;
class TCinetiqueMain;
class TFenetreBalayage;
class TFenetreBurette;
class TFenetreCfgApp;
class TFenetreChoixApp;
class TFenetreChoixGrandeur;
class TFenetrePage;
class TFenetrePrincipale;
class TFiltreMessage;
class TFormDDE;
class TTablePorts;
struct TPlateforme;

struct TOptionsProgramme {
  // The running program's path: its file name is the server's service name, and the
  // data file names it.
  std::string cheminExecutable;
  // USB meters and the interface box; null: none connected.
  TAdaptateurs* adaptateurs = nullptr;
  // Registers the configuration files with the desktop at shut-down.
  bool associationBureau = false;
};

class TProgramme {
public:
  TProgramme(TPlateforme& plateforme, TBaseAppareils& base, TTablePorts& table, TOptionsProgramme options);
  ~TProgramme();
  TProgramme(const TProgramme&) = delete;
  TProgramme& operator=(const TProgramme&) = delete;

  // Shows the main window centred on the screen.
  void Montre();

  TCinetiqueMain& Moteur() { return *moteur_; }
  TFenetrePrincipale& Fenetre() { return *fenetre_; }
  TFenetreBalayage& Balayage() { return *balayage_; }
  TFenetrePage& Page() { return *page_; }
  TFenetreChoixApp& ChoixApp() { return *choixApp_; }
  // Null without adapters.
  TFormDDE& DDE() { return *dde_; }
  QMessageBox& APropos() { return *aPropos_; }
  // The channel configuration dialog, made at the first click on a channel; null before.
  TFenetreCfgApp* CfgApp() const { return cfgApp_; }

  // The burette settings dialog, made for one showing and released; `suspend`: the
  // engine is suspended around it (opened from the main window, not from the mode
  // dialog, which has suspended it already).
  void ReglageBurette(bool suspend);
  // "Tracoria": the page information dialog, then the transfer.
  void TraSaveBtnClick();

private:
  // Opens the user guide: its contents for 0, else the section of a dialog's topic.
  void Aide(int contexte);

  TPlateforme& plateforme_;
  TBaseAppareils& base_;
  TOptionsProgramme options_;
  std::unique_ptr<TCinetiqueMain> moteur_;
  std::unique_ptr<TFiltreMessage> filtreMessage_;
  std::unique_ptr<TFenetrePrincipale> fenetre_;
  // Owned by the main window (their parent).
  QMessageBox* aPropos_ = nullptr;
  TFenetreBalayage* balayage_ = nullptr;
  std::unique_ptr<TFormDDE> dde_;
  TFenetrePage* page_ = nullptr;
  TFenetreChoixApp* choixApp_ = nullptr;
  TFenetreChoixGrandeur* choixGrandeur_ = nullptr;  // with the vendor libraries only
  TFenetreCfgApp* cfgApp_ = nullptr;
};
