// The burette settings dialog's widgets.
#include "dialogs/fenetre_burette.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs/widgets_dialogue.h"

namespace {
QComboBox* ChoixPrefixe(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  // A fixed list: nothing can be typed in it.
  combo->setEditable(false);
  for (const char* p : TBuretteRS232Dlg::Prefixes) combo->addItem(EnQString(p));
  combo->setMinimumWidth(48);
  return combo;
}

QSpinBox* Champ(QWidget* parent, const char* suffixe) {
  auto* spin = new QSpinBox(parent);
  spin->setSuffix(QString(" ") + QString::fromUtf8(suffixe));
  spin->setKeyboardTracking(false);
  spin->setMinimumWidth(90);
  spin->setMaximumWidth(110);
  return spin;
}

void Applique(QSpinBox* spin, const TChampEntier& champ) {
  spin->setRange(champ.mini, champ.maxi);
  spin->setValue(champ.valeur);
}
}  // namespace

TFenetreBurette::TFenetreBurette(TCinetiqueMain& moteur, Tappareil* appareil, QWidget* parent)
    : QDialog(parent), modele_(moteur) {
  modele_.appareil = appareil;
  setWindowTitle(EnQString(TBuretteRS232Dlg::Caption));
  auto* principal = new QVBoxLayout(this);

  auto* haut = new QGridLayout;
  haut->addWidget(new QLabel(EnQString(TBuretteRS232Dlg::CaptionSymbole), this), 0, 0);
  nomEdit_ = new QLineEdit(this);
  nomEdit_->setMaxLength(static_cast<int>(TBuretteRS232Dlg::LongueurSymboleMaxi));
  nomEdit_->setMaximumWidth(110);
  haut->addWidget(nomEdit_, 0, 1);
  haut->addWidget(new QLabel(EnQString(TBuretteRS232Dlg::CaptionUniteVolume), this), 0, 2);
  modeIncrementCB_ = new QCheckBox(EnQString(TBuretteRS232Dlg::CaptionModeIncrement), this);
  haut->addWidget(modeIncrementCB_, 1, 0, 1, 3);
  deltaVLabel_ = new QLabel(EnQString(TBuretteRS232Dlg::CaptionDeltaV), this);
  deltaVedit_ = new QLineEdit(this);
  deltaVedit_->setMinimumWidth(90);
  deltaVedit_->setMaximumWidth(110);
  deltaVUnite_ = new QLabel("mL", this);
  haut->addWidget(deltaVLabel_, 2, 0);
  haut->addWidget(deltaVedit_, 2, 1);
  haut->addWidget(deltaVUnite_, 2, 2);
  haut->setColumnStretch(3, 1);
  principal->addLayout(haut);
  QObject::connect(modeIncrementCB_, &QCheckBox::toggled, this, [this](bool coche) {
    if (maj_) return;
    Lit();
    modele_.modeIncrementCBClick(coche);
    Affiche();
  });

  auto* sensible = new QGroupBox(EnQString(TBuretteRS232Dlg::CaptionSensible), this);
  auto* gs = new QGridLayout(sensible);
  vminiSE_ = Champ(sensible, "µL");
  vmaxiSE_ = Champ(sensible, "µL");
  gs->addWidget(new QLabel(EnQString(TBuretteRS232Dlg::CaptionVmini), sensible), 0, 0);
  gs->addWidget(vminiSE_, 0, 1);
  gs->addWidget(new QLabel(EnQString(TBuretteRS232Dlg::CaptionVmaxi), sensible), 1, 0);
  gs->addWidget(vmaxiSE_, 1, 1);
  gs->addWidget(new QLabel(EnQString(TBuretteRS232Dlg::CaptionEcartSensible), sensible), 2, 0);
  auto* ligneS = new QHBoxLayout;
  sensibleEdit_ = new QLineEdit(sensible);
  sensibleEdit_->setMinimumWidth(90);
  sensibleEdit_->setMaximumWidth(110);
  prefixeSensibleCB_ = ChoixPrefixe(sensible);
  uniteLabel1_ = new QLabel(sensible);
  uniteLabel1_->setMinimumWidth(40);
  ligneS->addWidget(sensibleEdit_);
  ligneS->addWidget(prefixeSensibleCB_);
  ligneS->addWidget(uniteLabel1_);
  ligneS->addStretch(1);
  gs->addLayout(ligneS, 2, 1);
  gs->setColumnStretch(1, 1);
  principal->addWidget(sensible);

  auto* stable = new QGroupBox(EnQString(TBuretteRS232Dlg::CaptionStable), this);
  auto* gt = new QGridLayout(stable);
  tMiniSE_ = Champ(stable, "s");
  tmaxiSE_ = Champ(stable, "s");
  gt->addWidget(new QLabel(EnQString(TBuretteRS232Dlg::CaptionTmini), stable), 0, 0);
  gt->addWidget(tMiniSE_, 0, 1);
  gt->addWidget(new QLabel(EnQString(TBuretteRS232Dlg::CaptionTmaxi), stable), 1, 0);
  gt->addWidget(tmaxiSE_, 1, 1);
  auto* libelleStable = new QLabel(EnQString(TBuretteRS232Dlg::CaptionEcartStable), stable);
  gt->addWidget(libelleStable, 2, 0);
  auto* ligneT = new QHBoxLayout;
  stableEdit_ = new QLineEdit(stable);
  stableEdit_->setMinimumWidth(90);
  stableEdit_->setMaximumWidth(110);
  prefixeStableCB_ = ChoixPrefixe(stable);
  uniteLabel2_ = new QLabel(stable);
  uniteLabel2_->setMinimumWidth(40);
  ligneT->addWidget(stableEdit_);
  ligneT->addWidget(prefixeStableCB_);
  ligneT->addWidget(uniteLabel2_);
  ligneT->addStretch(1);
  gt->addLayout(ligneT, 2, 1);
  gt->setColumnStretch(1, 1);
  principal->addWidget(stable);
  QObject::connect(tmaxiSE_, &QSpinBox::valueChanged, this, [this](int v) {
    if (maj_) return;
    Lit();
    modele_.TmaxiSEChange(v);
    Affiche();
  });
  QObject::connect(tMiniSE_, &QSpinBox::valueChanged, this, [this](int v) {
    if (maj_) return;
    Lit();
    modele_.TMiniSEChange(v);
    Affiche();
  });

  auto* boutons = new QHBoxLayout;
  helpBtn_ = new QPushButton(EnQString(TBuretteRS232Dlg::CaptionAide), this);
  boutons->addWidget(helpBtn_);
  boutons->addStretch(1);
  okBtn_ = new QPushButton(EnQString(TBuretteRS232Dlg::CaptionOK), this);
  cancelBtn_ = new QPushButton(EnQString(TBuretteRS232Dlg::CaptionAbandon), this);
  for (QPushButton* b : {okBtn_, cancelBtn_, helpBtn_}) b->setAutoDefault(false);
  okBtn_->setDefault(true);
  boutons->addWidget(okBtn_);
  boutons->addWidget(cancelBtn_);
  principal->addLayout(boutons);
  QObject::connect(helpBtn_, &QPushButton::clicked, this, [this] { modele_.HelpBtnClick(); });
  QObject::connect(cancelBtn_, &QPushButton::clicked, this, [this] { reject(); });
  QObject::connect(okBtn_, &QPushButton::clicked, this, [this] {
    Lit();
    if (modele_.OKBtnClick()) {
      accept();
      return;
    }
    QLineEdit* fautif = modele_.Focus == "DeltaVedit"     ? deltaVedit_
                        : modele_.Focus == "SensibleEdit" ? sensibleEdit_
                                                          : stableEdit_;
    fautif->setFocus();
    fautif->selectAll();
  });
}

void TFenetreBurette::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormActivate();
  Affiche();
}

void TFenetreBurette::Lit() {
  modele_.SetNomEdit(EnTexte(nomEdit_->text()));
  modele_.modeIncrementCB = modeIncrementCB_->isChecked();
  modele_.DeltaVedit = EnTexte(deltaVedit_->text());
  modele_.VminiSE.Set(vminiSE_->value());
  modele_.vmaxiSE.Set(vmaxiSE_->value());
  modele_.SensibleEdit = EnTexte(sensibleEdit_->text());
  modele_.SetPrefixeSensible(prefixeSensibleCB_->currentIndex());
  modele_.TMiniSE.Set(tMiniSE_->value());
  modele_.TmaxiSE.Set(tmaxiSE_->value());
  modele_.StableEdit = EnTexte(stableEdit_->text());
  modele_.SetPrefixeStable(prefixeStableCB_->currentIndex());
}

void TFenetreBurette::Affiche() {
  maj_ = true;
  nomEdit_->setText(EnQString(modele_.NomEdit));
  modeIncrementCB_->setChecked(modele_.modeIncrementCB);
  deltaVedit_->setText(EnQString(modele_.DeltaVedit));
  for (QWidget* w : {static_cast<QWidget*>(deltaVLabel_), static_cast<QWidget*>(deltaVedit_), static_cast<QWidget*>(deltaVUnite_)})
    w->setVisible(modele_.DeltaVeditVisible);
  Applique(vminiSE_, modele_.VminiSE);
  Applique(vmaxiSE_, modele_.vmaxiSE);
  sensibleEdit_->setText(EnQString(modele_.SensibleEdit));
  prefixeSensibleCB_->setCurrentIndex(modele_.prefixeSensibleCB);
  uniteLabel1_->setText(EnQString(modele_.UniteLabel1));
  Applique(tMiniSE_, modele_.TMiniSE);
  Applique(tmaxiSE_, modele_.TmaxiSE);
  stableEdit_->setText(EnQString(modele_.StableEdit));
  prefixeStableCB_->setCurrentIndex(modele_.prefixeStableCB);
  uniteLabel2_->setText(EnQString(modele_.UniteLabel2));
  maj_ = false;
}
