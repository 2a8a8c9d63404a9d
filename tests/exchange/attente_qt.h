// The Qt side of the link's tests: one application object for the process, and the
// loop run until something happened.
#pragma once

#include <QCoreApplication>

#include <functional>

#include "platform/qt/boucle_qt.h"

inline void AssureApplication() {
  static int argc = 1;
  static char nom[] = "test";
  static char* argv[] = {nom, nullptr};
  static QCoreApplication application(argc, argv);
}

// Runs the loop until `fait` or `ms` elapsed; true when done.
inline bool AttendQue(TBoucleQt& boucle, const std::function<bool()>& fait, int ms = 5000) {
  const auto fin = boucle.Millisecondes() + ms;
  while (!fait()) {
    if (boucle.Millisecondes() >= fin) return false;
    boucle.TraiteEvenements(20);
  }
  return true;
}
