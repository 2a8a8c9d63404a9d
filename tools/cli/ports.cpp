// pelitrax-cli ports: the COM port table (number, device, present / busy / absent,
// where the entry comes from), as the program would see it now.
#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "cli/commandes.h"
#include "links/table_ports.h"
#include "platform/qt/serie_qt.h"
#include "platform/qt/services_qt.h"

namespace {
const char* TexteEtat(TPresence p) {
  switch (p) {
    case TPresence::Present: return "présent";
    case TPresence::Occupe: return "occupé";
    case TPresence::Absent: break;
  }
  return "absent";
}

const char* TexteOrigine(TOriginePort o) {
  switch (o) {
    case TOriginePort::Reglages: return "réglages";
    case TOriginePort::Environnement: return TTablePorts::Variable;
    case TOriginePort::Defaut: break;
  }
  return "défaut";
}

// Pads by characters, not bytes: the texts hold accented letters.
std::string Colonne(const std::string& texte, std::size_t largeur) {
  std::size_t caracteres = 0;
  for (unsigned char c : texte)
    if ((c & 0xC0) != 0x80) ++caracteres;
  return texte + std::string(caracteres < largeur ? largeur - caracteres : 1, ' ');
}
}  // namespace

int CommandePorts(int argc, char** argv) {
  if (argc > 1) {
    std::fprintf(stderr, "Usage : pelitrax-cli ports\n");
    return 2;
  }
  QCoreApplication application(argc, argv);
  TSerieQt serie;
  TReglagesQt reglages;
  TTablePorts table(serie, &reglages, LectureEnvironnementSysteme);
  for (const std::string& note : table.Anomalies()) std::fprintf(stderr, "%s\n", note.c_str());
  if (table.Entrees().empty()) {
    std::printf("Aucun port série.\n");
    return 0;
  }
  std::printf("%s\n", (Colonne("COM", 7) + Colonne("périphérique", 40) + Colonne("état", 9) + "origine").c_str());
  for (const TEntreePort& e : table.Entrees()) {
    const std::string ligne = Colonne("COM" + std::to_string(e.com), 7) + Colonne(e.chemin, 40) +
                              Colonne(TexteEtat(table.Presence(e.com)), 9) + TexteOrigine(e.origine);
    std::printf("%s\n", ligne.c_str());
  }
  return 0;
}
