// Qt implementations of the dialogue and clipboard seams, and the desktop's opening
// of documents.
#include "platform/qt/graphique/services_bureau_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {
bool AvecFenetres() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }
}  // namespace

void TDialogueQt::Information(const std::string& texte) {
  if (AvecFenetres()) QMessageBox::information(nullptr, VersQString(titre_), VersQString(texte));
}

void TDialogueQt::Erreur(const std::string& texte) {
  if (AvecFenetres()) QMessageBox::critical(nullptr, VersQString(titre_), VersQString(texte));
}

void TDialogueQt::Signale(const std::string& texte) {
  if (!AvecFenetres()) return;
  auto* boite = new QMessageBox(QMessageBox::Warning, VersQString(titre_), VersQString(texte), QMessageBox::Ok);
  boite->setAttribute(Qt::WA_DeleteOnClose);
  boite->setWindowModality(Qt::NonModal);
  boite->show();
}

bool TDialogueQt::Confirme(const std::string& question) {
  if (!AvecFenetres()) return false;
  return QMessageBox::question(nullptr, VersQString(titre_), VersQString(question),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool TDialogueQt::Saisie(const std::string& titre, const std::string& invite, std::string& valeur) {
  if (!AvecFenetres()) return false;
  bool ok = false;
  const QString texte = QInputDialog::getText(nullptr, VersQString(titre), VersQString(invite), QLineEdit::Normal,
                                              VersQString(valeur), &ok);
  if (ok) valeur = DepuisQString(texte);
  return ok;
}

std::optional<std::string> TDialogueQt::ChoisitFichier(bool enregistrer, const std::string& titre,
                                                      const std::string& filtre, const std::string& extension) {
  if (!AvecFenetres()) return std::nullopt;
  // "Nom (*.a)|*.a|Autre (*.b)|*.b" -> "Nom (*.a);;Autre (*.b)"
  const QStringList morceaux = VersQString(filtre).split('|');
  QStringList filtres;
  for (qsizetype i = 0; i + 1 < morceaux.size(); i += 2) filtres << morceaux[i];
  QFileDialog boite(nullptr, VersQString(titre));
  boite.setNameFilters(filtres);
  boite.setDefaultSuffix(VersQString(extension).toLower());
  boite.setAcceptMode(enregistrer ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  boite.setFileMode(enregistrer ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (boite.exec() != QDialog::Accepted || boite.selectedFiles().isEmpty()) return std::nullopt;
  return DepuisQString(boite.selectedFiles().first());
}

void TDialogueQt::Bip(TBip) {
  if (AvecFenetres()) QApplication::beep();
}

bool TDialogueQt::ToucheEnfoncee(TTouche touche) const {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  const Qt::KeyboardModifiers m = QGuiApplication::queryKeyboardModifiers();
  switch (touche) {
    case TTouche::Ctrl: return m.testFlag(Qt::ControlModifier);
    case TTouche::Shift: return m.testFlag(Qt::ShiftModifier);
    case TTouche::CapsLock: return false;  // Qt does not expose the Caps Lock state
  }
  return false;
}

void TPressePapiersQt::SetTexte(const std::string& texte) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    QGuiApplication::clipboard()->setText(VersQString(texte));
}

std::string TPressePapiersQt::Texte() const {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
  return DepuisQString(QGuiApplication::clipboard()->text());
}

bool TShellBureauQt::OuvreUrl(const QUrl& url) const { return QDesktopServices::openUrl(url); }
