// The real event loop: Qt timers and event dispatching. Needs a QCoreApplication.
#pragma once

#include <QElapsedTimer>

#include "platform/boucle.h"

class TBoucleQt final : public TBoucleEvenements {
public:
  TBoucleQt();
  std::int64_t Millisecondes() const override { return horloge_.elapsed(); }
  double DateHeure() const override;
  std::unique_ptr<TMinuterie> CreeMinuterie() override;
  void Poste(std::function<void()> message) override;
  void TraiteEvenements(int delaiMaxMs) override;
  bool QuitteDemande() const override { return quitte_; }
  void DemandeQuitter() override;

  // Receives the message of an exception that escaped a timer callback or a posted
  // message; without one it goes to the standard error.
  void SetGestionnaireErreur(std::function<void(const std::string&)> gestionnaire);
  // Runs `action`, turning an escaping exception into a call of the error handler.
  static void Protege(const std::function<void()>& action);

private:
  QElapsedTimer horloge_;
  bool quitte_ = false;
};
