// Local-socket server and client of the inter-process link. The server never trusts
// what arrives: a command is taken only up to its zero byte and only within the size
// bound; commands run one at a time from the event loop, never inside a socket's
// signal, so a handler that opens a box (and a nested loop) cannot pull a socket away
// from under the code that answers on it. The commands waiting meanwhile are bounded
// and leave with their client.
#include "platform/qt/liaison/ipc_qt.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <utility>

namespace {
// What one connection has sent so far; a child of its socket, gone with it.
class TEtatConnexion final : public QObject {
public:
  using QObject::QObject;
  QByteArray tampon;
  bool recue = false;  // the command (or a refusal) is settled; later bytes are ignored
};

// Out of descriptors, the listening socket waits this long before accepting again;
// the clients meanwhile stay queued by the system.
constexpr int DelaiRepriseMs = 200;

void Repond(QLocalSocket* socket, bool accepte) {
  if (!socket || socket->state() != QLocalSocket::ConnectedState) return;
  socket->write(accepte ? "1" : "0", 1);
  socket->flush();
  socket->disconnectFromServer();
}

// The listening socket, accepted here rather than by QLocalServer, which closes for
// good (and removes its file) on a failed accept: with the process out of
// descriptors for a moment the server would stay deaf until the program restarts.
// Here acceptance pauses and resumes; the clients wait in the system's queue.
class TEcouteur {
public:
  TEcouteur() = default;
  TEcouteur(const TEcouteur&) = delete;
  TEcouteur& operator=(const TEcouteur&) = delete;

  ~TEcouteur() {
    // The notifier and the timer go with their host, later; they must not call back.
    if (notificateur_) {
      notificateur_->setEnabled(false);
      notificateur_->disconnect();
    }
    if (reprise_) {
      reprise_->stop();
      reprise_->disconnect();
    }
    if (fd_ < 0) return;
    ::close(fd_);
    // A name another program took meanwhile is left to it.
    struct stat etat {};
    if (::stat(nom_.constData(), &etat) == 0 && etat.st_ino == inode_ && etat.st_dev == peripherique_)
      ::unlink(nom_.constData());
  }

  // `hote` parents the notifier and the timer; `accueille` takes each accepted
  // descriptor.
  bool Ouvre(const QString& chemin, QObject* hote, std::function<void(int)> accueille) {
    nom_ = QFile::encodeName(chemin);
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    if (nom_.isEmpty() || static_cast<std::size_t>(nom_.size()) >= sizeof(adresse.sun_path)) return false;
    std::memcpy(adresse.sun_path, nom_.constData(), static_cast<std::size_t>(nom_.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    struct stat etat {};
    // Only this user may connect: the mode is set before anyone can.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&adresse), sizeof(adresse)) != 0) {
      ::close(fd);
      return false;
    }
    if (::chmod(nom_.constData(), S_IRWXU) != 0 || ::stat(nom_.constData(), &etat) != 0 ||
        ::listen(fd, SOMAXCONN) != 0) {
      ::close(fd);
      ::unlink(nom_.constData());
      return false;
    }
    fd_ = fd;
    inode_ = etat.st_ino;
    peripherique_ = etat.st_dev;
    accueille_ = std::move(accueille);
    notificateur_ = new QSocketNotifier(fd_, QSocketNotifier::Read, hote);
    QObject::connect(notificateur_, &QSocketNotifier::activated, hote, [this] { Accepte(); });
    reprise_ = new QTimer(hote);
    reprise_->setSingleShot(true);
    QObject::connect(reprise_, &QTimer::timeout, hote, [this] {
      notificateur_->setEnabled(true);
      Accepte();
    });
    return true;
  }

private:
  void Accepte() {
    // One client per wake-up, as the loop goes on between: a client accepted earlier
    // is read (and its leaving seen) before the next is taken. The notifier fires
    // again for those still queued.
    for (;;) {
      const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client >= 0) {
        accueille_(client);
        return;
      }
      if (errno == EINTR || errno == ECONNABORTED) continue;
      // Out of descriptors or memory (or any other failure): a pause, rather than a
      // notifier that fires again at once for a client that cannot be taken.
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        notificateur_->setEnabled(false);
        reprise_->start(DelaiRepriseMs);
      }
      return;
    }
  }

  int fd_ = -1;
  QByteArray nom_;
  ino_t inode_ = 0;
  dev_t peripherique_ = 0;
  std::function<void(int)> accueille_;
  QSocketNotifier* notificateur_ = nullptr;
  QTimer* reprise_ = nullptr;
};
}  // namespace

class TLiaisonIPCQt::TServeur : public std::enable_shared_from_this<TServeur> {
public:
  explicit TServeur(std::function<bool(const std::string&)> executer)
      : hote_(new QObject), executer_(std::move(executer)) {}

  ~TServeur() {
    // Deleted later: this may run from inside a command's handler, below a frame
    // that still uses one of the sockets.
    ecouteur_.reset();
    if (hote_) hote_->deleteLater();
  }

  bool Demarre(const QString& chemin) {
    // The listener goes before this object does (see the destructor).
    ecouteur_ = std::make_unique<TEcouteur>();
    return ecouteur_->Ouvre(chemin, hote_, [this](int client) { Accueille(client); });
  }

private:
  void Accueille(int client) {
    auto* socket = new QLocalSocket(hote_);
    if (!socket->setSocketDescriptor(client, QLocalSocket::ConnectedState, QIODevice::ReadWrite)) {
      ::close(client);
      delete socket;
      return;
    }
    // The oldest silent connection makes room: a flood never holds every
    // descriptor, nor keeps out the client that comes next.
    std::erase_if(muets_, [](const QPointer<QLocalSocket>& m) { return m.isNull(); });
    while (muets_.size() >= ConnexionsMaxi) {
      const QPointer<QLocalSocket> plusAncien = muets_.front();
      muets_.pop_front();
      if (plusAncien) plusAncien->abort();
    }
    muets_.emplace_back(socket);
    auto* etat = new TEtatConnexion(socket);
    auto* inactivite = new QTimer(socket);
    inactivite->setSingleShot(true);
    QObject::connect(inactivite, &QTimer::timeout, socket, [socket] { socket->abort(); });
    inactivite->start(DelaiInactiviteMs);
    std::weak_ptr<TServeur> faible = shared_from_this();
    QObject::connect(socket, &QLocalSocket::disconnected, socket, [faible, socket] {
      if (auto s = faible.lock()) s->Oublie(socket);
      socket->deleteLater();
    });
    auto lit = [faible, socket, etat, inactivite] {
      const QByteArray recu = socket->readAll();
      if (etat->recue) return;
      etat->tampon += recu;
      const qsizetype zero = etat->tampon.indexOf('\0');
      const auto limite = static_cast<qsizetype>(TailleMaxiMessage);
      if (zero < 0 ? etat->tampon.size() > limite : zero > limite) {
        etat->recue = true;
        if (auto s = faible.lock()) s->Entendu(socket);
        etat->tampon.clear();
        inactivite->stop();
        Repond(socket, false);
        return;
      }
      if (zero < 0) return;  // not complete yet
      etat->recue = true;
      if (auto s = faible.lock()) s->Entendu(socket);
      inactivite->stop();
      std::string commande(etat->tampon.constData(), static_cast<std::size_t>(zero));
      etat->tampon.clear();
      if (auto s = faible.lock()) s->Range(socket, std::move(commande));
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, lit);
    // Bytes may have come with the connection itself.
    if (socket->bytesAvailable() > 0) lit();
  }

  void Range(QLocalSocket* socket, std::string commande) {
    if (file_.size() >= FileMaxi) {
      Repond(socket, false);
      return;
    }
    file_.emplace_back(QPointer<QLocalSocket>(socket), std::move(commande));
    Programme();
  }

  // A client gone before its turn: nobody waits for its command, which is dropped.
  void Oublie(QLocalSocket* socket) {
    std::erase_if(file_, [socket](const auto& e) { return e.first.isNull() || e.first.data() == socket; });
    Entendu(socket);
  }

  void Entendu(QLocalSocket* socket) {
    std::erase_if(muets_, [socket](const QPointer<QLocalSocket>& m) { return m.isNull() || m.data() == socket; });
  }

  void Programme() {
    if (programme_ || occupe_ || file_.empty() || !hote_) return;
    programme_ = true;
    std::weak_ptr<TServeur> faible = shared_from_this();
    QMetaObject::invokeMethod(
        hote_, [faible] {
          if (auto s = faible.lock()) s->Traite();
        },
        Qt::QueuedConnection);
  }

  void Traite() {
    programme_ = false;
    if (occupe_) return;
    // Keeps this object alive while a handler runs, even if the link stops meanwhile.
    auto garde = shared_from_this();
    while (!file_.empty()) {
      auto [socket, commande] = std::move(file_.front());
      file_.pop_front();
      if (!socket || socket->state() != QLocalSocket::ConnectedState) continue;
      bool accepte = false;
      occupe_ = true;
      try {
        accepte = executer_ && executer_(commande);
      } catch (...) {
        accepte = false;
      }
      occupe_ = false;
      Repond(socket.data(), accepte);
      if (!hote_) break;
    }
  }

  QPointer<QObject> hote_;  // parent of the sockets, the notifier and the timer
  std::unique_ptr<TEcouteur> ecouteur_;
  std::function<bool(const std::string&)> executer_;
  std::deque<std::pair<QPointer<QLocalSocket>, std::string>> file_;
  std::deque<QPointer<QLocalSocket>> muets_;  // connected, no command settled yet, oldest first
  bool occupe_ = false;
  bool programme_ = false;
};

namespace {
std::string DossierParDefaut() {
  for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    const QString valeur = qEnvironmentVariable(variable);
    if (!valeur.isEmpty()) return valeur.toStdString();
  }
  return "/tmp";
}

void AttendEvenements(TBoucleEvenements& boucle, std::int64_t fin) {
  const std::int64_t reste = fin - boucle.Millisecondes();
  boucle.TraiteEvenements(static_cast<int>(std::clamp<std::int64_t>(reste, 1, 50)));
}
}  // namespace

TLiaisonIPCQt::TLiaisonIPCQt(TBoucleEvenements& boucle, std::string dossier)
    : boucle_(boucle), dossier_(dossier.empty() ? DossierParDefaut() : std::move(dossier)) {
  while (dossier_.size() > 1 && dossier_.back() == '/') dossier_.pop_back();
}

TLiaisonIPCQt::~TLiaisonIPCQt() { ArreteEcoute(); }

std::string TLiaisonIPCQt::NomServeur(const std::string& service, const std::string& sujet) {
  auto code = [](const std::string& texte) {
    static const char hexa[] = "0123456789ABCDEF";
    std::string r;
    for (const char c : texte) {
      const auto o = static_cast<unsigned char>(c);
      const char m = (o >= 'A' && o <= 'Z') ? static_cast<char>(o - 'A' + 'a') : c;
      if ((m >= 'a' && m <= 'z') || (m >= '0' && m <= '9') || m == '.' || m == '_') {
        r += m;
      } else {
        r += '%';
        r += hexa[o >> 4];
        r += hexa[o & 15];
      }
    }
    return r;
  };
  return "pelitrax-ipc-" + code(service) + "-" + code(sujet);
}

std::string TLiaisonIPCQt::CheminServeur(const std::string& service, const std::string& sujet) const {
  const std::string nom = NomServeur(service, sujet);
  std::string chemin = dossier_ + "/" + nom;
  if (chemin.size() <= LongueurMaxiChemin) return chemin;
  // A socket's path is bounded by the system: a long one becomes a digest (64-bit
  // FNV-1a) of the name, which every program computes alike.
  std::uint64_t h = 14695981039346656037ULL;
  for (const char c : nom) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ULL;
  }
  static const char hexa[] = "0123456789abcdef";
  std::string empreinte;
  for (int decalage = 60; decalage >= 0; decalage -= 4) empreinte += hexa[(h >> decalage) & 15];
  return dossier_ + "/pelitrax-ipc-" + empreinte;
}

bool TLiaisonIPCQt::Ecoute(const std::string& service, const std::string& sujet,
                           std::function<bool(const std::string& commande)> executer) {
  ArreteEcoute();
  if (service.empty() || !executer) return false;
  const QString chemin = QString::fromStdString(CheminServeur(service, sujet));
  QDir().mkpath(QString::fromStdString(dossier_));
  {
    // A socket file may be left by a program that died; one that answers is not.
    QLocalSocket essai;
    essai.connectToServer(chemin);
    if (essai.waitForConnected(200)) {
      essai.abort();
      return false;
    }
  }
  QFile::remove(chemin);
  auto serveur = std::make_shared<TServeur>(std::move(executer));
  if (!serveur->Demarre(chemin)) return false;
  serveur_ = std::move(serveur);
  return true;
}

void TLiaisonIPCQt::ArreteEcoute() { serveur_.reset(); }

TLiaisonIPC::TResultat TLiaisonIPCQt::Execute(const std::string& service, const std::string& sujet,
                                              const std::string& item, const std::string& commande,
                                              int delaiMs) {
  const std::int64_t fin = boucle_.Millisecondes() + std::max(delaiMs, 0);
  QLocalSocket socket;
  bool erreur = false;
  QObject::connect(&socket, &QLocalSocket::errorOccurred, &socket, [&erreur](QLocalSocket::LocalSocketError) {
    erreur = true;
  });
  socket.connectToServer(QString::fromStdString(CheminServeur(service, sujet)));
  // The loop goes on while connecting and waiting: the server may be this program.
  while (socket.state() != QLocalSocket::ConnectedState) {
    if (erreur || socket.state() == QLocalSocket::UnconnectedState || boucle_.Millisecondes() >= fin ||
        boucle_.QuitteDemande()) {
      socket.abort();
      return TResultat::PasDeServeur;
    }
    AttendEvenements(boucle_, fin);
  }
  // The command goes up to its first zero byte, as the server reads it.
  QByteArray message(commande.data(), static_cast<qsizetype>(commande.find('\0') == std::string::npos
                                                                   ? commande.size()
                                                                   : commande.find('\0')));
  message.append('\0');
  socket.write(message);
  socket.flush();
  while (socket.bytesAvailable() < 1) {
    if (socket.state() != QLocalSocket::ConnectedState || boucle_.Millisecondes() >= fin ||
        boucle_.QuitteDemande())
      break;
    AttendEvenements(boucle_, fin);
  }
  char reponse = 0;
  if (socket.bytesAvailable() >= 1) socket.read(&reponse, 1);
  socket.abort();
  return reponse == '1' ? TResultat::Accepte : TResultat::Refuse;
}
