// The interface-box definition editor on screen, bound to the TConfigSysamDlg model.
#pragma once

#include <QDialog>

#include "links/dialogs/config_sysam_dlg.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

class TFenetreConfigSysam : public QDialog {
public:
  explicit TFenetreConfigSysam(TConfigSysamDlg& modele, QWidget* parent = nullptr);

  TConfigSysamDlg& Modele() { return modele_; }
  QTabWidget* PageControl() const { return pages_; }
  QLineEdit* EditSymbole() const { return editSymbole_; }
  QLineEdit* EditMax() const { return editMax_; }
  QLineEdit* AEdit() const { return aEdit_; }
  QLineEdit* BEdit() const { return bEdit_; }
  QButtonGroup* EARG() const { return earg_; }
  QButtonGroup* CalibreRG() const { return calibreRG_; }
  QCheckBox* DiffCB() const { return diffCB_; }
  QSpinBox* NbreCalibreSE() const { return nbreCalibreSE_; }
  QTableWidget* CalibreGrid() const { return grille_; }
  QLabel* GridLabel() const { return gridLabel_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  void VersModele();
  void Affiche();
  void AfficheGrille();

  TConfigSysamDlg& modele_;
  bool maj_ = false;
  QTabWidget* pages_;
  QLineEdit *editSymbole_, *editUnite_, *editMin_, *editMax_, *editNomAppareil_, *aEdit_, *bEdit_;
  QSpinBox* precisionSE_;
  QButtonGroup *earg_, *calibreRG_;
  QCheckBox* diffCB_;
  QSpinBox* nbreCalibreSE_;
  QTableWidget* grille_;
  QLabel* gridLabel_;
  QPushButton *okBtn_, *cancelBtn_;
};
