// pelitrax-cli demarrage: the program's start-up sequence without a window, and what
// it found (documents folder, units, libraries with the USB meters and the box, device
// database, burette, ports).
#include <QCoreApplication>

#include <cstdio>
#include <string>

#include "cli/commandes.h"
#include "cli/plateforme_console.h"
#include "core/demarrage.h"
#include "links/table_ports.h"
#include "util/regional_courant.h"

int CommandeDemarrage(int argc, char** argv) {
  if (argc > 1) {
    std::fprintf(stderr, "Usage : pelitrax-cli demarrage\n");
    return 2;
  }
  QCoreApplication application(argc, argv);
  // The libraries' messages (a meter not connected) go to the standard error.
  TPlateformeConsole plateforme(false);
  InstalleRegional(&plateforme.regional);
  TDemarrage d = Demarre(plateforme.Plateforme());
  // What the window's first activation would find.
  if (d.adaptateurs->UsbCharge()) d.adaptateurs->EnumereUSB();
  for (const std::string& ligne : RapportDemarrage(d)) std::printf("%s\n", ligne.c_str());
  if (!d.messageArret.empty()) return 1;
  TTablePorts table(plateforme.serie, &plateforme.reglages, LectureEnvironnementSysteme);
  std::printf("Ports série : %zu\n", table.Entrees().size());
  for (const TEntreePort& e : table.Entrees()) std::printf("  COM%d = %s\n", e.com, e.chemin.c_str());
  InstalleRegional(nullptr);
  return 0;
}
