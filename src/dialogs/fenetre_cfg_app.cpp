// The channel configuration dialog's widgets.
#include "dialogs/fenetre_cfg_app.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "dialogs/widgets_dialogue.h"
#include "dialogs/fenetre_terminal.h"
#include "dialogs/fenetre_test_origalys.h"
#include "util/nombres.h"

TFenetreCfgApp::TFenetreCfgApp(TCinetiqueMain& moteur, TOrigalys* listeUSB, QWidget* parent)
    : QDialog(parent), moteur_(moteur), listeUSB_(listeUSB), modele_(moteur) {
  setWindowTitle(EnQString(TCfgAppDlg::Caption));
  auto* principal = new QVBoxLayout(this);
  auto* haut = new QHBoxLayout;

  grandeurGB_ = new QGroupBox(EnQString(TCfgAppDlg::CaptionGrandeurGB), this);
  auto* g = new QGridLayout(grandeurGB_);
  auto champ = [&](const char* libelle, int ligne) {
    auto* e = new QLineEdit(grandeurGB_);
    g->addWidget(new QLabel(EnQString(libelle), grandeurGB_), ligne, 0);
    g->addWidget(e, ligne, 1);
    return e;
  };
  grandeurEdit_ = champ(TCfgAppDlg::CaptionGrandeur, 0);
  grandeurEdit_->setReadOnly(true);
  editNom_ = champ(TCfgAppDlg::CaptionNom, 1);
  editNom_->setMaxLength(TCfgAppDlg::LongueurNom);
  editUnite_ = champ(TCfgAppDlg::CaptionUnite, 2);
  editMin_ = champ(TCfgAppDlg::CaptionMin, 3);
  editMax_ = champ(TCfgAppDlg::CaptionMax, 4);
  for (QLineEdit* e : {editMin_, editMax_}) FiltreFrappe(e, [](char32_t& c) { FiltreToucheNombre(c); });
  depassementCB_ = new QCheckBox(EnQString(TCfgAppDlg::CaptionDepassement), grandeurGB_);
  PoseIndice(depassementCB_, TCfgAppDlg::IndiceDepassement);
  g->addWidget(depassementCB_, 5, 0, 1, 2);
  haut->addWidget(grandeurGB_, 1);

  comports_ = new TGroupeRadio(EnQString(TCfgAppDlg::CaptionPorts), 2, this);
  comports_->SurClic = [this](int index) { modele_.Comports.itemIndex = index; };
  haut->addWidget(comports_, 1, Qt::AlignTop);
  principal->addLayout(haut);

  memoAide_ = new QPlainTextEdit(this);
  memoAide_->setReadOnly(true);
  memoAide_->setMinimumHeight(80);
  principal->addWidget(memoAide_, 1);

  auto* actions = new QHBoxLayout;
  initBtn_ = new QPushButton(EnQString(TCfgAppDlg::CaptionInit), this);
  finBtn_ = new QPushButton(EnQString(TCfgAppDlg::CaptionFin), this);
  piloteBtn_ = new QPushButton(EnQString(TCfgAppDlg::CaptionPilote), this);
  actions->addWidget(initBtn_);
  actions->addWidget(finBtn_);
  actions->addWidget(piloteBtn_);
  actions->addStretch(1);
  principal->addLayout(actions);

  auto* boutons = new QHBoxLayout;
  helpBtn_ = new QPushButton(EnQString(TCfgAppDlg::CaptionAide), this);
  boutons->addWidget(helpBtn_);
  boutons->addStretch(1);
  okBtn_ = new QPushButton("OK", this);
  cancelBtn_ = new QPushButton("Annuler", this);
  boutons->addWidget(okBtn_);
  boutons->addWidget(cancelBtn_);
  principal->addLayout(boutons);
  for (QPushButton* b : {initBtn_, finBtn_, piloteBtn_, okBtn_, cancelBtn_, helpBtn_}) b->setAutoDefault(false);
  okBtn_->setDefault(true);

  QObject::connect(initBtn_, &QPushButton::clicked, this, [this] { modele_.InitBtnClick(); });
  QObject::connect(finBtn_, &QPushButton::clicked, this, [this] { modele_.FinBtnClick(); });
  QObject::connect(piloteBtn_, &QPushButton::clicked, this, [this] { modele_.PiloteBtnClick(); });
  QObject::connect(helpBtn_, &QPushButton::clicked, this, [this] { modele_.HelpBtnClick(); });
  QObject::connect(cancelBtn_, &QPushButton::clicked, this, [this] { reject(); });
  QObject::connect(okBtn_, &QPushButton::clicked, this, [this] {
    Lit();
    if (modele_.OKBtnClick()) accept();
    else reject();
  });
  modele_.OuvreTerminal = [this](int voie) {
    TFenetreTerminal terminal(moteur_, voie, this);
    terminal.Modele().Aide = modele_.Aide;
    terminal.exec();
  };
  modele_.OuvreTestUSB = [this](Tappareil& appareil) {
    TFenetreTestOrigalys test(listeUSB_, appareil, this);
    test.exec();
  };
  resize(520, 380);
}

TFenetreCfgApp::~TFenetreCfgApp() = default;

void TFenetreCfgApp::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormActivate();
  Affiche();
}

void TFenetreCfgApp::Lit() {
  modele_.EditNom = EnTexte(editNom_->text());
  modele_.EditUnite = EnTexte(editUnite_->text());
  modele_.EditMin = EnTexte(editMin_->text());
  modele_.EditMax = EnTexte(editMax_->text());
  modele_.DepassementCB = depassementCB_->isChecked();
  modele_.Comports.itemIndex = comports_->Index() >= 0 ? comports_->Index() : modele_.Comports.itemIndex;
}

void TFenetreCfgApp::Affiche() {
  setWindowTitle(EnQString(modele_.caption));
  grandeurEdit_->setText(EnQString(modele_.GrandeurEdit));
  editNom_->setText(EnQString(modele_.EditNom));
  editUnite_->setText(EnQString(modele_.EditUnite));
  editMin_->setText(EnQString(modele_.EditMin));
  editMax_->setText(EnQString(modele_.EditMax));
  depassementCB_->setChecked(modele_.DepassementCB);
  RemplitGroupe(comports_, modele_.Comports);
  QStringList lignes;
  for (const auto& l : modele_.MemoAide) lignes << EnQString(l);
  memoAide_->setPlainText(lignes.join('\n'));
  memoAide_->moveCursor(QTextCursor::Start);
  initBtn_->setVisible(modele_.InitBtnVisible);
  finBtn_->setVisible(modele_.FinBtnVisible);
}
