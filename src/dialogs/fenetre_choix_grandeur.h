// The quantity choice on screen: two buttons, Enter for pH, Escape for potential; the
// window's close box attaches nothing.
#pragma once

#include <QDialog>

#include "dialogs/choix_grandeur.h"

class QPushButton;

class TFenetreChoixGrandeur : public QDialog {
public:
  TFenetreChoixGrandeur(TCinetiqueMain& moteur, TAdaptateurs& adaptateurs, QWidget* parent = nullptr);

  TChoixGrandeurDlg& Modele() { return modele_; }
  // Shows the dialog modally for `metre` and channel `voie`: the definition attached, or null.
  Tappareil* Choisit(const TMetreUSB& metre, int voie);

  QPushButton* pHBtn() const { return pHBtn_; }
  QPushButton* tensionBtn() const { return tensionBtn_; }

protected:
  void keyPressEvent(QKeyEvent* evenement) override;

private:
  TChoixGrandeurDlg modele_;
  QPushButton* pHBtn_;
  QPushButton* tensionBtn_;
};
