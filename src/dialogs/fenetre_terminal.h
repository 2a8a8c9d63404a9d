// The terminal on screen: widgets bound to the TTerminalForm model, made for one
// showing on one channel.
#pragma once

#include <QDialog>

#include "dialogs/terminal.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TFenetreTerminal : public QDialog {
public:
  TFenetreTerminal(TCinetiqueMain& moteur, int voie, QWidget* parent = nullptr);
  ~TFenetreTerminal() override;

  TTerminalForm& Modele() { return modele_; }

  QPlainTextEdit* MemoAide() const { return memoAide_; }
  QPlainTextEdit* Memo1() const { return memo1_; }
  QLineEdit* OrdreEdit() const { return ordreEdit_; }
  QPushButton* Envoi() const { return envoi_; }
  QPushButton* EnvoiCR() const { return envoiCR_; }
  QPushButton* EnvoiCRLF() const { return envoiCRLF_; }
  QPushButton* ClearBtn() const { return clearBtn_; }
  QPushButton* CloseBtn() const { return closeBtn_; }
  QPushButton* AideBtn() const { return aideBtn_; }

  void done(int resultat) override;

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  TTerminalForm modele_;
  QPlainTextEdit* memoAide_;
  QPlainTextEdit* memo1_;
  QLineEdit* ordreEdit_;
  QPushButton* envoi_;
  QPushButton* envoiCR_;
  QPushButton* envoiCRLF_;
  QPushButton* clearBtn_;
  QPushButton* closeBtn_;
  QPushButton* aideBtn_;
};
