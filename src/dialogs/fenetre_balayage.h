// The acquisition mode dialog on screen: widgets bound to the TBalayageDlg model.
#pragma once

#include <QDialog>

#include "dialogs/balayage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class TBoutonsHautBas;
class TGroupeRadio;

class TFenetreBalayage : public QDialog {
public:
  explicit TFenetreBalayage(TCinetiqueMain& moteur, QWidget* parent = nullptr);

  TBalayageDlg& Modele() { return modele_; }

  TGroupeRadio* ModeAcqRG() const { return modeAcqRG_; }
  QStackedWidget* NoteBook() const { return noteBook_; }
  QSpinBox* DeltatSpin() const { return deltatSpin_; }
  QLineEdit* Duree() const { return duree_; }
  TBoutonsHautBas* DureeSB() const { return dureeSB_; }
  QLabel* NombreLabel() const { return nombreLabel_; }
  TGroupeRadio* AbscisseMaitreRG() const { return abscisseMaitreRG_; }
  QComboBox* SoundCB() const { return soundCB_; }
  QLineEdit* EditNom() const { return editNom_; }
  QLineEdit* EditUnite() const { return editUnite_; }
  QLineEdit* EditMin() const { return editMin_; }
  QLineEdit* EditMax() const { return editMax_; }
  QPushButton* TestBuretteBtn() const { return testBuretteBtn_; }
  QLabel* TestBuretteLabel() const { return testBuretteLabel_; }
  QPushButton* ConfigBuretteBtn() const { return configBuretteBtn_; }
  TGroupeRadio* ComPortsBuretteRS232() const { return comPorts_; }
  QCheckBox* TraceCB() const { return traceCB_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }

  void done(int resultat) override;

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  void Affiche();

  TBalayageDlg modele_;
  TGroupeRadio* modeAcqRG_;
  QStackedWidget* noteBook_;
  QLabel* deltatLabel_;
  QSpinBox* deltatSpin_;
  QLineEdit* duree_;
  TBoutonsHautBas* dureeSB_;
  QLabel* nombreLabel_;
  TGroupeRadio* abscisseMaitreRG_;
  QComboBox* soundCB_;
  QPushButton* soundBtn_;
  QLineEdit* editNom_;
  QLineEdit* editUnite_;
  QLineEdit* editMin_;
  QLineEdit* editMax_;
  QPushButton* testBuretteBtn_;
  QLabel* testBuretteLabel_;
  QPushButton* configBuretteBtn_;
  TGroupeRadio* comPorts_;
  QCheckBox* traceCB_;
  QPushButton* okBtn_;
  QPushButton* cancelBtn_;
  QPushButton* helpBtn_;
  bool maj_ = false;
  std::vector<std::string> portsAffiches_;
};
