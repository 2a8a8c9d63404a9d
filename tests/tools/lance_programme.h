// A program of the project run to its end by a test.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <string>

struct TResultatProgramme {
  int statut = -1;  // its exit code; -1 when it crashed or ran past its delay
  std::string sortie, erreurs;
};

// `entree` on its standard input, which is then closed. A program that does not
// start, or does not end within `delaiMs` (it is then killed), fails the test.
inline TResultatProgramme LanceProgramme(const QString& programme, const QStringList& arguments,
                                         const QProcessEnvironment& environnement = QProcessEnvironment::systemEnvironment(),
                                         int delaiMs = 60000, const std::string& entree = {}) {
  QProcess p;
  p.setProcessEnvironment(environnement);
  p.start(programme, arguments);
  EXPECT_TRUE(p.waitForStarted(5000)) << programme.toStdString();
  if (!entree.empty()) p.write(entree.data(), static_cast<qint64>(entree.size()));
  p.closeWriteChannel();
  if (!p.waitForFinished(delaiMs)) {
    ADD_FAILURE() << programme.toStdString() << " : délai dépassé";
    p.kill();
    p.waitForFinished(5000);
    return {-1, p.readAllStandardOutput().toStdString(), "délai dépassé\n" + p.readAllStandardError().toStdString()};
  }
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
          p.readAllStandardError().toStdString()};
}
