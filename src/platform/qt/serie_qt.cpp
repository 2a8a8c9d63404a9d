// QSerialPort devices: line settings, handshake, lines, data and loss notifications.
#include "platform/qt/serie_qt.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QSerialPort>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {
constexpr qint64 TailleTamponLecture = 4096;
// Read or write errors in a row, with no data between, that count as a lost device.
constexpr int ErreursAvantPerte = 3;

QSerialPort::Parity VersParite(TPariteLigne p) {
  switch (p) {
    case TPariteLigne::Impaire: return QSerialPort::OddParity;
    case TPariteLigne::Paire: return QSerialPort::EvenParity;
    case TPariteLigne::Marque: return QSerialPort::MarkParity;
    case TPariteLigne::Espace: return QSerialPort::SpaceParity;
    case TPariteLigne::Aucune: break;
  }
  return QSerialPort::NoParity;
}

std::string Texte(const QString& s) { return s.toUtf8().toStdString(); }

class TPeripheriqueQt final : public TPeripheriqueSerie {
public:
  explicit TPeripheriqueQt(std::string chemin) : chemin_(std::move(chemin)), port_(std::make_unique<QSerialPort>()) {}
  ~TPeripheriqueQt() override { Ferme(); }

  TCodeSerie Ouvre(const TReglageLigne& reglage, std::string& raison) {
    port_->setPortName(QString::fromStdString(chemin_));
    // A bounded buffer: when the program does not read, the system's queue fills and
    // the handshake (when chosen) holds the instrument back.
    port_->setReadBufferSize(TailleTamponLecture);
    if (!port_->open(QIODevice::ReadWrite)) {
      const auto erreur = port_->error();
      if (erreur == QSerialPort::DeviceNotFoundError) {
        raison = "périphérique " + chemin_ + " introuvable";
        return TCodeSerie::Absent;
      }
      if (erreur == QSerialPort::PermissionError) {
        if (::access(chemin_.c_str(), R_OK | W_OK) != 0) {
          raison = "accès refusé à " + chemin_ + " (droits sur le périphérique ?)";
          return TCodeSerie::AccesRefuse;
        }
        raison = chemin_ + " est utilisé par un autre programme";
        return TCodeSerie::Occupe;
      }
      raison = "ouverture de " + chemin_ + " impossible (" + Texte(port_->errorString()) + ")";
      return TCodeSerie::Autre;
    }
    // Another instance of the program (or any program taking the same lock) holds it;
    // the lock also works for the super-user, whom the exclusive mode lets through.
    if (::flock(port_->handle(), LOCK_EX | LOCK_NB) != 0) {
      port_->close();
      raison = chemin_ + " est utilisé par un autre programme";
      return TCodeSerie::Occupe;
    }
    ouvert_ = true;
    if (!AppliqueReglage(reglage, raison)) {
      Ferme();
      raison = "réglage refusé par " + chemin_ + " : " + raison;
      return TCodeSerie::ReglageRefuse;
    }
    // No periodic watch: a loss shows through what the port reports (an error, the end
    // of its reading side, a close it did not ask for), or through Verifie at the
    // acquisition's own tick.
    connexions_[0] = QObject::connect(port_.get(), &QSerialPort::readyRead, port_.get(), [this] { Donnees(); });
    connexions_[1] = QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(),
                                      [this](QSerialPort::SerialPortError e) { Erreur(e); });
    connexions_[2] = QObject::connect(port_.get(), &QSerialPort::readChannelFinished, port_.get(), [this] {
      if (ouvert_ && !perdu_) PlanifiePerte("périphérique débranché ou ligne raccrochée");
    });
    // Our own closes disconnect first: this is a close the port made by itself.
    connexions_[3] = QObject::connect(port_.get(), &QSerialPort::aboutToClose, port_.get(), [this] {
      if (ouvert_ && !perdu_) PlanifiePerte("périphérique fermé");
    });
    return TCodeSerie::Aucun;
  }

  bool Regle(const TReglageLigne& reglage, std::string& raison) override {
    if (!ouvert_ || perdu_) {
      raison = "périphérique perdu";
      return false;
    }
    return AppliqueReglage(reglage, raison);
  }

  bool Ecrit(std::string_view octets) override {
    if (!ouvert_ || perdu_) return false;
    const qint64 n = port_->write(octets.data(), static_cast<qint64>(octets.size()));
    return n == static_cast<qint64>(octets.size());
  }
  std::size_t OctetsAEmettre() const override {
    return ouvert_ ? static_cast<std::size_t>(std::max<qint64>(port_->bytesToWrite(), 0)) : 0;
  }
  std::size_t OctetsRecus() const override {
    return ouvert_ && !perdu_ ? static_cast<std::size_t>(std::max<qint64>(port_->bytesAvailable(), 0)) : 0;
  }
  std::string Prend(std::size_t max) override {
    if (!ouvert_ || perdu_ || max == 0) return {};
    std::string octets = port_->read(static_cast<qint64>(max)).toStdString();
    // A read that fails while bytes were announced: the line may be gone.
    if (octets.empty() && port_->error() != QSerialPort::NoError && Raccroche())
      PlanifiePerte("périphérique débranché ou ligne raccrochée");
    return octets;
  }
  void VideReception() override {
    if (ouvert_ && !perdu_) port_->clear(QSerialPort::Input);
  }

  void SetRappelDonnees(std::function<void()> rappel) override { rappelDonnees_ = std::move(rappel); }
  void SetRappelPerte(std::function<void(const std::string&)> rappel) override { rappelPerte_ = std::move(rappel); }

  // For a hang-up the port stays silent about: a full read buffer stops its reading,
  // and some Qt versions report a hung-up line by nothing at all.
  bool Verifie(std::string& raison) override {
    if (!ouvert_) return true;
    if (!perdu_ && !Raccroche()) return true;
    raison = perdu_ ? raisonPerte_ : "périphérique débranché ou ligne raccrochée";
    return false;
  }

  void Ferme() override {
    if (!ouvert_) return;
    ouvert_ = false;
    Deconnecte();
    port_->close();
    *vie_ = false;
  }

private:
  bool AppliqueReglage(const TReglageLigne& r, std::string& raison) {
    // Lines a pseudo-terminal lacks make QSerialPort report errors meant for no one.
    dansReglage_ = true;
    bool ok = true;
    auto refuse = [&](const std::string& quoi) {
      if (!ok) return;
      ok = false;
      raison = quoi + " (" + Texte(port_->errorString()) + ")";
    };
    if (!port_->setBaudRate(r.baud)) refuse("vitesse de " + std::to_string(r.baud) + " bauds");
    // A pseudo-terminal (the virtual bench) carries whole bytes and has no character
    // format: a 7-bit or parity setting it refuses is no failure of the line.
    // Also through a link (a stable name for a device that comes and goes).
    std::error_code erreur;
    const std::string reel = std::filesystem::weakly_canonical(chemin_, erreur).string();
    const bool pseudoTerminal = (erreur ? chemin_ : reel).rfind("/dev/pts/", 0) == 0;
    if (!port_->setDataBits(static_cast<QSerialPort::DataBits>(r.bitsDonnees)) && !pseudoTerminal)
      refuse("bits de données");
    if (!port_->setParity(VersParite(r.parite)) && !pseudoTerminal) refuse("parité");
    if (!port_->setStopBits(r.bitsStop == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) && !pseudoTerminal)
      refuse("bits d'arrêt");
    const auto flux = r.rtsCts ? QSerialPort::HardwareControl
                               : (r.xonXoff ? QSerialPort::SoftwareControl : QSerialPort::NoFlowControl);
    if (!port_->setFlowControl(flux)) refuse("contrôle de flux");
    if (ok && r.xonXoff) {
      termios t{};
      if (::tcgetattr(port_->handle(), &t) == 0) {
        t.c_cc[VSTART] = static_cast<cc_t>(r.xon);
        t.c_cc[VSTOP] = static_cast<cc_t>(r.xoff);
        ::tcsetattr(port_->handle(), TCSANOW, &t);
      }
    }
    // Raised where the device has the lines; a failure here is no failure of the port.
    port_->setDataTerminalReady(r.dtr);
    if (!r.rtsCts) port_->setRequestToSend(r.rts);
    port_->clearError();
    dansReglage_ = false;
    return ok;
  }

  void Donnees() {
    if (!ouvert_ || perdu_) return;
    erreursSuite_ = 0;
    if (rappelDonnees_) {
      auto rappel = rappelDonnees_;
      rappel();
    }
  }

  void Erreur(QSerialPort::SerialPortError e) {
    if (!ouvert_ || perdu_ || dansReglage_) return;
    switch (e) {
      case QSerialPort::ResourceError:
      case QSerialPort::DeviceNotFoundError:
        PlanifiePerte("périphérique débranché");
        return;
      case QSerialPort::ReadError:
      case QSerialPort::WriteError:
        // A hung-up line is readable with nothing to read: some Qt versions then
        // report a read error at every turn of the loop.
        if (Raccroche()) PlanifiePerte("périphérique débranché ou ligne raccrochée");
        else if (++erreursSuite_ >= ErreursAvantPerte)
          PlanifiePerte("erreurs d'entrée-sortie répétées (" + Texte(port_->errorString()) + ")");
        port_->clearError();
        return;
      default:
        port_->clearError();
        return;
    }
  }

  // The line is hung up, or the device node is gone.
  bool Raccroche() const {
    const int fd = port_->handle();
    if (fd < 0) return true;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0) {
      if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return true;
      int enAttente = 0;
      if ((p.revents & POLLIN) && ::ioctl(fd, FIONREAD, &enAttente) == 0 && enAttente == 0 &&
          port_->bytesAvailable() == 0)
        return true;
    }
    struct stat st {};
    return ::stat(chemin_.c_str(), &st) != 0 && errno == ENOENT;
  }

  // Stops listening at once (a flood of errors must not reach anyone) and closes from
  // the loop, outside the signal that told.
  void PlanifiePerte(const std::string& raison) {
    if (perdu_) return;
    perdu_ = true;
    raisonPerte_ = raison;
    Deconnecte();
    QTimer::singleShot(0, port_.get(), [this, vie = vie_, raison] {
      if (!*vie) return;
      port_->close();
      if (rappelPerte_) {
        auto rappel = rappelPerte_;
        rappel(raison);
      }
    });
  }

  void Deconnecte() {
    for (auto& c : connexions_) QObject::disconnect(c);
  }

  std::string chemin_;
  std::unique_ptr<QSerialPort> port_;
  QMetaObject::Connection connexions_[4];
  std::function<void()> rappelDonnees_;
  std::function<void(const std::string&)> rappelPerte_;
  std::string raisonPerte_;
  bool ouvert_ = false;
  bool perdu_ = false;
  bool dansReglage_ = false;
  int erreursSuite_ = 0;
  std::shared_ptr<bool> vie_ = std::make_shared<bool>(true);
};
}  // namespace

TSerieQt::TSerieQt(std::string dossierPeripheriques) : dossier_(std::move(dossierPeripheriques)) {}

std::vector<std::string> TSerieQt::Peripheriques() const {
  std::vector<std::string> chemins;
  std::error_code erreur;
  for (const auto& entree : std::filesystem::directory_iterator(dossier_, erreur)) {
    const std::string nom = entree.path().filename().string();
    for (const char* prefixe : {"ttyS", "ttyUSB", "ttyACM"}) {
      const std::string p = prefixe;
      if (nom.size() > p.size() && nom.compare(0, p.size(), p) == 0 &&
          std::all_of(nom.begin() + static_cast<long>(p.size()), nom.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        chemins.push_back(entree.path().string());
        break;
      }
    }
  }
  std::sort(chemins.begin(), chemins.end());
  return chemins;
}

namespace {
// A lock file that serial programs share by convention (QSerialPort takes one too):
// "LCK.." and the device's name under /dev, held while the process it names lives.
bool VerrouVivant(const std::string& chemin) {
  std::string nom = chemin.rfind("/dev/", 0) == 0 ? chemin.substr(5) : std::filesystem::path(chemin).filename().string();
  std::replace(nom.begin(), nom.end(), '/', '_');
  for (const char* dossier : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp", "/var/tmp"}) {
    std::ifstream f(std::string(dossier) + "/LCK.." + nom);
    long pid = 0;
    if (f && f >> pid && pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)) return true;
  }
  return false;
}
}  // namespace

TPresence TSerieQt::Sonde(const std::string& chemin) {
  struct stat st {};
  if (::stat(chemin.c_str(), &st) != 0) return TPresence::Absent;
  // A plain opening, without the lock file (and its write to disk) that a port's
  // opening makes: the ports are probed at each binding and each port list.
  const int fd = ::open(chemin.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EACCES || errno == EBUSY || errno == EPERM ? TPresence::Occupe : TPresence::Absent;
  termios t{};
  const bool serie = ::tcgetattr(fd, &t) == 0;
  const bool libre = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  if (!serie) return TPresence::Absent;
  if (!libre || VerrouVivant(chemin)) return TPresence::Occupe;
  return TPresence::Present;
}

TOuvertureSerie TSerieQt::Ouvre(const std::string& chemin, const TReglageLigne& reglage) {
  auto peripherique = std::make_unique<TPeripheriqueQt>(chemin);
  std::string raison;
  const TCodeSerie code = peripherique->Ouvre(reglage, raison);
  if (code != TCodeSerie::Aucun) return {nullptr, code, raison};
  return {std::move(peripherique), TCodeSerie::Aucun, {}};
}
