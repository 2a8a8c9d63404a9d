// Pseudo-terminal serving of the bench instruments.
#include "banc/banc_pty.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>

#include "util/durees.h"

namespace {
std::int64_t MsMonotones() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

double MaintenantLocal() {
  using namespace std::chrono;
  const auto t = system_clock::now();
  const std::time_t s = system_clock::to_time_t(t);
  std::tm l{};
  localtime_r(&s, &l);
  const int ms = static_cast<int>(duration_cast<milliseconds>(t.time_since_epoch()).count() % 1000);
  return EncodeDateHeure(l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour, l.tm_min, l.tm_sec, ms);
}
}  // namespace

TBancPty::TBancPty() : eveil_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), origine_(MsMonotones()), origineDate_(MaintenantLocal()) {}

TBancPty::~TBancPty() {
  Arrete();
  for (Poste& p : postes_) FermePoste(p);
  if (eveil_ >= 0) ::close(eveil_);
}

std::int64_t TBancPty::Millisecondes() const { return MsMonotones() - origine_; }

std::string TBancPty::Ajoute(std::unique_ptr<TInstrumentBanc> instrument) {
  Poste p;
  p.maitre = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (p.maitre < 0) return {};
  char nom[128];
  if (::grantpt(p.maitre) != 0 || ::unlockpt(p.maitre) != 0 || ::ptsname_r(p.maitre, nom, sizeof nom) != 0) {
    FermePoste(p);
    return {};
  }
  p.chemin = nom;
  p.esclave = ::open(nom, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (p.esclave < 0) {
    FermePoste(p);
    return {};
  }
  // Raw from the start: no echo of the instrument's own bytes before a port opens.
  termios t{};
  if (::tcgetattr(p.esclave, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(p.esclave, TCSANOW, &t);
  }
  // Nobody reading for about two seconds of line: the bytes are dropped, as a serial
  // line drops what no port listens to.
  p.seuilPurge = std::max<std::size_t>(256, static_cast<std::size_t>(instrument->Ligne().baud) / 5);
  if (auto* cadence = dynamic_cast<TInstrumentCadence*>(instrument.get())) cadence->SetOrigineDate(origineDate_);
  p.instrument = std::move(instrument);
  std::string chemin = p.chemin;
  {
    std::lock_guard verrou(mutex_);
    postes_.push_back(std::move(p));
  }
  Reveille();
  return chemin;
}

void TBancPty::FermePoste(Poste& p) {
  if (p.maitre >= 0) ::close(p.maitre);
  if (p.esclave >= 0) ::close(p.esclave);
  p.maitre = p.esclave = -1;
}

void TBancPty::Demarre() {
  if (fil_.joinable()) return;
  arret_ = false;
  fil_ = std::thread([this] { Boucle(); });
}

void TBancPty::Arrete() {
  if (!fil_.joinable()) return;
  arret_ = true;
  Reveille();
  fil_.join();
}

void TBancPty::Reveille() {
  const std::uint64_t un = 1;
  if (eveil_ >= 0) [[maybe_unused]] auto n = ::write(eveil_, &un, sizeof un);
}

void TBancPty::Ferme(std::size_t i) {
  {
    std::lock_guard verrou(mutex_);
    if (i < postes_.size()) FermePoste(postes_[i]);
  }
  Reveille();
}

void TBancPty::Agit(std::size_t i, const std::function<void(TInstrumentBanc&, std::int64_t)>& action) {
  {
    std::lock_guard verrou(mutex_);
    if (i < postes_.size() && postes_[i].instrument) action(*postes_[i].instrument, Millisecondes());
  }
  Reveille();
}

std::size_t TBancPty::Nombre() const {
  std::lock_guard verrou(mutex_);
  return postes_.size();
}

std::string TBancPty::Chemin(std::size_t i) const {
  std::lock_guard verrou(mutex_);
  return i < postes_.size() ? postes_[i].chemin : std::string();
}

void TBancPty::Boucle() {
  std::vector<pollfd> attente;
  std::vector<std::size_t> indices;
  while (!arret_) {
    int delai = 1000;
    attente.assign(1, pollfd{eveil_, POLLIN, 0});
    indices.assign(1, SIZE_MAX);
    {
      std::lock_guard verrou(mutex_);
      const std::int64_t maintenant = Millisecondes();
      for (std::size_t i = 0; i < postes_.size(); ++i) {
        const Poste& p = postes_[i];
        if (p.maitre < 0) continue;
        attente.push_back(pollfd{p.maitre, POLLIN, 0});
        indices.push_back(i);
        if (auto prochain = p.instrument->ProchainInstant())
          delai = static_cast<int>(std::clamp<std::int64_t>(*prochain - maintenant, 0, delai));
      }
    }
    ::poll(attente.data(), attente.size(), delai);
    if (attente[0].revents & POLLIN) {
      std::uint64_t n;
      [[maybe_unused]] auto lu = ::read(eveil_, &n, sizeof n);
    }
    std::lock_guard verrou(mutex_);
    const std::int64_t maintenant = Millisecondes();
    for (std::size_t k = 1; k < attente.size(); ++k) {
      Poste& p = postes_[indices[k]];
      if (p.maitre < 0 || p.maitre != attente[k].fd) continue;
      if (attente[k].revents & POLLIN) {
        char tampon[512];
        const ssize_t n = ::read(p.maitre, tampon, sizeof tampon);
        if (n > 0) p.instrument->Recoit(maintenant, std::string_view(tampon, static_cast<std::size_t>(n)));
      }
    }
    for (Poste& p : postes_) {
      if (p.maitre < 0) continue;
      const std::string octets = p.instrument->Sortie(maintenant);
      if (!octets.empty()) {
        // A full pseudo-terminal drops the rest, as an unread line would.
        [[maybe_unused]] auto ecrits = ::write(p.maitre, octets.data(), octets.size());
      }
      int enAttente = 0;
      if (::ioctl(p.esclave, FIONREAD, &enAttente) == 0 && static_cast<std::size_t>(enAttente) > p.seuilPurge)
        ::tcflush(p.esclave, TCIFLUSH);
    }
  }
}
