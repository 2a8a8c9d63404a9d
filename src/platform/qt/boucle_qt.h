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

private:
  QElapsedTimer horloge_;
  bool quitte_ = false;
};
