// Tick timers and the dispatching wait.
#include "util/ticks.h"

#include <algorithm>

std::int64_t TicksCourants(const TBoucleEvenements& boucle) {
  return boucle.Millisecondes() / MillisecondesParTick;
}

void DemarreTempo(const TBoucleEvenements& boucle, TTempo& tempo, std::int64_t n) {
  tempo.debut = TicksCourants(boucle);
  tempo.expiration = tempo.debut + std::min(n, TicksMaxi);
}

bool TempoEcoulee(const TBoucleEvenements& boucle, const TTempo& tempo) {
  return tempo.expiration < TicksCourants(boucle);
}

void AttenteTicks(TBoucleEvenements& boucle, std::int64_t n) {
  if (n < 1) return;
  TTempo tempo;
  DemarreTempo(boucle, tempo, n);
  // The first instant of tick expiration + 1, when the timer counts as expired.
  const std::int64_t finMs = (tempo.expiration + 1) * MillisecondesParTick;
  while (!TempoEcoulee(boucle, tempo) && !boucle.QuitteDemande()) {
    const std::int64_t reste = finMs - boucle.Millisecondes();
    boucle.TraiteEvenements(static_cast<int>(std::clamp<std::int64_t>(reste, 1, 1000)));
  }
}
