// The device definition editor on screen: five pages of widgets bound to the
// TConfigDlg model, and the test window it opens.
#pragma once

#include <QDialog>

#include <memory>

#include "links/dialogs/config_dlg.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;
class TFenetreTest;

class TFenetreConfig : public QDialog {
public:
  // `modele` and `contexte` outlive the window.
  TFenetreConfig(TConfigDlg& modele, TContexteEditeur& contexte, QWidget* parent = nullptr);
  ~TFenetreConfig() override;

  TConfigDlg& Modele() { return modele_; }
  // The test window, made at the first "&Test".
  TFenetreTest* Test() const { return test_.get(); }

  // ---- the controls, for the window's tests
  QTabWidget* PageControl() const { return pages_; }
  QComboBox* NomGrandeurCombo() const { return nomGrandeurCombo_; }
  QLineEdit* EditSymbole() const { return editSymbole_; }
  QLineEdit* EditUnite() const { return editUnite_; }
  QLineEdit* EditMin() const { return editMin_; }
  QLineEdit* EditMax() const { return editMax_; }
  QLineEdit* EditNomAppareil() const { return editNomAppareil_; }
  QSpinBox* PrecisionSE() const { return precisionSE_; }
  QLineEdit* DeriveEdit() const { return deriveEdit_; }
  QCheckBox* RTSCTSbox() const { return rtsCtsBox_; }
  QCheckBox* XonXoffBox() const { return xonXoffBox_; }
  QButtonGroup* BaudsRG() const { return baudsRG_; }
  QButtonGroup* Comports() const { return comports_; }
  QGroupBox* ComportsGB() const { return comportsGB_; }
  QButtonGroup* ParityRG() const { return parityRG_; }
  QButtonGroup* DatabitsRG() const { return databitsRG_; }
  QButtonGroup* StopbitsRG() const { return stopbitsRG_; }
  QButtonGroup* EnvoiDonneesRG() const { return envoiDonneesRG_; }
  QButtonGroup* FixeRG() const { return fixeRG_; }
  QLineEdit* DelaiEdit() const { return delaiEdit_; }
  QToolButton* DelaiHaut() const { return delaiHaut_; }
  QToolButton* DelaiBas() const { return delaiBas_; }
  QSpinBox* SeparateurSE() const { return separateurSE_; }
  QGroupBox* NbreCaracGB() const { return nbreCaracGB_; }
  QSpinBox* NbreCaracSE() const { return nbreCaracSE_; }
  QGroupBox* NbreLignesGB() const { return nbreLignesGB_; }
  QSpinBox* NbreLignesSE() const { return nbreLignesSE_; }
  QGroupBox* PosDebutGB() const { return posDebutGB_; }
  QSpinBox* PosDebutSE() const { return posDebutSE_; }
  QGroupBox* NumeroOrdreGB() const { return numeroOrdreGB_; }
  QSpinBox* NumeroOrdreSE() const { return numeroOrdreSE_; }
  QGroupBox* DemandeGB() const { return demandeGB_; }
  QLineEdit* EditDemande() const { return editDemande_; }
  QGroupBox* DemandeBisGB() const { return demandeBisGB_; }
  QLineEdit* EditDemandeBis() const { return editDemandeBis_; }
  QLineEdit* EditInit() const { return editInit_; }
  QLineEdit* EditFin() const { return editFin_; }
  QLineEdit* EditVerif() const { return editVerif_; }
  QSpinBox* NumVerifSE() const { return numVerifSE_; }
  QCheckBox* LectureCoeffCB() const { return lectureCoeffCB_; }
  QCheckBox* LectureNomUniteCB() const { return lectureNomUniteCB_; }
  QCheckBox* LectureStabCB() const { return lectureStabCB_; }
  QCheckBox* DepassementCB() const { return depassementCB_; }
  QPlainTextEdit* PilotageMemo() const { return pilotageMemo_; }
  QPlainTextEdit* Memo1() const { return memo1_; }
  QLineEdit* OrdreEdit() const { return ordreEdit_; }
  QPushButton* Envoi() const { return envoi_; }
  QPushButton* EnvoiCR() const { return envoiCR_; }
  QPushButton* EnvoiCRLF() const { return envoiCRLF_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }
  QPushButton* HelpBtn() const { return helpBtn_; }
  QPushButton* TestBtn() const { return testBtn_; }
  QPushButton* ClearBtn() const { return clearBtn_; }

  void reject() override;

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  // Controls to model before each action, model to controls after.
  void VersModele();
  void Affiche();
  void AfficheMemo();
  void ComportsItems();
  void Action(const std::function<void()>& action);

  TConfigDlg& modele_;
  TContexteEditeur& contexte_;
  std::unique_ptr<TFenetreTest> test_;
  bool maj_ = false;
  std::vector<std::string> portsAffiches_;

  QTabWidget* pages_;
  QComboBox* nomGrandeurCombo_;
  QLineEdit *editSymbole_, *editUnite_, *editMin_, *editMax_, *editNomAppareil_, *deriveEdit_;
  QSpinBox* precisionSE_;
  QCheckBox *rtsCtsBox_, *xonXoffBox_;
  QButtonGroup *baudsRG_, *comports_, *parityRG_, *databitsRG_, *stopbitsRG_, *envoiDonneesRG_, *fixeRG_;
  QGroupBox* comportsGB_;
  QLineEdit* delaiEdit_;
  QToolButton *delaiHaut_, *delaiBas_;
  QSpinBox *separateurSE_, *nbreCaracSE_, *nbreLignesSE_, *posDebutSE_, *numeroOrdreSE_, *numVerifSE_;
  QGroupBox *nbreCaracGB_, *nbreLignesGB_, *posDebutGB_, *numeroOrdreGB_, *demandeGB_, *demandeBisGB_;
  QLineEdit *editDemande_, *editDemandeBis_, *editInit_, *editFin_, *editVerif_;
  QCheckBox *lectureCoeffCB_, *lectureNomUniteCB_, *lectureStabCB_, *depassementCB_;
  QPlainTextEdit *pilotageMemo_, *memo1_;
  QLineEdit* ordreEdit_;
  QPushButton *envoi_, *envoiCR_, *envoiCRLF_;
  QPushButton *okBtn_, *cancelBtn_, *helpBtn_, *testBtn_, *clearBtn_;
};
