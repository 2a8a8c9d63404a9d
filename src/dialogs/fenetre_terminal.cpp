// The terminal's widgets.
#include "dialogs/fenetre_terminal.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "dialogs/widgets_dialogue.h"

TFenetreTerminal::TFenetreTerminal(TCinetiqueMain& moteur, int voie, QWidget* parent)
    : QDialog(parent), modele_(moteur) {
  modele_.voieApp = voie;
  setWindowTitle(EnQString(TTerminalForm::Caption));
  auto* principal = new QVBoxLayout(this);

  memo1_ = new QPlainTextEdit(this);
  memo1_->setReadOnly(true);
  memo1_->setMinimumHeight(180);
  principal->addWidget(memo1_, 2);

  auto* ordre = new QHBoxLayout;
  ordre->addWidget(new QLabel(EnQString(TTerminalForm::CaptionOrdre), this));
  ordreEdit_ = new QLineEdit(this);
  ordre->addWidget(ordreEdit_, 1);
  principal->addLayout(ordre);
  // Enter sends nothing: the text goes only by one of the three buttons.
  FiltreFrappe(ordreEdit_, [](char32_t& c) {
    if (c == 13) c = 0;
  });

  auto* envois = new QHBoxLayout;
  envoi_ = new QPushButton(EnQString(TTerminalForm::CaptionEnvoi), this);
  envoiCR_ = new QPushButton(EnQString(TTerminalForm::CaptionEnvoiCR), this);
  envoiCRLF_ = new QPushButton(EnQString(TTerminalForm::CaptionEnvoiCRLF), this);
  clearBtn_ = new QPushButton(EnQString(TTerminalForm::CaptionClear), this);
  for (QPushButton* b : {envoi_, envoiCR_, envoiCRLF_, clearBtn_}) envois->addWidget(b);
  envois->addStretch(1);
  principal->addLayout(envois);

  memoAide_ = new QPlainTextEdit(this);
  memoAide_->setReadOnly(true);
  memoAide_->setMinimumHeight(100);
  principal->addWidget(memoAide_, 1);

  auto* boutons = new QHBoxLayout;
  aideBtn_ = new QPushButton(EnQString(TTerminalForm::CaptionAide), this);
  boutons->addWidget(aideBtn_);
  boutons->addStretch(1);
  closeBtn_ = new QPushButton(EnQString(TTerminalForm::CaptionClose), this);
  boutons->addWidget(closeBtn_);
  principal->addLayout(boutons);
  for (QPushButton* b : {envoi_, envoiCR_, envoiCRLF_, clearBtn_, closeBtn_, aideBtn_}) b->setAutoDefault(false);

  auto envoie = [this](void (TTerminalForm::*action)()) {
    modele_.OrdreEdit = EnTexte(ordreEdit_->text());
    (modele_.*action)();
  };
  QObject::connect(envoi_, &QPushButton::clicked, this, [envoie] { envoie(&TTerminalForm::EnvoiClick); });
  QObject::connect(envoiCR_, &QPushButton::clicked, this, [envoie] { envoie(&TTerminalForm::EnvoiCRClick); });
  QObject::connect(envoiCRLF_, &QPushButton::clicked, this, [envoie] { envoie(&TTerminalForm::EnvoiCRLFClick); });
  QObject::connect(clearBtn_, &QPushButton::clicked, this, [this] {
    modele_.ClearBtnClick();
    memo1_->clear();
  });
  QObject::connect(closeBtn_, &QPushButton::clicked, this, [this] { accept(); });
  QObject::connect(aideBtn_, &QPushButton::clicked, this, [this] { modele_.HelpBtnClick(); });
  modele_.SurLigne = [this](const std::string& ligne) { memo1_->appendPlainText(EnQString(ligne)); };
  resize(560, 460);
}

TFenetreTerminal::~TFenetreTerminal() = default;

void TFenetreTerminal::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormActivate();
  QStringList lignes;
  for (const auto& l : modele_.MemoAide) lignes << EnQString(l);
  memoAide_->setPlainText(lignes.join('\n'));
  memoAide_->moveCursor(QTextCursor::Start);
}

void TFenetreTerminal::done(int resultat) {
  modele_.FormClose();
  QDialog::done(resultat);
}
