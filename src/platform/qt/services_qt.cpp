// Qt implementations of the dialogue, settings, regional, shell, clipboard, lock
// and library seams.
#include "platform/qt/services_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLibrary>
#include <QLocale>
#include <QLockFile>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTime>
#include <QUrl>

#include <cmath>
#include <memory>

#include "util/durees.h"

QString VersQString(const std::string& texte) { return QString::fromUtf8(texte.data(), static_cast<qsizetype>(texte.size())); }
std::string DepuisQString(const QString& texte) { return texte.toUtf8().toStdString(); }

namespace {
bool AvecFenetres() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

QDateTime VersQDateTime(double dateHeure) {
  const double jours = std::floor(dateHeure);
  const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(jours));
  const THeureDecodee h = DecodeHeure(dateHeure);
  return QDateTime(date, QTime(h.heure, h.minute, h.seconde, h.ms));
}
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

namespace {
QString CleQt(const std::string& cle, const std::string& nom) {
  QString c = VersQString(cle);
  c.replace('\\', '/');
  return c + '/' + VersQString(nom);
}
std::unique_ptr<QSettings> Reglages() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Pelitrax", "Pelitrax");
}
}  // namespace

TReglagesQt::TReglagesQt() = default;

std::optional<std::string> TReglagesQt::Lit(const std::string& cle, const std::string& nom) const {
  auto r = Reglages();
  const QString k = CleQt(cle, nom);
  if (!r->contains(k)) return std::nullopt;
  return DepuisQString(r->value(k).toString());
}

void TReglagesQt::Ecrit(const std::string& cle, const std::string& nom, const std::string& valeur) {
  Reglages()->setValue(CleQt(cle, nom), VersQString(valeur));
}

void TReglagesQt::Supprime(const std::string& cle, const std::string& nom) { Reglages()->remove(CleQt(cle, nom)); }

std::vector<std::string> TReglagesQt::Noms(const std::string& cle) const {
  auto r = Reglages();
  QString c = VersQString(cle);
  c.replace('\\', '/');
  r->beginGroup(c);
  std::vector<std::string> noms;
  for (const QString& k : r->childKeys()) noms.push_back(DepuisQString(k));
  return noms;
}

char TRegionalQt::SeparateurDecimal() const {
  const QString s = QLocale().decimalPoint();
  return s.size() == 1 && s.at(0).unicode() < 128 ? static_cast<char>(s.at(0).unicode()) : '.';
}

std::string TRegionalQt::DateCourte(double dateHeure) const {
  return DepuisQString(QLocale().toString(VersQDateTime(dateHeure).date(), QLocale::ShortFormat));
}

std::string TRegionalQt::HeureLongue(double dateHeure) const {
  return DepuisQString(VersQDateTime(dateHeure).time().toString("HH:mm:ss"));
}

std::optional<std::string> TShellQt::Dossier(TDossierShell dossier) const {
  const auto emplacement = dossier == TDossierShell::Documents ? QStandardPaths::DocumentsLocation
                                                                : QStandardPaths::AppLocalDataLocation;
  const QString chemin = QStandardPaths::writableLocation(emplacement);
  if (chemin.isEmpty()) return std::nullopt;
  return DepuisQString(QDir::cleanPath(chemin));
}

bool TShellQt::CreeDossier(const std::string& chemin) { return QDir().mkpath(VersQString(chemin)); }

bool TShellQt::Ouvre(const std::string& cible) {
  const QString c = VersQString(cible);
  // A program is started; the desktop's "open" on an executable only shows it.
  if (const QFileInfo f(c); f.isFile() && f.isExecutable()) return QProcess::startDetached(c, {});
  const QUrl url = c.contains("://") ? QUrl(c) : QUrl::fromLocalFile(c);
  return QDesktopServices::openUrl(url);
}

#ifndef PELITRAX_PARTAGE_RELATIF
#define PELITRAX_PARTAGE_RELATIF "../share/pelitrax"
#endif

std::string TShellQt::DossierProgramme() const {
  // PELITRAX_DOSSIER_PROGRAMME first (tests, the bench, a lab's shared folder); then the
  // program's own folder when it is a build folder or a portable copy (writable, no
  // installed data beside it); else, for an installed program, a per-user folder that
  // the desktop program and the headless tool share and an update never touches.
  const QByteArray force = qgetenv("PELITRAX_DOSSIER_PROGRAMME");
  if (!force.isEmpty()) return force.toStdString();
  const QString exe = QCoreApplication::applicationDirPath();
  if (DossierPartage().empty() && !exe.isEmpty() && QFileInfo(exe).isWritable()) return DepuisQString(exe);
  const QString donnees = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/pelitrax";
  QDir().mkpath(donnees);
  return DepuisQString(donnees);
}

std::string TShellQt::DossierPartage() const {
  // Found from the executable, not from the prefix it was built for: a package unpacked
  // under another root (a scratch DESTDIR) finds its own data.
  const QString exe = QCoreApplication::applicationDirPath();
  if (exe.isEmpty()) return {};
  const QString partage = QDir::cleanPath(exe + '/' + PELITRAX_PARTAGE_RELATIF);
  if (!QFileInfo::exists(partage + "/RS232.INI")) return {};
  return DepuisQString(partage);
}

void TPressePapiersQt::SetTexte(const std::string& texte) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    QGuiApplication::clipboard()->setText(VersQString(texte));
}

std::string TPressePapiersQt::Texte() const {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
  return DepuisQString(QGuiApplication::clipboard()->text());
}

namespace {
QString CheminVerrou(const std::string& nom) {
  QString dossier = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dossier.isEmpty()) dossier = QDir::tempPath();
  return dossier + "/pelitrax-" + VersQString(nom) + ".lock";
}

class TVerrouQt final : public TVerrou {
public:
  explicit TVerrouQt(std::unique_ptr<QLockFile> fichier) : fichier_(std::move(fichier)) {}

private:
  std::unique_ptr<QLockFile> fichier_;
};

class TBibliothequeQt final : public TBibliotheque {
public:
  explicit TBibliothequeQt(std::unique_ptr<QLibrary> lib) : lib_(std::move(lib)) {}
  void* Symbole(const std::string& nom) override {
    return reinterpret_cast<void*>(lib_->resolve(nom.c_str()));
  }

private:
  std::unique_ptr<QLibrary> lib_;
};
}  // namespace

bool TVerrousQt::Existe(const std::string& nom) const {
  QLockFile essai(CheminVerrou(nom));
  essai.setStaleLockTime(0);
  if (essai.tryLock(0)) {
    essai.unlock();
    return false;
  }
  return essai.error() == QLockFile::LockFailedError;
}

std::unique_ptr<TVerrou> TVerrousQt::Prend(const std::string& nom) {
  auto fichier = std::make_unique<QLockFile>(CheminVerrou(nom));
  fichier->setStaleLockTime(0);
  if (!fichier->tryLock(0)) return nullptr;
  return std::make_unique<TVerrouQt>(std::move(fichier));
}

std::unique_ptr<TBibliotheque> TBibliothequesQt::Charge(const std::string& nomDeBase) {
  const QString nom = "lib" + VersQString(nomDeBase) + ".so";
  QStringList chemins;
  const QString dossier = qEnvironmentVariable(VariableBibliotheques);
  if (!dossier.isEmpty()) chemins << dossier + '/' + nom;
  chemins << QCoreApplication::applicationDirPath() + '/' + nom;
  chemins << nom;  // the system's library path
  for (const QString& chemin : chemins) {
    // Only a file that is there is loaded from a folder: a bare name asks the system.
    if (chemin.contains('/') && !QFileInfo::exists(chemin)) continue;
    auto lib = std::make_unique<QLibrary>(chemin);
    if (lib->load()) return std::make_unique<TBibliothequeQt>(std::move(lib));
  }
  return nullptr;
}
