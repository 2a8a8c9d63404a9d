// The add-from-file dialog's widgets.
#include "dialogs/fenetre_choix_cfg_app.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/widgets_dialogue.h"

namespace {
void Remplit(QComboBox* combo, const std::vector<std::string>& items, int index, bool actif) {
  combo->clear();
  for (const auto& t : items) combo->addItem(EnQString(t));
  combo->setCurrentIndex(index);
  combo->setEnabled(actif);
}
}  // namespace

TFenetreChoixCfgApp::TFenetreChoixCfgApp(TBaseAppareils& base, TDialogueUtilisateur& dialogue, QWidget* parent)
    : QDialog(parent), modele_(base, dialogue) {
  setWindowTitle(EnQString(TChoixCfgAppDlg::Caption));
  auto* principal = new QVBoxLayout(this);
  auto* grandeur = new QGroupBox(EnQString(TChoixCfgAppDlg::CaptionGrandeur), this);
  grandeurCombo_ = new QComboBox(grandeur);
  grandeurCombo_->setEditable(false);
  (new QHBoxLayout(grandeur))->addWidget(grandeurCombo_);
  principal->addWidget(grandeur);
  auto* appareil = new QGroupBox(EnQString(TChoixCfgAppDlg::CaptionAppareil), this);
  listeAppareilCombo_ = new QComboBox(appareil);
  listeAppareilCombo_->setEditable(false);
  listeAppareilCombo_->setMinimumContentsLength(32);
  (new QHBoxLayout(appareil))->addWidget(listeAppareilCombo_);
  principal->addWidget(appareil);
  auto* boutons = new QHBoxLayout;
  addBtn_ = new QPushButton(EnQString(TChoixCfgAppDlg::CaptionAdd), this);
  openBtn_ = new QPushButton(EnQString(TChoixCfgAppDlg::CaptionOpen), this);
  closeBtn_ = new QPushButton(EnQString(TChoixCfgAppDlg::CaptionFermer), this);
  for (QPushButton* b : {addBtn_, openBtn_, closeBtn_}) {
    b->setAutoDefault(false);
    boutons->addWidget(b);
  }
  principal->addLayout(boutons);
  QObject::connect(openBtn_, &QPushButton::clicked, this, [this] {
    modele_.OpenBtnClick();
    Affiche();
  });
  QObject::connect(addBtn_, &QPushButton::clicked, this, [this] {
    modele_.AddBtnClick();
    Affiche();
  });
  // It has no OK: it always closes as cancelled.
  QObject::connect(closeBtn_, &QPushButton::clicked, this, [this] { reject(); });
  QObject::connect(grandeurCombo_, &QComboBox::activated, this, [this](int index) {
    if (maj_) return;
    modele_.GrandeurComboChange(index);
    Affiche();
  });
  QObject::connect(listeAppareilCombo_, &QComboBox::activated, this, [this](int index) {
    if (maj_) return;
    modele_.ListeAppareilComboChange(index);
    Affiche();
  });
}

void TFenetreChoixCfgApp::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormActivate();
  Affiche();
}

void TFenetreChoixCfgApp::Affiche() {
  maj_ = true;
  Remplit(grandeurCombo_, modele_.GrandeurItems, modele_.GrandeurIndex, modele_.GrandeurEnabled);
  Remplit(listeAppareilCombo_, modele_.ListeAppareilItems, modele_.ListeAppareilIndex, modele_.ListeAppareilEnabled);
  addBtn_->setEnabled(modele_.AddBtnEnabled);
  maj_ = false;
}
