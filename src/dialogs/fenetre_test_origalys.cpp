// The USB test window's widgets.
#include "dialogs/fenetre_test_origalys.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/widgets_dialogue.h"

TFenetreTestOrigalys::TFenetreTestOrigalys(TOrigalys* liste, Tappareil& appareil, QWidget* parent)
    : QDialog(parent), modele_(liste) {
  modele_.Appareil = &appareil;
  setWindowTitle(EnQString(TTestOrigalysDlg::Caption));
  auto* principal = new QVBoxLayout(this);
  memoTest_ = new QPlainTextEdit(this);
  memoTest_->setReadOnly(true);
  memoTest_->setMinimumHeight(200);
  principal->addWidget(memoTest_, 1);
  auto* ligne = new QHBoxLayout;
  edit1_ = new QLineEdit(this);
  ligne->addWidget(edit1_, 1);
  envoiBtn_ = new QPushButton(EnQString(TTestOrigalysDlg::CaptionEnvoi), this);
  mesureBtn_ = new QPushButton(EnQString(TTestOrigalysDlg::CaptionMesure), this);
  for (QPushButton* b : {envoiBtn_, mesureBtn_}) {
    b->setAutoDefault(false);
    ligne->addWidget(b);
  }
  principal->addLayout(ligne);
  QObject::connect(envoiBtn_, &QPushButton::clicked, this, [this] {
    modele_.Edit1 = EnTexte(edit1_->text());
    modele_.EnvoiBtnClick();
    Affiche();
  });
  QObject::connect(mesureBtn_, &QPushButton::clicked, this, [this] {
    modele_.MesureBtnClick();
    Affiche();
  });
  modele_.SurLigne = [this](const std::string& l) { memoTest_->appendPlainText(EnQString(l)); };
  resize(420, 320);
}

TFenetreTestOrigalys::~TFenetreTestOrigalys() = default;

void TFenetreTestOrigalys::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  memoTest_->clear();
  modele_.FormActivate();
  Affiche();
}

void TFenetreTestOrigalys::Affiche() {
  envoiBtn_->setEnabled(modele_.EnvoiBtnEnabled);
  mesureBtn_->setEnabled(modele_.MesureBtnEnabled);
}
