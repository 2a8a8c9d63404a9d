// The test window's widgets.
#include "links/dialogs/fenetre_test.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "platform/dialogue.h"

TFenetreTest::TFenetreTest(TContexteEditeur& contexte, TConfigDlg& editeur, QWidget* parent)
    : QDialog(parent), modele_(contexte, editeur) {
  setWindowTitle(QString::fromUtf8(TTestDlg::Caption));
  auto* principal = new QVBoxLayout(this);
  memoTest_ = new QPlainTextEdit(this);
  memoTest_->setReadOnly(true);
  memoTest_->setMinimumSize(360, 240);
  principal->addWidget(memoTest_, 1);
  auto* boutons = new QHBoxLayout;
  mesureBtn_ = new QPushButton(QString::fromUtf8(TTestDlg::CaptionMesure), this);
  initBtn_ = new QPushButton(QString::fromUtf8(TTestDlg::CaptionInit), this);
  finBtn_ = new QPushButton(QString::fromUtf8(TTestDlg::CaptionFin), this);
  closeBtn_ = new QPushButton(QString::fromUtf8(TTestDlg::CaptionFermer), this);
  for (QPushButton* b : {mesureBtn_, initBtn_, finBtn_, closeBtn_}) {
    b->setAutoDefault(false);
    boutons->addWidget(b);
  }
  principal->addLayout(boutons);
  QObject::connect(mesureBtn_, &QPushButton::clicked, this, [this] {
    modele_.MesureBtnClick();
    Affiche();
  });
  QObject::connect(initBtn_, &QPushButton::clicked, this, [this] {
    modele_.InitBtnClick();
    Affiche();
  });
  QObject::connect(finBtn_, &QPushButton::clicked, this, [this] {
    modele_.FinBtnClick();
    Affiche();
  });
  QObject::connect(closeBtn_, &QPushButton::clicked, this, [this] { accept(); });
  modele_.Rafraichit = [this] { Affiche(); };
}

TFenetreTest::~TFenetreTest() { modele_.Rafraichit = nullptr; }

void TFenetreTest::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormActivate();
  Affiche();
}

void TFenetreTest::done(int resultat) {
  modele_.FormClose();
  QDialog::done(resultat);
}

void TFenetreTest::Affiche() {
  QStringList lignes;
  for (const auto& l : modele_.MemoTest) lignes << QString::fromStdString(l);
  memoTest_->setPlainText(lignes.join('\n'));
  memoTest_->verticalScrollBar()->setValue(memoTest_->verticalScrollBar()->maximum());
  mesureBtn_->setEnabled(modele_.MesureBtnEnabled);
  initBtn_->setVisible(modele_.InitBtnVisible);
  finBtn_->setVisible(modele_.FinBtnVisible);
}
