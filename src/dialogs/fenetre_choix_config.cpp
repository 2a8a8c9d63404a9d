// The device list dialog's widgets.
#include "dialogs/fenetre_choix_config.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/cinetique.h"
#include "dialogs/fenetre_burette.h"
#include "dialogs/fenetre_choix_cfg_app.h"
#include "dialogs/widgets_dialogue.h"
#include "links/dialogs/fenetre_config.h"
#include "links/dialogs/fenetre_config_sysam.h"

TFenetreChoixConfig::TFenetreChoixConfig(TCinetiqueMain& moteur, QWidget* parent)
    : QDialog(parent), moteur_(moteur), modele_(moteur) {
  setWindowTitle(EnQString(TChoixConfigDlg::Caption));
  auto* principal = new QHBoxLayout(this);
  liste_ = new QListWidget(this);
  liste_->setMinimumSize(340, 320);
  principal->addWidget(liste_, 1);
  auto* boutons = new QVBoxLayout;
  enregistreBtn_ = new QPushButton(EnQString(TChoixConfigDlg::CaptionEnregistre), this);
  creerBtn_ = new QPushButton(EnQString(TChoixConfigDlg::CaptionCreer), this);
  addBtn_ = new QPushButton(EnQString(TChoixConfigDlg::CaptionAdd), this);
  PoseIndice(addBtn_, TChoixConfigDlg::IndiceAdd);
  addBtn_->setToolTip(EnQString(IndiceLong(TChoixConfigDlg::IndiceAdd)));
  delBtn_ = new QPushButton(EnQString(TChoixConfigDlg::CaptionDel), this);
  modifBtn_ = new QPushButton(EnQString(TChoixConfigDlg::CaptionModif), this);
  buretteBtn_ = new QPushButton(EnQString(TChoixConfigDlg::CaptionBurette), this);
  recentCB_ = new QCheckBox(EnQString(TChoixConfigDlg::CaptionRecent), this);
  PoseIndice(recentCB_, TChoixConfigDlg::IndiceRecent);
  exitBtn_ = new QPushButton(EnQString(TChoixConfigDlg::CaptionExit), this);
  for (QPushButton* b : {enregistreBtn_, creerBtn_, addBtn_, delBtn_, modifBtn_, buretteBtn_}) {
    b->setAutoDefault(false);
    boutons->addWidget(b);
  }
  boutons->addWidget(recentCB_);
  boutons->addStretch(1);
  exitBtn_->setAutoDefault(false);
  boutons->addWidget(exitBtn_);
  principal->addLayout(boutons);

  // The editors live with the dialog and are reused.
  editeur_ = new TFenetreConfig(modele_.ConfigDlg, modele_.Contexte, this);
  editeurSysam_ = new TFenetreConfigSysam(modele_.ConfigSysamDlg, this);
  modele_.ConfigDlg.Aide = [this](int contexte) {
    if (Aide) Aide(contexte);
  };
  modele_.EditeAppareil = [this] { return editeur_->exec() == QDialog::Accepted; };
  modele_.EditeSysam = [this] { return editeurSysam_->exec() == QDialog::Accepted; };
  modele_.AjoutFichier = [this] {
    TFenetreChoixCfgApp ajout(moteur_.Base(), moteur_.Plateforme().dialogue, this);
    ajout.exec();
    return ajout.Modele().NbreAjouts;
  };
  modele_.ReglageBurette = [this] {
    TFenetreBurette burette(moteur_, nullptr, this);
    burette.Modele().Aide = [this](int contexte) {
      if (Aide) Aide(contexte);
    };
    return burette.exec() == QDialog::Accepted;
  };
  modele_.Sablier = [](bool actif) {
    if (actif) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
  };

  auto action = [this](QPushButton* b, void (TChoixConfigDlg::*m)()) {
    QObject::connect(b, &QPushButton::clicked, this, [this, m] {
      modele_.ListBoxIndex = liste_->currentRow();
      (modele_.*m)();
      Affiche();
    });
  };
  action(enregistreBtn_, &TChoixConfigDlg::EnregistreBtnClick);
  action(creerBtn_, &TChoixConfigDlg::CreerBtnClick);
  action(addBtn_, &TChoixConfigDlg::AddBtnClick);
  action(delBtn_, &TChoixConfigDlg::DelBtnClick);
  action(modifBtn_, &TChoixConfigDlg::ModifBtnClick);
  action(buretteBtn_, &TChoixConfigDlg::BuretteRS232BtnClick);
  QObject::connect(liste_, &QListWidget::currentRowChanged, this, [this](int ligne) {
    if (maj_) return;
    modele_.ListBoxAppareilClick(ligne);
    Affiche();
  });
  QObject::connect(liste_, &QListWidget::itemDoubleClicked, this, [this] { modifBtn_->click(); });
  QObject::connect(recentCB_, &QCheckBox::clicked, this, [this](bool coche) { modele_.ListeAppRecentCBClick(coche); });
  QObject::connect(exitBtn_, &QPushButton::clicked, this, [this] { reject(); });
}

TFenetreChoixConfig::~TFenetreChoixConfig() {
  // The editors' windows work on the model's editors: they go before the model does.
  delete editeur_;
  delete editeurSysam_;
}

void TFenetreChoixConfig::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormActivate();
  Affiche();
}

void TFenetreChoixConfig::reject() {
  modele_.FormCloseQuery();
  QDialog::reject();
}

void TFenetreChoixConfig::Affiche() {
  maj_ = true;
  QStringList lignes;
  for (const auto& l : modele_.ListBoxAppareil) lignes << EnQString(l);
  bool identique = liste_->count() == lignes.size();
  for (int i = 0; identique && i < liste_->count(); ++i) identique = liste_->item(i)->text() == lignes[i];
  if (!identique) {
    liste_->clear();
    liste_->addItems(lignes);
  }
  liste_->setCurrentRow(modele_.ListBoxIndex);
  delBtn_->setVisible(modele_.DelBtnVisible);
  delBtn_->setEnabled(modele_.DelBtnEnabled);
  modifBtn_->setVisible(modele_.ModifBtnVisible);
  modifBtn_->setEnabled(modele_.ModifBtnEnabled);
  addBtn_->setVisible(modele_.AddBtnVisible);
  recentCB_->setChecked(modele_.ListeAppRecentCB);
  maj_ = false;
}
