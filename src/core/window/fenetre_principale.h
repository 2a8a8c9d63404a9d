// The main window: the view of the acquisition engine. Toolbars with the commands,
// the time-base controls, the grid, the plot and the live channel panels are bound
// to the engine's view model; each user action calls the engine's operation.
#pragma once

#include <QMainWindow>

#include <functional>
#include <map>
#include <string>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSpinBox;
class QTableView;
class QToolBar;
class QToolButton;
class QWidget;
class TBoutonsHautBas;
class TCinetiqueMain;
class TModeleGrille;
class TOscillo;
class TPanneauVoies;

// What the window's commands open beyond the engine: the program fills them in;
// an empty one leaves its command with nothing to do.
struct TCommandesFenetre {
  std::function<void()> SaveItemClick;
  std::function<void()> SauveconfigItemClick;
  std::function<void()> ChargeconfigItemClick;
  std::function<void()> ConfigurationItemClick;
  std::function<void()> HelpIndexItemClick;
  std::function<void()> AboutItemClick;
  std::function<void()> TraSaveBtnClick;
  std::function<void()> CopyBtnClick;
  std::function<void(int voie)> GroupBox1Click;
};

class TFenetrePrincipale final : public QMainWindow {
public:
  static constexpr const char* Caption = "Acquisition par appareils à sortie RS232";

  explicit TFenetrePrincipale(TCinetiqueMain& moteur, QWidget* parent = nullptr);
  ~TFenetrePrincipale() override;

  // Creates the engine's side (FormCreate) once the widgets exist.
  void FormCreate();
  TCommandesFenetre Commandes;

  // ---- the controls, for the program and the tests
  // "EnregistreBtn", "StopBtn", ... and the menu items "NouveauFichierItem",
  // "NouvellePageItem", "SauveConfigItem", "ChargeConfigItem", "GestionItem",
  // "QuitterItem"; also "FileBtn", "AddAppareilBtn", "ModeAcqBtn", "HelpBtn", "AboutBtn".
  QAction* Action(const std::string& nom) const;
  QToolButton* Bouton(const std::string& nom) const;
  QMenu* FilePopupMenu() const { return menuFichier_; }
  QWidget* PanelTemps() const { return panelTemps_; }
  QLineEdit* DureeEdit() const { return dureeEdit_; }
  TBoutonsHautBas* DureeSB() const { return dureeSB_; }
  QSpinBox* DeltatSE() const { return deltatSE_; }
  QLabel* NombreLabel() const { return nombreLabel_; }
  QLabel* DeltaLabel() const { return deltaLabel_; }
  QTableView* Grid() const { return grille_; }
  QWidget* PanelGrid() const { return panelGrid_; }
  TOscillo* Oscillo() const { return oscillo_; }
  TPanneauVoies* PanelVoies() const { return panneauVoies_; }
  QLabel* StatusPanel(int i) const { return i == 0 ? statut0_ : statut1_; }
  int TailleIcones() const { return tailleIcones_; }
  bool Multimetre() const { return pleinEcran_; }

  // The multimeter toggle.
  void PleinEcranBtnClick(bool enfonce);
  void DisposeVoies();

protected:
  void closeEvent(QCloseEvent* evenement) override;
  void keyPressEvent(QKeyEvent* evenement) override;
  void changeEvent(QEvent* evenement) override;
  void resizeEvent(QResizeEvent* evenement) override;
  bool event(QEvent* evenement) override;

private:
  QAction* Commande(QToolBar* barre, const std::string& nom, const char* caption, int icone, const char* indice,
                    std::function<void()> action);
  void ConstruitBarres();
  void ConstruitPanelTemps();
  void Lie(const std::string& nom);
  void AppliqueTout();
  void AppliqueControle(const std::string& nom);
  void AppliqueGrille();
  void AppliqueSablier();
  void ValideClavier();

  TCinetiqueMain& moteur_;
  int tailleIcones_ = 20;
  std::map<std::string, QAction*> actions_;
  std::map<std::string, QToolButton*> boutons_;
  QToolBar* toolBar2_ = nullptr;
  QToolBar* toolBar1_ = nullptr;
  QMenu* menuFichier_ = nullptr;
  QWidget* panelTemps_ = nullptr;
  QLabel* dureeLabel_ = nullptr;
  QLineEdit* dureeEdit_ = nullptr;
  TBoutonsHautBas* dureeSB_ = nullptr;
  QLabel* deltaLabel_ = nullptr;
  QSpinBox* deltatSE_ = nullptr;
  QLabel* nombreLabel_ = nullptr;
  QWidget* panelGrid_ = nullptr;
  QTableView* grille_ = nullptr;
  TModeleGrille* modeleGrille_ = nullptr;
  TOscillo* oscillo_ = nullptr;
  TPanneauVoies* panneauVoies_ = nullptr;
  QLabel* statut0_ = nullptr;
  QLabel* statut1_ = nullptr;
  bool pleinEcran_ = false;
  bool maj_ = false;
  bool sablier_ = false;
  int ligneHautAppliquee_ = -1;
  int colonnesAppliquees_ = -1;
};
