// The one QApplication of a widget test program (offscreen), and the helpers that
// drive modal dialogs and wait on conditions with a bound.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

// The application lives from before the first test to after the last, and is
// destroyed before the program's static objects (Qt's own among them) are.
class TEnvironnementWidgets final : public ::testing::Environment {
public:
  void SetUp() override {
    // Offscreen even when the test is run by hand from a desktop session.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nom[] = "test";
    static char* argv[] = {nom, nullptr};
    application_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { application_.reset(); }
  static QApplication& Application() { return *application_; }

private:
  static inline std::unique_ptr<QApplication> application_;
};
inline ::testing::Environment* const EnvironnementWidgets = ::testing::AddGlobalTestEnvironment(new TEnvironnementWidgets);

inline QApplication& ApplicationWidgets() { return TEnvironnementWidgets::Application(); }

// Dispatches events until `condition` holds or `delaiMs` has passed; the condition's
// last value.
inline bool AttendQue(const std::function<bool()>& condition, int delaiMs = 5000) {
  QElapsedTimer horloge;
  horloge.start();
  while (!condition()) {
    if (horloge.elapsed() > delaiMs) return condition();
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(10);
  }
  return true;
}

// Runs `action` on the next modal dialog of type T once it shows, from inside its
// event loop; a dialog that does not show within the bound fails the test.
template <class T> void QuandModal(std::function<void(T&)> action, int delaiMs = 10000) {
  auto* minuterie = new QTimer;
  auto* horloge = new QElapsedTimer;
  horloge->start();
  minuterie->setInterval(10);
  QObject::connect(minuterie, &QTimer::timeout, [minuterie, horloge, action, delaiMs] {
    if (auto* d = dynamic_cast<T*>(QApplication::activeModalWidget()); d && d->isVisible()) {
      minuterie->stop();
      minuterie->deleteLater();
      delete horloge;
      // Once laid out and on screen: clicks land where the controls are drawn.
      if (!QTest::qWaitForWindowExposed(d)) ADD_FAILURE() << "boîte de dialogue jamais affichée";
      QApplication::processEvents();
      action(*d);
      return;
    }
    if (horloge->elapsed() > delaiMs) {
      minuterie->stop();
      minuterie->deleteLater();
      delete horloge;
      ADD_FAILURE() << "aucune boîte de dialogue attendue ne s'est ouverte";
      if (auto* autre = qobject_cast<QDialog*>(QApplication::activeModalWidget())) autre->reject();
    }
  });
  minuterie->start();
}

// Clicks the item `texte` of the drop-down menu that the next click opens.
inline void QuandMenu(const QString& texte, int delaiMs = 5000) {
  auto* minuterie = new QTimer;
  auto* horloge = new QElapsedTimer;
  horloge->start();
  minuterie->setInterval(10);
  QObject::connect(minuterie, &QTimer::timeout, [minuterie, horloge, texte, delaiMs] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu && menu->isVisible()) {
      for (QAction* a : menu->actions())
        if (a->text() == texte) {
          minuterie->stop();
          minuterie->deleteLater();
          delete horloge;
          QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
          return;
        }
    }
    if (horloge->elapsed() > delaiMs) {
      minuterie->stop();
      minuterie->deleteLater();
      delete horloge;
      ADD_FAILURE() << "menu sans l'article " << texte.toStdString();
      if (menu) menu->close();
    }
  });
  minuterie->start();
}

// Opens a drop-down list with a click and clicks its item `texte`.
inline bool ChoisitDansListe(QComboBox* liste, const QString& texte) {
  const int index = liste->findText(texte);
  if (index < 0) {
    ADD_FAILURE() << "pas d'article " << texte.toStdString() << " dans la liste";
    return false;
  }
  QTest::mouseClick(liste, Qt::LeftButton);
  auto* vue = liste->view();
  if (!AttendQue([vue] { return vue->isVisible(); }, 2000)) {
    ADD_FAILURE() << "la liste ne s'est pas déroulée";
    return false;
  }
  // The list ignores a release right after it opened (the opening click's own).
  QTest::qWait(QApplication::doubleClickInterval() + 100);
  vue->scrollTo(liste->model()->index(index, 0));
  QTest::mouseClick(vue->viewport(), Qt::LeftButton, {}, vue->visualRect(liste->model()->index(index, 0)).center());
  if (!AttendQue([vue] { return !vue->isVisible(); }, 2000)) {
    ADD_FAILURE() << "la liste ne s'est pas refermée";
    return false;
  }
  return liste->currentIndex() == index;
}

// Clicks a radio button or a check box on its indicator (their click area is the
// indicator and the text, not the whole width).
inline void CliqueCase(QWidget* bouton) {
  QTest::mouseClick(bouton, Qt::LeftButton, {}, QPoint(8, bouton->height() / 2));
}

// Types characters that have no key of their own, as an input method does.
inline void TapeTexte(QWidget* w, const QString& texte) {
  for (const QChar c : texte) {
    QKeyEvent appui(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &appui);
    QKeyEvent relache(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &relache);
  }
}

// Shows a dialog without its own event loop, once it is on screen.
inline void MontreDialogue(QDialog& d) {
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  QApplication::processEvents();
}

// Saves a picture of the widget for a person to look at, under the build folder's
// artefacts; the path written.
inline std::string Capture(QWidget& widget, const std::string& nom) {
  const std::filesystem::path dossier = PELITRAX_ARTEFACTS_DIR;
  std::filesystem::create_directories(dossier);
  const std::filesystem::path chemin = dossier / (nom + ".png");
  widget.grab().save(QString::fromStdString(chemin.string()), "PNG");
  return chemin.string();
}

// Pixels of the image near the colour (each component within 40).
inline int PixelsDeCouleur(const QImage& image, QColor couleur) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - couleur.red()) < 40 && std::abs(c.green() - couleur.green()) < 40 &&
          std::abs(c.blue() - couleur.blue()) < 40)
        ++n;
    }
  return n;
}
