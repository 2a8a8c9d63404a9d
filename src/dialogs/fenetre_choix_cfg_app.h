// The add-from-file dialog on screen, bound to the TChoixCfgAppDlg model.
#pragma once

#include <QDialog>

#include "dialogs/choix_cfg_app.h"

class QComboBox;
class QPushButton;

class TFenetreChoixCfgApp : public QDialog {
public:
  TFenetreChoixCfgApp(TBaseAppareils& base, TDialogueUtilisateur& dialogue, QWidget* parent = nullptr);

  TChoixCfgAppDlg& Modele() { return modele_; }
  QComboBox* GrandeurCombo() const { return grandeurCombo_; }
  QComboBox* ListeAppareilCombo() const { return listeAppareilCombo_; }
  QPushButton* AddBtn() const { return addBtn_; }
  QPushButton* OpenBtn() const { return openBtn_; }
  QPushButton* CloseBtn() const { return closeBtn_; }

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  void Affiche();

  TChoixCfgAppDlg modele_;
  bool maj_ = false;
  QComboBox *grandeurCombo_, *listeAppareilCombo_;
  QPushButton *addBtn_, *openBtn_, *closeBtn_;
};
