// The USB test window on screen: widgets bound to the TTestOrigalysDlg model, made
// for one showing on one USB meter channel.
#pragma once

#include <QDialog>

#include "dialogs/test_origalys.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TFenetreTestOrigalys : public QDialog {
public:
  TFenetreTestOrigalys(TOrigalys* liste, Tappareil& appareil, QWidget* parent = nullptr);
  ~TFenetreTestOrigalys() override;

  TTestOrigalysDlg& Modele() { return modele_; }

  QPlainTextEdit* MemoTest() const { return memoTest_; }
  QLineEdit* Edit1() const { return edit1_; }
  QPushButton* EnvoiBtn() const { return envoiBtn_; }
  QPushButton* MesureBtn() const { return mesureBtn_; }

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  void Affiche();

  TTestOrigalysDlg modele_;
  QPlainTextEdit* memoTest_;
  QLineEdit* edit1_;
  QPushButton* envoiBtn_;
  QPushButton* mesureBtn_;
};
