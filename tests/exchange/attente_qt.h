// The Qt side of the link's tests: the one application object of the process, and
// the loop run until something happened.
#pragma once

#include <functional>

#include "platform/qt/boucle_qt.h"
#include "tools/application_qt.h"

// Runs the loop until `fait` or `ms` elapsed; true when done.
inline bool AttendQue(TBoucleQt& boucle, const std::function<bool()>& fait, int ms = 5000) {
  const auto fin = boucle.Millisecondes() + ms;
  while (!fait()) {
    if (boucle.Millisecondes() >= fin) return false;
    boucle.TraiteEvenements(20);
  }
  return true;
}
