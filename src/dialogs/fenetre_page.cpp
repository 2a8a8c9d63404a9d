// The page information dialog's widgets.
#include "dialogs/fenetre_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/widgets_dialogue.h"

TFenetrePage::TFenetrePage(TPageInfo& page, QWidget* parent) : QDialog(parent), modele_(page) {
  auto* principal = new QVBoxLayout(this);
  auto* parametres = new QGroupBox(EnQString(TPageDlg::GroupeParametres), this);
  auto* grille = new QGridLayout(parametres);
  grille->addWidget(new QLabel(EnQString(TPageDlg::ColonneSymbole), parametres), 0, 0);
  grille->addWidget(new QLabel(EnQString(TPageDlg::ColonneUnite), parametres), 0, 1);
  grille->addWidget(new QLabel(EnQString(TPageDlg::ColonneValeur), parametres), 0, 2);
  auto champ = [parametres](int largeur) {
    auto* e = new QLineEdit(parametres);
    e->setMinimumWidth(largeur);
    return e;
  };
  editNom1_ = champ(80);
  editUnite1_ = champ(80);
  editValeur1_ = champ(120);
  editNom2_ = champ(80);
  editUnite2_ = champ(80);
  editValeur2_ = champ(120);
  for (QLineEdit* e : {editNom1_, editNom2_}) e->setMaxLength(static_cast<int>(TPageDlg::LongueurSymboleMaxi));
  grille->addWidget(editNom1_, 1, 0);
  grille->addWidget(editUnite1_, 1, 1);
  grille->addWidget(editValeur1_, 1, 2);
  grille->addWidget(editNom2_, 2, 0);
  grille->addWidget(editUnite2_, 2, 1);
  grille->addWidget(editValeur2_, 2, 2);
  principal->addWidget(parametres);

  auto* commentaire = new QGroupBox(EnQString(TPageDlg::GroupeCommentaire), this);
  auto* c = new QVBoxLayout(commentaire);
  memo_ = new QPlainTextEdit(commentaire);
  memo_->setMinimumHeight(90);
  c->addWidget(memo_);
  principal->addWidget(commentaire, 1);

  newPageCB_ = new TGroupeRadio(EnQString(TPageDlg::GroupeNewPage), TPageDlg::ColonnesNewPage, this);
  newPageCB_->SetItems({TPageDlg::ItemsNewPage.begin(), TPageDlg::ItemsNewPage.end()});
  newPageCB_->SurClic = [this](int index) { modele_.NewPageCB = index; };
  principal->addWidget(newPageCB_);

  auto* boutons = new QHBoxLayout;
  boutons->addStretch(1);
  okBtn_ = new QPushButton(this);
  cancelBtn_ = new QPushButton(EnQString(TPageDlg::CaptionAnnuler), this);
  okBtn_->setDefault(true);
  boutons->addWidget(okBtn_);
  boutons->addWidget(cancelBtn_);
  principal->addLayout(boutons);
  QObject::connect(okBtn_, &QPushButton::clicked, this, [this] {
    Lit();
    modele_.OKBtnClick();
    Affiche();
    accept();
  });
  // Texts typed before cancelling stay in the fields.
  QObject::connect(cancelBtn_, &QPushButton::clicked, this, [this] {
    Lit();
    reject();
  });
  resize(470, 380);
}

void TFenetrePage::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  Affiche();
}

void TFenetrePage::Lit() {
  modele_.SetEditNom(1, EnTexte(editNom1_->text()));
  modele_.SetEditUnite(1, EnTexte(editUnite1_->text()));
  modele_.SetEditValeur(1, EnTexte(editValeur1_->text()));
  modele_.SetEditNom(2, EnTexte(editNom2_->text()));
  modele_.SetEditUnite(2, EnTexte(editUnite2_->text()));
  modele_.SetEditValeur(2, EnTexte(editValeur2_->text()));
  modele_.SetMemo(EnTexte(memo_->toPlainText()));
}

void TFenetrePage::Affiche() {
  setWindowTitle(EnQString(modele_.Caption));
  okBtn_->setText(EnQString(modele_.OKBtnCaption));
  editNom1_->setText(EnQString(modele_.Constante(1).nom));
  editUnite1_->setText(EnQString(modele_.Constante(1).unite));
  editValeur1_->setText(EnQString(modele_.Constante(1).valeur));
  editNom2_->setText(EnQString(modele_.Constante(2).nom));
  editUnite2_->setText(EnQString(modele_.Constante(2).unite));
  editValeur2_->setText(EnQString(modele_.Constante(2).valeur));
  QString memo = EnQString(modele_.TexteMemo());
  memo.replace("\r\n", "\n");
  if (memo_->toPlainText() != memo) memo_->setPlainText(memo);
  newPageCB_->setVisible(modele_.NewPageCBVisible);
  newPageCB_->SetIndex(modele_.NewPageCB);
}
