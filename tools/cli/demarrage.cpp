// pelitrax-cli demarrage: the program's start-up sequence without a window, and what
// it found (documents folder, units, libraries, device database, burette, ports).
#include <QCoreApplication>

#include <cstdio>
#include <string>

#include "cli/commandes.h"
#include "core/demarrage.h"
#include "links/table_ports.h"
#include "platform/qt/plateforme_qt.h"
#include "util/regional_courant.h"

int CommandeDemarrage(int argc, char** argv) {
  if (argc > 1) {
    std::fprintf(stderr, "Usage : pelitrax-cli demarrage\n");
    return 2;
  }
  QCoreApplication application(argc, argv);
  TPlateformeQt plateforme;
  InstalleRegional(&plateforme.regional);
  const TDemarrage d = Demarre(plateforme.Plateforme());
  for (const std::string& ligne : RapportDemarrage(d)) std::printf("%s\n", ligne.c_str());
  if (!d.messageArret.empty()) return 1;
  TTablePorts table(plateforme.serie, &plateforme.reglages, LectureEnvironnementSysteme);
  std::printf("Ports série : %zu\n", table.Entrees().size());
  for (const TEntreePort& e : table.Entrees()) std::printf("  COM%d = %s\n", e.com, e.chemin.c_str());
  InstalleRegional(nullptr);
  return 0;
}
