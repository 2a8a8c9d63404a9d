// The acquisition mode dialog's widgets.
#include "dialogs/fenetre_balayage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "dialogs/widgets_dialogue.h"

TFenetreBalayage::TFenetreBalayage(TCinetiqueMain& moteur, QWidget* parent) : QDialog(parent), modele_(moteur) {
  setWindowTitle(EnQString(TBalayageDlg::Caption));
  auto* principal = new QVBoxLayout(this);

  modeAcqRG_ = new TGroupeRadio(EnQString(TBalayageDlg::CaptionModeAcqRG), TBalayageDlg::ColonnesModeAcqRG, this);
  std::vector<std::string> modes;
  for (int m = 0; m < NbreModesAcq; ++m) modes.push_back(TexteModeAcq(static_cast<TModeAcq>(m)));
  modeAcqRG_->SetItems(modes);
  modeAcqRG_->SurClic = [this](int index) {
    if (maj_) return;
    modele_.ModeAcqRGClick(index);
    Affiche();
  };
  principal->addWidget(modeAcqRG_);

  noteBook_ = new QStackedWidget(this);
  // Time base.
  {
    auto* page = new QWidget;
    auto* couche = new QVBoxLayout(page);
    auto* groupe = new QGroupBox(EnQString(TBalayageDlg::CaptionBalayage), page);
    auto* grille = new QGridLayout(groupe);
    deltatLabel_ = new QLabel(groupe);
    deltatSpin_ = new QSpinBox(groupe);
    deltatSpin_->setRange(1, 60);
    deltatSpin_->setKeyboardTracking(false);
    grille->addWidget(deltatLabel_, 0, 0);
    grille->addWidget(deltatSpin_, 0, 1);
    grille->addWidget(new QLabel(EnQString(TBalayageDlg::CaptionDureeTotale), groupe), 1, 0);
    auto* ligneDuree = new QHBoxLayout;
    duree_ = new QLineEdit(groupe);
    duree_->setMinimumWidth(90);
    dureeSB_ = new TBoutonsHautBas(Qt::Vertical, groupe);
    ligneDuree->addWidget(duree_);
    ligneDuree->addWidget(dureeSB_);
    ligneDuree->addStretch(1);
    grille->addLayout(ligneDuree, 1, 1);
    nombreLabel_ = new QLabel(groupe);
    grille->addWidget(nombreLabel_, 2, 0, 1, 2);
    grille->setColumnStretch(2, 1);
    couche->addWidget(groupe);
    couche->addStretch(1);
    noteBook_->addWidget(page);
    QObject::connect(deltatSpin_, &QSpinBox::valueChanged, this, [this](int v) {
      if (maj_) return;
      modele_.DeltatSpinChange(v);
      Affiche();
    });
    dureeSB_->SurHaut = [this] {
      modele_.DureeSBUpClick();
      Affiche();
    };
    dureeSB_->SurBas = [this] {
      modele_.DureeSBDownClick();
      Affiche();
    };
    FiltreFrappe(duree_, [this](char32_t& c) {
      modele_.Duree = EnTexte(duree_->text());
      const bool entree = c == 13;
      modele_.DureeKeyPress(c);
      if (entree) Affiche();
    });
    QObject::connect(duree_, &QLineEdit::editingFinished, this, [this] {
      if (maj_ || EnTexte(duree_->text()) == modele_.Duree) return;
      modele_.Duree = EnTexte(duree_->text());
      modele_.DureeExit();
      Affiche();
    });
  }
  // Space bar.
  {
    auto* page = new QWidget;
    auto* couche = new QVBoxLayout(page);
    couche->addWidget(new QLabel(EnQString(TBalayageDlg::TexteBarre), page));
    couche->addStretch(1);
    noteBook_->addWidget(page);
  }
  // Master channel.
  {
    auto* page = new QWidget;
    auto* couche = new QVBoxLayout(page);
    auto* memo = new QPlainTextEdit(page);
    memo->setReadOnly(true);
    memo->setPlainText(EnQString(std::string(TBalayageDlg::MemoMaitre[0]) + "\n" + TBalayageDlg::MemoMaitre[1]));
    memo->setMaximumHeight(56);
    couche->addWidget(memo);
    abscisseMaitreRG_ = new TGroupeRadio(EnQString(TBalayageDlg::CaptionAbscisse), 3, page);
    abscisseMaitreRG_->SetItems({TBalayageDlg::ItemsAbscisse.begin(), TBalayageDlg::ItemsAbscisse.end()});
    abscisseMaitreRG_->SurClic = [this](int index) { modele_.AbscisseMaitreRG = index; };
    couche->addWidget(abscisseMaitreRG_);
    auto* ligne = new QHBoxLayout;
    ligne->addWidget(new QLabel(EnQString(TBalayageDlg::CaptionBip), page));
    soundCB_ = new QComboBox(page);
    for (const char* s : TBalayageDlg::ItemsSound) soundCB_->addItem(EnQString(s));
    ligne->addWidget(soundCB_);
    soundBtn_ = new QPushButton("Écouter", page);
    ligne->addWidget(soundBtn_);
    ligne->addStretch(1);
    couche->addLayout(ligne);
    couche->addStretch(1);
    noteBook_->addWidget(page);
    QObject::connect(soundCB_, &QComboBox::activated, this, [this](int index) { modele_.SoundCBChange(index); });
    QObject::connect(soundBtn_, &QPushButton::clicked, this, [this] { modele_.SoundBtnClick(); });
  }
  // Keyboard entry.
  {
    auto* page = new QWidget;
    auto* couche = new QVBoxLayout(page);
    auto* groupe = new QGroupBox(EnQString(TBalayageDlg::CaptionGrandeur), page);
    auto* formulaire = new QFormLayout(groupe);
    editNom_ = new QLineEdit(groupe);
    editUnite_ = new QLineEdit(groupe);
    editMin_ = new QLineEdit(groupe);
    editMax_ = new QLineEdit(groupe);
    formulaire->addRow(EnQString(TBalayageDlg::CaptionNom), editNom_);
    formulaire->addRow(EnQString(TBalayageDlg::CaptionUnite), editUnite_);
    formulaire->addRow(EnQString(TBalayageDlg::CaptionMini), editMin_);
    formulaire->addRow(EnQString(TBalayageDlg::CaptionMaxi), editMax_);
    couche->addWidget(groupe);
    couche->addStretch(1);
    noteBook_->addWidget(page);
    QObject::connect(editNom_, &QLineEdit::textChanged, this, [this](const QString& t) { modele_.EditNom = EnTexte(t); });
    QObject::connect(editUnite_, &QLineEdit::textChanged, this, [this](const QString& t) { modele_.EditUnite = EnTexte(t); });
    QObject::connect(editMin_, &QLineEdit::textChanged, this, [this](const QString& t) { modele_.EditMin = EnTexte(t); });
    QObject::connect(editMax_, &QLineEdit::textChanged, this, [this](const QString& t) { modele_.EditMax = EnTexte(t); });
  }
  // Titration.
  {
    auto* page = new QWidget;
    auto* couche = new QVBoxLayout(page);
    auto* ligne = new QHBoxLayout;
    testBuretteBtn_ = new QPushButton(EnQString(TBalayageDlg::CaptionTest), page);
    testBuretteLabel_ = new QLabel(page);
    testBuretteLabel_->setWordWrap(true);
    ligne->addWidget(testBuretteBtn_);
    ligne->addWidget(testBuretteLabel_, 1);
    couche->addLayout(ligne);
    configBuretteBtn_ = new QPushButton(EnQString(TBalayageDlg::CaptionConfigBurette), page);
    PoseIndice(configBuretteBtn_, TBalayageDlg::HintConfigBurette);
    couche->addWidget(configBuretteBtn_, 0, Qt::AlignLeft);
    comPorts_ = new TGroupeRadio(EnQString(TBalayageDlg::CaptionPortsBurette), TBalayageDlg::ColonnesPortsBurette, page);
    comPorts_->SurClic = [this](int index) {
      modele_.ComPortsBuretteRS232.itemIndex = index;
      modele_.ModificationClick();
    };
    couche->addWidget(comPorts_);
    couche->addStretch(1);
    noteBook_->addWidget(page);
    QObject::connect(testBuretteBtn_, &QPushButton::clicked, this, [this] { modele_.TestBuretteBtnClick(); });
    QObject::connect(configBuretteBtn_, &QPushButton::clicked, this, [this] { modele_.configBuretteBtnClick(); });
  }
  principal->addWidget(noteBook_, 1);

  traceCB_ = new QCheckBox(EnQString(TBalayageDlg::CaptionTraceCB), this);
  QObject::connect(traceCB_, &QCheckBox::toggled, this, [this](bool coche) {
    if (!maj_) modele_.TraceCB = coche;
  });
  principal->addWidget(traceCB_);

  auto* boutons = new QHBoxLayout;
  helpBtn_ = new QPushButton("Aide", this);
  boutons->addWidget(helpBtn_);
  boutons->addStretch(1);
  okBtn_ = new QPushButton("OK", this);
  cancelBtn_ = new QPushButton("Annuler", this);
  for (QPushButton* b : {okBtn_, cancelBtn_, helpBtn_}) b->setAutoDefault(false);
  boutons->addWidget(okBtn_);
  boutons->addWidget(cancelBtn_);
  principal->addLayout(boutons);
  QObject::connect(helpBtn_, &QPushButton::clicked, this, [this] { modele_.HelpBtnClick(); });
  QObject::connect(okBtn_, &QPushButton::clicked, this, [this] {
    modele_.Duree = EnTexte(duree_->text());
    if (modele_.OKBtnClick()) accept();
    else Affiche();
  });
  QObject::connect(cancelBtn_, &QPushButton::clicked, this, [this] { reject(); });

  modele_.Change = [this] {
    Affiche();
    // A test on the burette's port takes seconds: the dialog shows its progress.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  modele_.FormCreate();
  resize(640, 470);
}

void TFenetreBalayage::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormActivate();
  Affiche();
}

void TFenetreBalayage::done(int resultat) {
  modele_.FormClose();
  QDialog::done(resultat);
}

void TFenetreBalayage::Affiche() {
  if (maj_) return;
  maj_ = true;
  modeAcqRG_->SetIndex(modele_.ModeAcqRG);
  noteBook_->setCurrentIndex(modele_.NoteBookPage);
  deltatLabel_->setText(EnQString(modele_.DeltatLabel));
  deltatSpin_->setRange(modele_.DeltatSpinMin, modele_.DeltatSpinMax);
  deltatSpin_->setValue(modele_.DeltatSpin);
  if (EnTexte(duree_->text()) != modele_.Duree) duree_->setText(EnQString(modele_.Duree));
  nombreLabel_->setText(EnQString(modele_.NombreLabel));
  abscisseMaitreRG_->SetIndex(modele_.AbscisseMaitreRG);
  soundCB_->setCurrentIndex(modele_.SoundCB);
  if (EnTexte(editNom_->text()) != modele_.EditNom) editNom_->setText(EnQString(modele_.EditNom));
  if (EnTexte(editUnite_->text()) != modele_.EditUnite) editUnite_->setText(EnQString(modele_.EditUnite));
  if (EnTexte(editMin_->text()) != modele_.EditMin) editMin_->setText(EnQString(modele_.EditMin));
  if (EnTexte(editMax_->text()) != modele_.EditMax) editMax_->setText(EnQString(modele_.EditMax));
  testBuretteLabel_->setText(EnQString(modele_.TestBuretteLabel));
  testBuretteBtn_->setEnabled(modele_.TestBuretteBtnEnabled);
  if (portsAffiches_ != modele_.ComPortsBuretteRS232.items) {
    comPorts_->SetItems(modele_.ComPortsBuretteRS232.items);
    portsAffiches_ = modele_.ComPortsBuretteRS232.items;
  }
  comPorts_->setTitle(modele_.ComPortsBuretteRS232.items.empty() ? EnQString(modele_.ComPortsBuretteRS232.caption)
                                                                  : EnQString(TBalayageDlg::CaptionPortsBurette));
  comPorts_->SetIndex(modele_.ComPortsBuretteRS232.itemIndex);
  traceCB_->setChecked(modele_.TraceCB);
  maj_ = false;
}
