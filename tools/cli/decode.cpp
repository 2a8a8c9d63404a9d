// pelitrax-cli decode: frames read on standard input, one a line in the escape
// notation of the device file, decoded by one definition of a device file.
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/aide.h"
#include "cli/commandes.h"
#include "cli/controles.h"
#include "instruments/appareil.h"
#include "instruments/base_appareils.h"
#include "instruments/commande.h"
#include "util/ini.h"
#include "util/fichiers.h"
#include "util/nombres.h"
#include "util/regional_courant.h"
#include "util/textes.h"

namespace {

// The decimal separator chosen on the command line; no date is ever shown here.
class TRegionalDecode : public TParametresRegionaux {
public:
  explicit TRegionalDecode(char separateur) : separateur_(separateur) {}
  char SeparateurDecimal() const override { return separateur_; }
  std::string DateCourte(double) const override { return {}; }
  std::string HeureLongue(double) const override { return {}; }

private:
  char separateur_;
};

// Keeps the separator installed for the command's lifetime only.
class TRegionalInstalle {
public:
  explicit TRegionalInstalle(const TParametresRegionaux* r) { InstalleRegional(r); }
  ~TRegionalInstalle() { InstalleRegional(nullptr); }
  TRegionalInstalle(const TRegionalInstalle&) = delete;
  TRegionalInstalle& operator=(const TRegionalInstalle&) = delete;
};

// A frame is a few hundred bytes: what a line holds beyond this is read and dropped,
// so that an input without line ends cannot fill the memory.
constexpr std::size_t LongueurMaxiLigne = 4096;

// The next line of the input without its LF, at most LongueurMaxiLigne bytes of it;
// false at the end of the input.
bool LitLigneBornee(std::streambuf& entree, std::string& ligne) {
  ligne.clear();
  bool lu = false;
  for (int c; (c = entree.sbumpc()) != std::char_traits<char>::eof();) {
    lu = true;
    if (c == '\n') return true;
    if (ligne.size() < LongueurMaxiLigne) ligne += static_cast<char>(c);
  }
  return lu;
}

int Usage() {
  AfficheUsage("decode");
  return 2;
}

}  // namespace

int CommandeDecode(int argc, char** argv) {
  std::string cheminIni, nomAppareil;
  char decimal = '.';
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string valeur = argv[++i];
    if (option == "--ini") {
      cheminIni = valeur;
    } else if (option == "--appareil") {
      nomAppareil = valeur;
    } else if (option == "--decimal" && (valeur == "," || valeur == ".")) {
      decimal = valeur[0];
    } else {
      return Usage();
    }
  }
  if (cheminIni.empty() || nomAppareil.empty()) return Usage();

  // Installed before the file is read: its reals are written with this separator.
  const TRegionalDecode regional(decimal);
  const TRegionalInstalle installe(&regional);
  if (const auto message = MessageFichierEntree("Fichier d'appareils", cheminIni)) {
    std::fprintf(stderr, "%s\n", message->c_str());
    return 2;
  }
  const TFichierIni ini(cheminIni);
  // The index lists the models; it is none itself.
  if (!ini.SectionExiste(nomAppareil) || EgalSansCasse(nomAppareil, TBaseAppareils::SectionIndex)) {
    std::fprintf(stderr, "Appareil inconnu dans %s : %s\n", cheminIni.c_str(), nomAppareil.c_str());
    return 2;
  }
  Tappareil appareil;
  appareil.LitIni(nomAppareil, ini);
  NormaliseGrandeur(appareil);

  // One definition for the whole input: the previous value and the stability
  // buffer carry over from frame to frame, as on a channel.
  std::string ligne;
  std::streambuf& entree = *std::cin.rdbuf();
  while (LitLigneBornee(entree, ligne)) {
    if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();  // a file edited on Windows
    appareil.ChaineLue = DecodeCommande(ligne);
    appareil.SetValeurCourante();
    const std::string sortie = appareil.NomValeurUniteCourante() + '\t' +
                               FormatNombrePoint(appareil.ValeurCourante) + '\t' +
                               (appareil.isStable() ? "stable" : "instable") + '\t' +
                               (appareil.depassement ? "1" : "0") + '\n';
    std::fwrite(sortie.data(), 1, sortie.size(), stdout);
    std::fflush(stdout);
  }
  if (std::cin.bad()) {
    std::fprintf(stderr, "Erreur de lecture de l'entrée\n");
    return 1;
  }
  if (std::ferror(stdout)) {
    std::fprintf(stderr, "Erreur d'écriture de la sortie\n");
    return 1;
  }
  return 0;
}
