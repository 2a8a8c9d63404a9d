// The channel configuration dialog on screen: widgets bound to the TCfgAppDlg model;
// "&Pilotage" opens the terminal (or the USB test window) for one showing.
#pragma once

#include <QDialog>

#include "dialogs/cfg_app.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TGroupeRadio;
class TOrigalys;

class TFenetreCfgApp : public QDialog {
public:
  // `listeUSB`: the USB meters for the USB test window; null without their library.
  explicit TFenetreCfgApp(TCinetiqueMain& moteur, TOrigalys* listeUSB = nullptr, QWidget* parent = nullptr);
  ~TFenetreCfgApp() override;

  TCfgAppDlg& Modele() { return modele_; }

  // The controls, for the window's tests.
  QGroupBox* GrandeurGB() const { return grandeurGB_; }
  QLineEdit* GrandeurEdit() const { return grandeurEdit_; }
  QLineEdit* EditNom() const { return editNom_; }
  QLineEdit* EditUnite() const { return editUnite_; }
  QLineEdit* EditMin() const { return editMin_; }
  QLineEdit* EditMax() const { return editMax_; }
  QCheckBox* DepassementCB() const { return depassementCB_; }
  TGroupeRadio* Comports() const { return comports_; }
  QPlainTextEdit* MemoAide() const { return memoAide_; }
  QPushButton* InitBtn() const { return initBtn_; }
  QPushButton* FinBtn() const { return finBtn_; }
  QPushButton* PiloteBtn() const { return piloteBtn_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }
  QPushButton* HelpBtn() const { return helpBtn_; }

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  void Affiche();
  void Lit();

  TCinetiqueMain& moteur_;
  TOrigalys* listeUSB_;
  TCfgAppDlg modele_;
  QGroupBox* grandeurGB_;
  QLineEdit* grandeurEdit_;
  QLineEdit* editNom_;
  QLineEdit* editUnite_;
  QLineEdit* editMin_;
  QLineEdit* editMax_;
  QCheckBox* depassementCB_;
  TGroupeRadio* comports_;
  QPlainTextEdit* memoAide_;
  QPushButton* initBtn_;
  QPushButton* finBtn_;
  QPushButton* piloteBtn_;
  QPushButton* okBtn_;
  QPushButton* cancelBtn_;
  QPushButton* helpBtn_;
};
