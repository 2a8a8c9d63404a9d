// The one QCoreApplication of a test program that runs other programs with QProcess.
#pragma once

#include <QCoreApplication>

inline void AssureApplicationQt() {
  static int argc = 1;
  static char nom[] = "test";
  static char* argv[] = {nom, nullptr};
  static QCoreApplication application(argc, argv);
}
