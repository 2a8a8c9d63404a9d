// The test window on screen: the log of one exchange with the instrument being edited.
#pragma once

#include <QDialog>

#include "links/dialogs/test_dlg.h"

class QPlainTextEdit;
class QPushButton;

class TFenetreTest : public QDialog {
public:
  TFenetreTest(TContexteEditeur& contexte, TConfigDlg& editeur, QWidget* parent = nullptr);
  ~TFenetreTest() override;

  TTestDlg& Modele() { return modele_; }
  QPlainTextEdit* MemoTest() const { return memoTest_; }
  QPushButton* MesureBtn() const { return mesureBtn_; }
  QPushButton* InitBtn() const { return initBtn_; }
  QPushButton* FinBtn() const { return finBtn_; }
  QPushButton* CloseBtn() const { return closeBtn_; }

  void done(int resultat) override;

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  void Affiche();

  TTestDlg modele_;
  QPlainTextEdit* memoTest_;
  QPushButton *mesureBtn_, *initBtn_, *finBtn_, *closeBtn_;
};
