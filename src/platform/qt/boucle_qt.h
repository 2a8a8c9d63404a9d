// The real event loop: Qt timers and event dispatching. Needs a QCoreApplication.
#pragma once

#include <QElapsedTimer>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/boucle.h"

class QTimer;

class TBoucleQt final : public TBoucleEvenements {
public:
  TBoucleQt();
  ~TBoucleQt() override;
  std::int64_t Millisecondes() const override { return horloge_.elapsed(); }
  double DateHeure() const override;
  std::unique_ptr<TMinuterie> CreeMinuterie() override;
  void Poste(std::function<void()> message) override;
  void TraiteEvenements(int delaiMaxMs) override;
  void AttendEvenement() override;
  bool QuitteDemande() const override { return quitte_; }
  void DemandeQuitter() override;

  // Receives the message of an exception that escaped a timer callback or a posted
  // message; without one it goes to the standard error.
  void SetGestionnaireErreur(std::function<void(const std::string&)> gestionnaire);
  // Runs `action`, turning an escaping exception into a call of the error handler.
  static void Protege(const std::function<void()>& action);

private:
  void Attend();

  QElapsedTimer horloge_;
  bool quitte_ = false;
  // Messages posted through Poste that have run: tells a wait that something happened.
  std::shared_ptr<std::uint64_t> executes_ = std::make_shared<std::uint64_t>(0);
  // The wake-up of a bounded wait, one per nesting depth (a handler may wait inside a
  // wait), made once and restarted rather than built at each pass.
  std::vector<std::unique_ptr<QTimer>> reveils_;
  std::size_t profondeur_ = 0;
};
