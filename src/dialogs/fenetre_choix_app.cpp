// The instrument selection dialog's widgets.
#include "dialogs/fenetre_choix_app.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/widgets_dialogue.h"

namespace {
void RemplitCombo(QComboBox* combo, const std::vector<std::string>& items, int index) {
  QStringList textes;
  for (const auto& t : items) textes << EnQString(t);
  bool identique = combo->count() == textes.size();
  for (int i = 0; identique && i < combo->count(); ++i) identique = combo->itemText(i) == textes[i];
  if (!identique) {
    combo->clear();
    combo->addItems(textes);
  }
  combo->setCurrentIndex(index);
}
}  // namespace

TFenetreChoixApp::TFenetreChoixApp(TCinetiqueMain& moteur, TAdaptateurs* adaptateurs, QWidget* parent)
    : QDialog(parent), modele_(moteur, adaptateurs) {
  setWindowTitle(EnQString(TChoixAppDlg::Caption));
  auto* principal = new QVBoxLayout(this);

  grandeurCombo_ = new TGroupeRadio(EnQString(TChoixAppDlg::CaptionGrandeur), TChoixAppDlg::ColonnesGrandeur, this);
  grandeurCombo_->SurClic = [this](int index) {
    if (maj_) return;
    modele_.GrandeurComboChange(index);
    Affiche();
  };
  principal->addWidget(grandeurCombo_);

  auto* ligne = new QHBoxLayout;
  auto* ajout = new QGroupBox(EnQString(TChoixAppDlg::CaptionAjout), this);
  auto* ajoutLayout = new QHBoxLayout(ajout);
  listeAppareilCombo_ = new QComboBox(ajout);
  listeAppareilCombo_->setEditable(false);
  listeAppareilCombo_->setMinimumContentsLength(28);
  listeAppareilCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ajoutLayout->addWidget(listeAppareilCombo_, 1);
  addBtn_ = new QPushButton(EnQString(TChoixAppDlg::CaptionAddBtn), ajout);
  addBtn_->setDefault(true);
  ajoutLayout->addWidget(addBtn_);
  ligne->addWidget(ajout, 1);
  QObject::connect(listeAppareilCombo_, &QComboBox::activated, this, [this](int index) {
    if (maj_) return;
    modele_.ListeAppareilComboClick(index);
    Affiche();
  });
  QObject::connect(addBtn_, &QPushButton::clicked, this, [this] {
    modele_.ListeAppareilIndex = listeAppareilCombo_->currentIndex();
    modele_.AddBtnClick();
    Affiche();
  });

  oldGB_ = new QGroupBox(EnQString(TChoixAppDlg::CaptionOld), this);
  auto* oldLayout = new QHBoxLayout(oldGB_);
  listeOld_ = new QComboBox(oldGB_);
  listeOld_->setEditable(false);
  listeOld_->setMinimumContentsLength(28);
  listeOld_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  oldLayout->addWidget(listeOld_);
  ligne->addWidget(oldGB_, 1);
  QObject::connect(listeOld_, &QComboBox::activated, this, [this](int index) {
    if (maj_) return;
    modele_.ListeOldClick(index);
    Affiche();
  });
  principal->addLayout(ligne);

  pageControl_ = new QTabWidget(this);
  for (int i = 0; i < TChoixAppDlg::NbrePages; ++i) {
    TPageVue& p = pages_[static_cast<std::size_t>(i)];
    p.page = new QWidget;
    auto* grille = new QGridLayout(p.page);
    p.ports = new TGroupeRadio(QString(), TChoixAppDlg::ColonnesPorts, p.page);
    grille->addWidget(p.ports, 0, 0, 1, 2);
    p.nom = new QLabel(p.page);
    p.nom->setWordWrap(true);
    p.nom->setMinimumWidth(180);
    QFont gras = p.nom->font();
    gras.setBold(true);
    p.nom->setFont(gras);
    p.supprimer = new QPushButton(EnQString(TChoixAppDlg::CaptionDelBtn), p.page);
    p.supprimer->setProperty("tag", i);
    auto* gauche = new QVBoxLayout;
    gauche->addWidget(p.nom);
    gauche->addWidget(p.supprimer, 0, Qt::AlignLeft);
    gauche->addStretch(1);
    grille->addLayout(gauche, 1, 0);
    p.memo = new QPlainTextEdit(p.page);
    p.memo->setReadOnly(true);
    p.memo->setMinimumHeight(70);
    grille->addWidget(p.memo, 1, 1);
    grille->setHorizontalSpacing(4);
    grille->setColumnStretch(1, 1);
    pageControl_->addTab(p.page, EnQString(TChoixAppDlg::CaptionsPages[static_cast<std::size_t>(i)]));
    p.ports->SurClic = [this, i](int index) {
      if (maj_) return;
      modele_.RadioGroup4Click(i, index);
      Affiche();
    };
    QObject::connect(p.supprimer, &QPushButton::clicked, this, [this, i] {
      modele_.DelBtnClick(i);
      Affiche();
    });
  }
  principal->addWidget(pageControl_, 1);

  noAppLabel_ = new QLabel(EnQString(TChoixAppDlg::CaptionNoApp), this);
  noAppLabel_->setAlignment(Qt::AlignCenter);
  QFont grande = noAppLabel_->font();
  grande.setPointSizeF(grande.pointSizeF() * 1.4);
  grande.setBold(true);
  noAppLabel_->setFont(grande);
  principal->addWidget(noAppLabel_);

  auto* boutons = new QHBoxLayout;
  boutons->addStretch(1);
  okBtn_ = new QPushButton("OK", this);
  cancelBtn_ = new QPushButton("Annuler", this);
  okBtn_->setAutoDefault(false);
  cancelBtn_->setAutoDefault(false);
  boutons->addWidget(okBtn_);
  boutons->addWidget(cancelBtn_);
  principal->addLayout(boutons);
  QObject::connect(okBtn_, &QPushButton::clicked, this, [this] {
    modele_.OKBtnClick();
    accept();
  });
  QObject::connect(cancelBtn_, &QPushButton::clicked, this, [this] { reject(); });
  resize(720, 560);
}

TFenetreChoixApp::~TFenetreChoixApp() = default;

void TFenetreChoixApp::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormActivate();
  Affiche();
}

void TFenetreChoixApp::Affiche() {
  maj_ = true;
  if (grandeursAffichees_ != modele_.GrandeurItems) {
    grandeurCombo_->SetItems(modele_.GrandeurItems);
    grandeursAffichees_ = modele_.GrandeurItems;
  }
  grandeurCombo_->SetIndex(modele_.GrandeurIndex);
  RemplitCombo(listeAppareilCombo_, modele_.ListeAppareilItems, modele_.ListeAppareilIndex);
  addBtn_->setEnabled(modele_.AddBtnEnabled);
  oldGB_->setVisible(modele_.oldGBVisible);
  RemplitCombo(listeOld_, modele_.ListeOldItems, modele_.ListeOldIndex);
  for (int i = 0; i < TChoixAppDlg::NbrePages; ++i) {
    const TPageAppareil& m = modele_.Pages[static_cast<std::size_t>(i)];
    TPageVue& p = pages_[static_cast<std::size_t>(i)];
    RemplitGroupe(p.ports, m.ports);
    p.nom->setText(EnQString(m.nom));
    QStringList lignes;
    for (const auto& l : m.memo) lignes << EnQString(l);
    p.memo->setPlainText(lignes.join('\n'));
    p.memo->setVisible(m.memoVisible);
    pageControl_->setTabText(i, EnQString(m.caption));
    pageControl_->setTabVisible(i, m.visible);
  }
  if (modele_.PageActive >= 0 && modele_.PageActive < TChoixAppDlg::NbrePages && modele_.Pages[static_cast<std::size_t>(modele_.PageActive)].visible)
    pageControl_->setCurrentIndex(modele_.PageActive);
  pageControl_->setVisible(modele_.PageControlVisible);
  noAppLabel_->setVisible(modele_.NoAppLabelVisible || !modele_.PageControlVisible);
  maj_ = false;
}
