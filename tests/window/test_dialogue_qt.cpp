// The real message boxes: a fault told while acquiring stays on screen without
// holding the caller, as a modal box would.
#include <QMessageBox>

#include "platform/qt/graphique/services_bureau_qt.h"
#include "window/application_widgets.h"

TEST(DialogueQt, SignaleMontreSansAttendre) {
  ApplicationWidgets();
  TDialogueQt dialogue("Acquisition RS232");
  // A modal box would not return before someone closes it.
  dialogue.Signale("COM4 : liaison perdue avec /dev/pts/9 (appareil retiré) ; le port est fermé");
  QMessageBox* boite = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) boite = b;
  ASSERT_NE(boite, nullptr);
  EXPECT_FALSE(boite->isModal());
  EXPECT_EQ(boite->windowTitle(), "Acquisition RS232");
  EXPECT_TRUE(boite->text().startsWith("COM4 : liaison perdue")) << boite->text().toStdString();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  boite->close();
}
