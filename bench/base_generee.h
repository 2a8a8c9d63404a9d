// A device file generated for the benchmarks: models in five kinds, each section with
// every key the file stores, the burette, and the index.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "util/cp1252.h"
#include "util/fichiers.h"

namespace bench {

// One model's section with every key the device file stores, in five kinds that
// take the decoder's different paths: a polled pH meter, a 16-character balance, a
// conductimeter reading its unit, a self-transmitting meter, a thermometer whose
// value is the second number.
inline std::string Section(int k) {
  struct Genre {
    const char* nom;
    const char* grandeur;
    const char* symbole;
    const char* unite;
    const char* reglages;
  };
  static const Genre genres[] = {
      {"pH-mètre", "pH", "pH", "",
       "Fixe=0\nDebut=0\nNombreCarac=1\nContinu=0\nDemande=PH?|CR|\nLireCoeffUnite=0\nLireNomUnite=0\n"
       "Numero=1\nTexteVerif=\nNumVerif=0\n"},
      {"balance", "masse", "m", "g",
       "Fixe=1\nDebut=1\nNombreCarac=16\nContinu=0\nDemande=|ESC|P\nLireCoeffUnite=0\nLireNomUnite=0\n"
       "Numero=1\nTexteVerif=g\nNumVerif=12\n"},
      {"conductimètre", "conductivité", "σ", "S/cm",
       "Fixe=0\nDebut=0\nNombreCarac=1\nContinu=0\nDemande=?D|CR|\nLireCoeffUnite=1\nLireNomUnite=1\n"
       "Numero=1\nTexteVerif=S\nNumVerif=2\n"},
      {"pH-mètre à impression", "pH", "pH", "",
       "Fixe=0\nDebut=2\nNombreCarac=1\nContinu=1\nDemande=p\nLireCoeffUnite=0\nLireNomUnite=0\n"
       "Numero=1\nTexteVerif=\nNumVerif=0\n"},
      {"thermomètre", "température", "θ", "°C",
       "Fixe=0\nDebut=0\nNombreCarac=1\nContinu=0\nDemande=T?|CR||LF|\nLireCoeffUnite=0\nLireNomUnite=0\n"
       "Numero=2\nTexteVerif=oC\nNumVerif=1\n"},
  };

  const Genre& g = genres[k % 5];
  char nom[96];
  std::snprintf(nom, sizeof nom, "Modèle %03d %s", k, g.nom);
  std::string s = "; model " + std::to_string(k) + "\n[" + nom + "]\n";
  s += std::string("Nom=") + g.grandeur + "\nSymbole=" + g.symbole + "\nUnité=" + g.unite + "\n";
  s += "Precision=4\nMini=0\nMaxi=" + std::to_string(14 + k) + "\nCom=" + std::to_string(1 + k % 16) + "\n";
  s += "Baud=" + std::to_string(k % 2 ? 9600 : 2400) + "\nDataBits=8\nParity=0\nStopBits=1\nRTS=0\nXonXoff=0\n";
  s += g.reglages;
  s += "Delai=100\nNombreLigne=1\nSéparateur=0\nFiltreDepasse=0\nDemandeBis=\nInitialisation=\nDeblocage=\n";
  s += "STAB=0\nCalibre=0\na=0\nb=1\nDiff=0\nCalibreApp=1\nCoeffCalibreApp1=1\nCoeffCalibreApp2=1\n";
  s += "CoeffCalibreApp3=1\nCoeffCalibreApp4=1\nDerive=0.01\nisSysam=0\n";
  s += "1=Modèle de la base de mesure, ligne d'aide une\n2=Brancher sur le port indiqué\n\n";
  return s;
}

inline std::string NomSection(int k) {
  const std::string s = Section(k);
  const auto a = s.find('[');
  return s.substr(a + 1, s.find(']') - a - 1);
}

// Writes a device file of `modeles` models and the burette, Windows-1252 as on disk,
// as RS232.INI into the folder.
inline bool EcritBase(const std::filesystem::path& dossier, int modeles) {
  std::string texte;
  for (int k = 0; k < modeles; ++k) texte += Section(k);
  texte +=
      "[BuretteRS232]\nNom=Volume du titrant\nUnité=mL\nPrecision=5\nMini=0\nMaxi=20\nCom=1\nBaud=4800\n"
      "DataBits=7\nParity=0\nStopBits=2\nContinu=1\nDemande=01V=\nDebut=5\nSymbole=V\n\n[Index]\n";
  for (int k = 0; k < modeles; ++k) texte += std::to_string(k) + "=" + NomSection(k) + "\n";
  std::string crlf;
  for (char c : texte) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::filesystem::create_directories(dossier);
  return EcritFichierSur((dossier / "RS232.INI").string(), Utf8VersCp1252(crlf));
}

}  // namespace bench
