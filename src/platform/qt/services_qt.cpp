// Qt implementations of the settings, regional, shell, lock and library seams: Qt
// Core only, so that the headless programs load no graphics library.
#include "platform/qt/services_qt.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLocale>
#include <QLockFile>
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
QDateTime VersQDateTime(double dateHeure) {
  const double jours = std::floor(dateHeure);
  const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(jours));
  const THeureDecodee h = DecodeHeure(dateHeure);
  return QDateTime(date, QTime(h.heure, h.minute, h.seconde, h.ms));
}
}  // namespace

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
  return OuvreUrl(c.contains("://") ? QUrl(c) : QUrl::fromLocalFile(c));
}

bool TShellQt::OuvreUrl(const QUrl&) const { return false; }

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
