#include "dialogs/fenetre_choix_grandeur.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

TFenetreChoixGrandeur::TFenetreChoixGrandeur(TCinetiqueMain& moteur, TAdaptateurs& adaptateurs, QWidget* parent)
    : QDialog(parent), modele_(moteur, adaptateurs) {
  setWindowTitle(QString::fromUtf8(TChoixGrandeurDlg::Caption));
  setModal(true);
  setMinimumWidth(340);  // the caption shows whole in the title bar
  pHBtn_ = new QPushButton(QString::fromUtf8(TChoixGrandeurDlg::CaptionpH), this);
  tensionBtn_ = new QPushButton(QString::fromUtf8(TChoixGrandeurDlg::CaptionTension), this);
  pHBtn_->setDefault(true);
  auto* disposition = new QHBoxLayout(this);
  disposition->addWidget(pHBtn_);
  disposition->addWidget(tensionBtn_);
  connect(pHBtn_, &QPushButton::clicked, this, [this] {
    modele_.pHBtnClick();
    accept();
  });
  connect(tensionBtn_, &QPushButton::clicked, this, [this] {
    modele_.tensionBtnClick();
    accept();
  });
}

Tappareil* TFenetreChoixGrandeur::Choisit(const TMetreUSB& metre, int voie) {
  modele_.Prepare(metre, voie);
  pHBtn_->setFocus();
  exec();
  return modele_.Choisi;
}

void TFenetreChoixGrandeur::keyPressEvent(QKeyEvent* evenement) {
  // Escape is the potential button's, as a cancel button; only the close box cancels.
  if (evenement->key() == Qt::Key_Escape && evenement->modifiers() == Qt::NoModifier) {
    tensionBtn_->click();
    return;
  }
  QDialog::keyPressEvent(evenement);
}
