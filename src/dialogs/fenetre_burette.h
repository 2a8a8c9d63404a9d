// The burette settings dialog on screen: widgets bound to the TBuretteRS232Dlg model.
// Created for one showing and released after.
#pragma once

#include <QDialog>

#include "dialogs/burette_dlg.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TFenetreBurette : public QDialog {
public:
  // `appareil`: the instrument whose unit labels the thresholds, or null.
  TFenetreBurette(TCinetiqueMain& moteur, Tappareil* appareil, QWidget* parent = nullptr);

  TBuretteRS232Dlg& Modele() { return modele_; }

  QLineEdit* NomEdit() const { return nomEdit_; }
  QCheckBox* ModeIncrementCB() const { return modeIncrementCB_; }
  QLineEdit* DeltaVedit() const { return deltaVedit_; }
  QSpinBox* VminiSE() const { return vminiSE_; }
  QSpinBox* VmaxiSE() const { return vmaxiSE_; }
  QLineEdit* SensibleEdit() const { return sensibleEdit_; }
  QComboBox* PrefixeSensibleCB() const { return prefixeSensibleCB_; }
  QLabel* UniteLabel1() const { return uniteLabel1_; }
  QSpinBox* TMiniSE() const { return tMiniSE_; }
  QSpinBox* TmaxiSE() const { return tmaxiSE_; }
  QLineEdit* StableEdit() const { return stableEdit_; }
  QComboBox* PrefixeStableCB() const { return prefixeStableCB_; }
  QLabel* UniteLabel2() const { return uniteLabel2_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  void Affiche();
  void Lit();

  TBuretteRS232Dlg modele_;
  QLineEdit* nomEdit_;
  QCheckBox* modeIncrementCB_;
  QLabel* deltaVLabel_;
  QLineEdit* deltaVedit_;
  QLabel* deltaVUnite_;
  QSpinBox* vminiSE_;
  QSpinBox* vmaxiSE_;
  QLineEdit* sensibleEdit_;
  QComboBox* prefixeSensibleCB_;
  QLabel* uniteLabel1_;
  QSpinBox* tMiniSE_;
  QSpinBox* tmaxiSE_;
  QLineEdit* stableEdit_;
  QComboBox* prefixeStableCB_;
  QLabel* uniteLabel2_;
  QPushButton* okBtn_;
  QPushButton* cancelBtn_;
  QPushButton* helpBtn_;
  bool maj_ = false;
};
