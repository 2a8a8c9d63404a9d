// Qt event loop seam: QTimer for timers, queued calls for posted messages, and waits
// that sleep in the dispatcher until an event comes (bounded by a single-shot timer
// when asked).
#include "platform/qt/boucle_qt.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "util/durees.h"

namespace {
std::function<void(const std::string&)>& GestionnaireErreur() {
  static std::function<void(const std::string&)> gestionnaire;
  return gestionnaire;
}
}  // namespace

void TBoucleQt::SetGestionnaireErreur(std::function<void(const std::string&)> gestionnaire) {
  GestionnaireErreur() = std::move(gestionnaire);
}

void TBoucleQt::Protege(const std::function<void()>& action) {
  std::string message;
  try {
    action();
    return;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "Erreur inconnue";
  }
  if (GestionnaireErreur()) GestionnaireErreur()(message);
  else std::fprintf(stderr, "%s\n", message.c_str());
}

namespace {
class TMinuterieQt final : public TMinuterie {
public:
  TMinuterieQt() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (rappel_) {
        auto rappel = rappel_;
        TBoucleQt::Protege(rappel);
      }
    });
  }
  void SetIntervalle(int ms) override { timer_.setInterval(ms < 0 ? 0 : ms); }
  int Intervalle() const override { return timer_.interval(); }
  void SetActif(bool actif) override {
    if (actif == timer_.isActive()) return;
    if (actif) timer_.start(); else timer_.stop();
  }
  bool Actif() const override { return timer_.isActive(); }
  void SetRappel(std::function<void()> rappel) override { rappel_ = std::move(rappel); }

private:
  QTimer timer_;
  std::function<void()> rappel_;
};
}  // namespace

TBoucleQt::TBoucleQt() { horloge_.start(); }
TBoucleQt::~TBoucleQt() = default;

double TBoucleQt::DateHeure() const {
  // localtime_r rather than QDateTime: the latter reads the time zone again (a stat
  // of its file) at every call, and the cycle asks the time for each frame.
  const std::int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
  const std::time_t s = static_cast<std::time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
  std::tm local{};
  if (!::localtime_r(&s, &local)) return 0;
  return EncodeDateHeure(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                         local.tm_sec, static_cast<int>(ms - static_cast<std::int64_t>(s) * 1000));
}

std::unique_ptr<TMinuterie> TBoucleQt::CreeMinuterie() { return std::make_unique<TMinuterieQt>(); }

void TBoucleQt::Poste(std::function<void()> message) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [m = std::move(message), executes = executes_] {
        ++*executes;
        Protege(m);
      },
      Qt::QueuedConnection);
}

// Runs the posted messages; when none was waiting, sleeps in the dispatcher until an
// event comes (timer, device, notifier, a message posted from elsewhere), then runs
// what that event posted.
void TBoucleQt::Attend() {
  const std::uint64_t avant = *executes_;
  QCoreApplication::sendPostedEvents();
  if (*executes_ != avant) return;  // something happened: the caller looks again
  if (auto* distributeur = QThread::currentThread()->eventDispatcher())
    distributeur->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  QCoreApplication::sendPostedEvents();
}

void TBoucleQt::TraiteEvenements(int delaiMaxMs) {
  if (delaiMaxMs <= 0) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return;
  }
  // At most delaiMaxMs: the single-shot timer wakes the dispatcher when nothing else does.
  if (profondeur_ == reveils_.size()) {
    auto reveil = std::make_unique<QTimer>();
    reveil->setSingleShot(true);
    reveil->setTimerType(Qt::PreciseTimer);
    reveils_.push_back(std::move(reveil));
  }
  QTimer& reveil = *reveils_[profondeur_];
  struct Niveau {
    std::size_t& profondeur;
    QTimer& reveil;
    ~Niveau() {
      reveil.stop();  // an early wake leaves no timer to fire later
      --profondeur;
    }
  } niveau{++profondeur_, reveil};
  reveil.start(delaiMaxMs);
  Attend();
}

void TBoucleQt::AttendEvenement() { Attend(); }

void TBoucleQt::DemandeQuitter() {
  quitte_ = true;
  QCoreApplication::quit();
}
