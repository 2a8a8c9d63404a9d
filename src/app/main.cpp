// The desktop program: the start-up in its fixed order (documents folder, units,
// vendor libraries, device database with the burette; then the single-instance check;
// then the windows), and the message loop until the main window closes. The command
// line is not read: a file opened from the desktop is handed over as "FILE|LOAD(...)".
#include <QApplication>
#include <QIcon>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/demarrage.h"
#include "core/fichiers_donnees.h"
#include "core/instance_unique.h"
#include "core/window/programme.h"
#include "exchange/form_dde.h"
#include "links/table_ports.h"
#include "platform/qt/graphique/plateforme_qt.h"
#include "reponses_scriptees.h"
#include "util/regional_courant.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The desktop entry and the icon an install puts in the menu and the icon theme (none
  // from a build folder: the windows then keep the desktop's default).
  QGuiApplication::setDesktopFileName("org.pelitrax.Pelitrax");
  QApplication::setWindowIcon(QIcon::fromTheme("pelitrax"));
  TPlateformeQt qt;
  const char* script = std::getenv(TDialogueReponses::Variable);
  TDialogueReponses dialogue(qt.dialogue, script ? script : "");
  TPlateforme plateforme{qt.boucle, dialogue,     qt.reglages,      qt.regional, qt.shell,
                         qt.pressePapiers, qt.verrous, qt.bibliotheques, &qt.serie,   &qt.ipc};
  InstalleRegional(&qt.regional);
  qt.boucle.SetGestionnaireErreur([&dialogue](const std::string& message) { dialogue.Erreur(message); });

  TDemarrage demarrage = Demarre(plateforme);
  if (!demarrage.messageArret.empty()) {
    dialogue.Erreur(demarrage.messageArret);
    InstalleRegional(nullptr);
    return 1;
  }

  std::string executable = CheminExecutableCourant();
  if (executable.empty()) executable = QCoreApplication::applicationFilePath().toStdString();
  // The arguments left once Qt took its own: the file a desktop opened with the program.
  std::vector<std::string> arguments;
  const QStringList liste = QCoreApplication::arguments();
  for (qsizetype i = 1; i < liste.size(); ++i) arguments.push_back(liste[i].toStdString());
  TInstanceUnique instance(qt.verrous, &qt.ipc);
  const TIssueInstance issue = instance.VerifieInstanceUnique(executable, arguments);
  if (!issue.continuer) {
    InstalleRegional(nullptr);
    return 0;
  }

  QApplication::setApplicationDisplayName("Acquisition RS232");
  int resultat = 0;
  {
    TTablePorts table(qt.serie, &qt.reglages, LectureEnvironnementSysteme);
    TOptionsProgramme options;
    options.cheminExecutable = executable;
    // An installed program's package declares the file types for every user.
    options.associationBureau = qt.shell.DossierPartage().empty();
    options.adaptateurs = demarrage.adaptateurs.get();
    TProgramme programme(plateforme, *demarrage.base, table, options);
    programme.Montre();
    if (!issue.commandeDepart.empty()) {
      // Once the loop runs, as the command of a desktop would arrive.
      const std::string commande = issue.commandeDepart;
      qt.boucle.Poste([&programme, commande] { programme.DDE().RecoitCommande(commande); });
    }
    resultat = QApplication::exec();
  }
  InstalleRegional(nullptr);
  return resultat;
}
