// The loop of a test run until something happened, with a bound.
#pragma once

#include <functional>

#include "platform/boucle.h"

// Runs the loop until `fait` or `ms` elapsed; true when done.
inline bool AttendQue(TBoucleEvenements& boucle, const std::function<bool()>& fait, int ms = 5000) {
  const auto fin = boucle.Millisecondes() + ms;
  while (!fait()) {
    if (boucle.Millisecondes() >= fin) return false;
    boucle.TraiteEvenements(20);
  }
  return true;
}
