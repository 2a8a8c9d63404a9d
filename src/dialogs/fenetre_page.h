// The page information dialog on screen: widgets bound to the TPageDlg model (the
// engine's page information). Created at start-up; it keeps its contents.
#pragma once

#include <QDialog>

#include "core/page_dialogue.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TGroupeRadio;

class TFenetrePage : public QDialog {
public:
  explicit TFenetrePage(TPageInfo& page, QWidget* parent = nullptr);

  TPageDlg& Modele() { return modele_; }

  QLineEdit* EditNom(int rang) const { return rang == 2 ? editNom2_ : editNom1_; }
  QLineEdit* EditUnite(int rang) const { return rang == 2 ? editUnite2_ : editUnite1_; }
  QLineEdit* EditValeur(int rang) const { return rang == 2 ? editValeur2_ : editValeur1_; }
  QPlainTextEdit* Memo() const { return memo_; }
  TGroupeRadio* NewPageCB() const { return newPageCB_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  void Affiche();
  void Lit();

  TPageDlg modele_;
  QLineEdit* editNom1_;
  QLineEdit* editUnite1_;
  QLineEdit* editValeur1_;
  QLineEdit* editNom2_;
  QLineEdit* editUnite2_;
  QLineEdit* editValeur2_;
  QPlainTextEdit* memo_;
  TGroupeRadio* newPageCB_;
  QPushButton* okBtn_;
  QPushButton* cancelBtn_;
};
