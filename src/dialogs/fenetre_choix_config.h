// The device list dialog on screen, bound to the TChoixConfigDlg model, with the
// editors it owns and the add-from-file dialog it opens.
#pragma once

#include <QDialog>

#include <functional>

#include "dialogs/choix_config.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class TFenetreConfig;
class TFenetreConfigSysam;

class TFenetreChoixConfig : public QDialog {
public:
  explicit TFenetreChoixConfig(TCinetiqueMain& moteur, QWidget* parent = nullptr);
  ~TFenetreChoixConfig() override;

  TChoixConfigDlg& Modele() { return modele_; }
  TFenetreConfig* Editeur() const { return editeur_; }
  TFenetreConfigSysam* EditeurSysam() const { return editeurSysam_; }
  // The help of the windows it opens (the burette settings, the editor), with the
  // window's help topic.
  std::function<void(int)> Aide;

  QListWidget* ListBoxAppareil() const { return liste_; }
  QPushButton* EnregistreBtn() const { return enregistreBtn_; }
  QPushButton* CreerBtn() const { return creerBtn_; }
  QPushButton* AddBtn() const { return addBtn_; }
  QPushButton* DelBtn() const { return delBtn_; }
  QPushButton* ModifBtn() const { return modifBtn_; }
  QPushButton* ExitBtn() const { return exitBtn_; }
  QPushButton* BuretteRS232Btn() const { return buretteBtn_; }
  QCheckBox* ListeAppRecentCB() const { return recentCB_; }

  // Closing by any way asks about unsaved changes first.
  void reject() override;

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  void Affiche();

  TCinetiqueMain& moteur_;
  TChoixConfigDlg modele_;
  TFenetreConfig* editeur_;
  TFenetreConfigSysam* editeurSysam_;
  bool maj_ = false;
  QListWidget* liste_;
  QPushButton *enregistreBtn_, *creerBtn_, *addBtn_, *delBtn_, *modifBtn_, *exitBtn_, *buretteBtn_;
  QCheckBox* recentCB_;
};
