// Instrument definition: defaults, its section of a device file, copying, the prefix
// of its unit and the texts that name its value.
#include "instruments/appareil.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "instruments/commande.h"
#include "util/ini.h"
#include "util/regional_courant.h"

namespace {

template <typename T>
T Borne(std::int64_t v, std::int64_t mini, std::int64_t maxi) {
  return static_cast<T>(std::clamp(v, mini, maxi));
}

constexpr std::int64_t MiniInt32 = INT32_MIN;
constexpr std::int64_t MaxiInt32 = INT32_MAX;

// Significant digits given to the formatter: a hand-edited Precision of 0 or 40
// still shows a readable number.
int Chiffres(std::int32_t precision) { return std::clamp(precision, 1, 15); }

// Length in bytes of the UTF-8 character that starts the text.
std::size_t LongueurPremierCaractere(const std::string& t) {
  if (t.empty()) return 0;
  const auto b = static_cast<unsigned char>(t[0]);
  std::size_t n = 1;
  if (b >= 0xC0 && b <= 0xDF) n = 2;
  else if (b >= 0xE0 && b <= 0xEF) n = 3;
  else if (b >= 0xF0 && b <= 0xF7) n = 4;
  return std::min(n, t.size());
}

bool EstLettreAscii(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The escape notation as stored in the file. The reader of the file drops blanks at
// both ends of a value, so those blanks are written as a name ("|SP|") that the
// notation reads back as a blank, like any name it does not know.
std::string CodePourFichier(const std::string& octets) {
  std::string texte = CodeCommande(octets);
  std::size_t debut = 0;
  while (debut < texte.size() && texte[debut] == ' ') ++debut;
  std::size_t fin = texte.size();
  while (fin > debut && texte[fin - 1] == ' ') --fin;
  std::string r;
  for (std::size_t i = 0; i < debut; ++i) r += "|SP|";
  r += texte.substr(debut, fin - debut);
  for (std::size_t i = fin; i < texte.size(); ++i) r += "|SP|";
  return r;
}

}  // namespace

Tappareil::Tappareil() {
  for (int i = 0; i <= 6; ++i) indiceRouleau[i] = i;
}

void Tappareil::LitIni(const std::string& Anom, const TFichierIni& Ini) {
  NomAppareil = Anom;
  const std::string& s = Anom;
  auto entier = [&](const char* cle, std::int64_t defaut) { return Ini.LitEntier(s, cle, defaut); };
  LireCoeffUnite = Ini.LitBooleen(s, "LireCoeffUnite", false);
  LireNomUnite = Ini.LitBooleen(s, "LireNomUnite", false);
  Precision = Borne<std::int32_t>(entier("Precision", 6), 1, 15);
  ValMini = Ini.LitReel(s, "Mini", 0);
  ValMaxi = Ini.LitReel(s, "Maxi", 1);
  ComNumber = Borne<std::uint16_t>(entier("Com", 1), 0, UINT16_MAX);
  Baud = Borne<std::int32_t>(entier("Baud", 9600), MiniInt32, MaxiInt32);
  DataBits = Borne<std::uint16_t>(entier("DataBits", 8), 0, UINT16_MAX);
  Parite = Borne<TParity>(entier("Parity", 0), pNone, pSpace);
  StopBits = Borne<std::uint16_t>(entier("StopBits", 1), 0, UINT16_MAX);
  RTSCTS = Ini.LitBooleen(s, "RTS", false);
  XonXoff = Ini.LitBooleen(s, "XonXoff", false);
  DebutNombre = Borne<std::int32_t>(entier("Debut", 0), MiniInt32, MaxiInt32);
  NbreCarac = Borne<std::int32_t>(entier("NombreCarac", 10), 1, MaxiInt32);
  Delai = Borne<std::uint16_t>(entier("Delai", 100), 0, UINT16_MAX);
  FormatFixe = Ini.LitBooleen(s, "Fixe", false);
  NumeroOrdre = Borne<std::uint8_t>(entier("Numero", 1), 1, UINT8_MAX);
  NbreLignes = Borne<std::uint8_t>(entier("NombreLigne", 1), 0, UINT8_MAX);
  SeparateurChiffre = static_cast<char>(Borne<std::uint8_t>(entier("Séparateur", 0), 0, UINT8_MAX));
  nomGrandeur = Ini.LitTexte(s, "Nom", nomGrandeur);
  UniteGrandeur = Ini.LitTexte(s, "Unité", UniteGrandeur);
  SymboleGrandeur = Ini.LitTexte(s, "Symbole", SymboleGrandeur);
  EnvoiDirect = Ini.LitBooleen(s, "Continu", false);
  lectureSTAB = Ini.LitBooleen(s, "STAB", false);
  FiltrageDepassement = Ini.LitBooleen(s, "FiltreDepasse", true);
  Derive = Ini.LitReel(s, "Derive", -1);
  Demande = DecodeCommande(Ini.LitTexte(s, "Demande", ""));
  DemandeBis = DecodeCommande(Ini.LitTexte(s, "DemandeBis", ""));
  ChaineInit = DecodeCommande(Ini.LitTexte(s, "Initialisation", ""));
  ChaineFin = DecodeCommande(Ini.LitTexte(s, "Deblocage", ""));
  TexteVerif = DecodeCommande(Ini.LitTexte(s, "TexteVerif", ""));
  NumeroVerif = Borne<std::int32_t>(entier("NumVerif", 0), MiniInt32, MaxiInt32);
  calibreSysam = Borne<Tcalibre>(entier("Calibre", 0), c10V, c200mV);
  // An input the box lacks is kept as such (255 for a negative one), never taken for
  // EA7 or EA0: its channel reads nothing rather than another input.
  const auto entree = entier("Numero", 0);
  indiceVoieSysam = entree < 0 ? TindiceVoie{255} : Borne<TindiceVoie>(entree, 0, 255);
  differentielSysam = Ini.LitBooleen(s, "Diff", false);
  aSysam = Ini.LitReel(s, "a", 0);
  bSysam = Ini.LitReel(s, "b", 1);
  NbreCalibreApp = Borne<std::int32_t>(entier("CalibreApp", 1), 1, 4);
  isSysam = Ini.LitBooleen(s, "isSysam", false);
  for (int k = 1; k <= 4; ++k)
    coeffCalibreApp[k] = Ini.LitReel(s, "CoeffCalibreApp" + std::to_string(k), 1);
  for (int k = 1; k <= 16; ++k) AidePilotage[k] = Ini.LitTexte(s, std::to_string(k), "");
  NumeroCalibreApp = std::clamp(NumeroCalibreApp, 1, NbreCalibreApp);

  if (std::isnan(Derive) || Derive < 1e-25) Derive = (ValMaxi - ValMini) / 140;
  SetCoeffUnite();
  if (FormatFixe) {
    NbreLignes = 1;
    NumeroOrdre = 1;
    if (!EnvoiDirect && DebutNombre < 1) DebutNombre = 1;
  } else {
    NbreCarac = 1;
  }
}

void Tappareil::EcritIni(TFichierIni& Ini) const {
  const std::string& s = NomAppareil;
  Ini.EcritBooleen(s, "LireCoeffUnite", LireCoeffUnite);
  Ini.EcritBooleen(s, "LireNomUnite", LireNomUnite);
  Ini.EcritTexte(s, "Nom", nomGrandeur);
  Ini.EcritTexte(s, "Unité", UniteGrandeur);
  Ini.EcritEntier(s, "Precision", Precision);
  Ini.EcritReel(s, "Mini", ValMini);
  Ini.EcritReel(s, "Maxi", ValMaxi);
  Ini.EcritEntier(s, "Com", ComNumber);
  Ini.EcritEntier(s, "Baud", Baud);
  Ini.EcritEntier(s, "DataBits", DataBits);
  Ini.EcritEntier(s, "Parity", Parite);
  Ini.EcritEntier(s, "StopBits", StopBits);
  Ini.EcritBooleen(s, "RTS", RTSCTS);
  Ini.EcritBooleen(s, "XonXoff", XonXoff);
  Ini.EcritEntier(s, "Debut", DebutNombre);
  Ini.EcritEntier(s, "NombreCarac", NbreCarac);
  Ini.EcritEntier(s, "Delai", Delai);
  Ini.EcritBooleen(s, "Fixe", FormatFixe);
  // One key for two fields: the box input of an interface-box definition, the rank
  // of the number otherwise.
  Ini.EcritEntier(s, "Numero", isSysam ? indiceVoieSysam : NumeroOrdre);
  Ini.EcritEntier(s, "NombreLigne", NbreLignes);
  Ini.EcritEntier(s, "Séparateur", static_cast<unsigned char>(SeparateurChiffre));
  Ini.EcritBooleen(s, "Continu", EnvoiDirect);
  Ini.EcritBooleen(s, "FiltreDepasse", FiltrageDepassement);
  Ini.EcritTexte(s, "Demande", CodePourFichier(Demande));
  Ini.EcritTexte(s, "DemandeBis", CodePourFichier(DemandeBis));
  Ini.EcritTexte(s, "Initialisation", CodePourFichier(ChaineInit));
  Ini.EcritTexte(s, "Deblocage", CodePourFichier(ChaineFin));
  Ini.EcritTexte(s, "Symbole", SymboleGrandeur);
  Ini.EcritBooleen(s, "STAB", lectureSTAB);
  Ini.EcritEntier(s, "Calibre", calibreSysam);
  Ini.EcritReel(s, "a", aSysam);
  Ini.EcritReel(s, "b", bSysam);
  Ini.EcritBooleen(s, "Diff", differentielSysam);
  Ini.EcritEntier(s, "CalibreApp", NbreCalibreApp);
  for (int k = 1; k <= 4; ++k)
    Ini.EcritReel(s, "CoeffCalibreApp" + std::to_string(k), coeffCalibreApp[k]);
  Ini.EcritReel(s, "Derive", std::isnan(Derive) ? -1.0 : Derive);
  Ini.EcritTexte(s, "TexteVerif", CodePourFichier(TexteVerif));
  Ini.EcritEntier(s, "NumVerif", NumeroVerif);
  Ini.EcritBooleen(s, "isSysam", isSysam);
  for (int k = 1; k <= 16; ++k)
    if (!AidePilotage[k].empty()) Ini.EcritTexte(s, std::to_string(k), AidePilotage[k]);
}

void Tappareil::Assign(const Tappareil& Unappareil) {
  const Tappareil& a = Unappareil;
  Precision = a.Precision;
  LireCoeffUnite = a.LireCoeffUnite;
  LireNomUnite = a.LireNomUnite;
  NomAppareil = a.NomAppareil;
  DebutNombre = a.DebutNombre;
  NbreCarac = a.NbreCarac;
  ValMini = a.ValMini;
  ValMaxi = a.ValMaxi;
  ComNumber = a.ComNumber;
  Baud = a.Baud;
  Parite = a.Parite;
  DataBits = a.DataBits;
  StopBits = a.StopBits;
  Delai = a.Delai;
  RTSCTS = a.RTSCTS;
  FormatFixe = a.FormatFixe;
  XonXoff = a.XonXoff;
  NumeroOrdre = a.NumeroOrdre;
  NbreLignes = a.NbreLignes;
  SeparateurChiffre = a.SeparateurChiffre;
  nomGrandeur = a.nomGrandeur;
  SymboleGrandeur = a.SymboleGrandeur;
  UniteGrandeur = a.UniteGrandeur;
  Demande = a.Demande;
  DemandeBis = a.DemandeBis;
  ChaineInit = a.ChaineInit;
  ChaineFin = a.ChaineFin;
  InitialisationAfaire = !ChaineInit.empty();
  DeblocageAfaire = !ChaineFin.empty();
  EnvoiDirect = a.EnvoiDirect;
  aSysam = a.aSysam;
  calibreSysam = a.calibreSysam;
  bSysam = a.bSysam;
  indiceVoieSysam = a.indiceVoieSysam;
  differentielSysam = a.differentielSysam;
  NbreCalibreApp = a.NbreCalibreApp;
  coeffCalibreApp = a.coeffCalibreApp;
  AidePilotage = a.AidePilotage;
  // The rest of what the section stores, so that a copy decodes and judges
  // stability as its original does.
  Derive = a.Derive;
  lectureSTAB = a.lectureSTAB;
  FiltrageDepassement = a.FiltrageDepassement;
  TexteVerif = a.TexteVerif;
  NumeroVerif = a.NumeroVerif;
  isSysam = a.isSysam;
}

void Tappareil::SetCoeffUnite() {
  if (!LireCoeffUnite) return;
  const std::size_t n = LongueurPremierCaractere(UniteGrandeur);
  if (n == 0 || n >= UniteGrandeur.size()) return;  // one character or none
  const std::string premier = UniteGrandeur.substr(0, n);
  if (premier != "G" && premier != "M" && premier != "k" && premier != "m" && premier != "n" &&
      premier != "µ")
    return;
  // A unit that starts with a known symbol beginning with that letter (m/s, mol/L)
  // has no prefix to drop.
  std::size_t fin = n;
  while (fin < UniteGrandeur.size() && EstLettreAscii(UniteGrandeur[fin])) ++fin;
  if (ChercheUniteConnue(std::string_view(UniteGrandeur).substr(0, fin))) return;
  UniteGrandeur.erase(0, n);
}

std::string Tappareil::FormatApp(double X) const {
  if (std::isnan(X)) return "???";
  return FormatGeneral(X, Chiffres(Precision), 2, SeparateurDecimal());
}

std::string Tappareil::ValeurUnite(double Avaleur) const {
  return FormatGeneral(Avaleur, Chiffres(Precision), 2, SeparateurDecimal()) + " " + UniteGrandeur;
}

std::string Tappareil::NomValeurUnite(double Avaleur) const {
  return SymboleGrandeur + "=" + ValeurUnite(Avaleur);
}

std::string Tappareil::NomValeurUniteCourante() const {
  if (std::isnan(ValeurCourante)) return SymboleGrandeur + "=?";
  std::string texte;
  try {
    double v = ValeurCourante;
    std::string prefixe;
    if (LireCoeffUnite && std::fabs(v) > 1e-12) {
      static constexpr double facteurs[7] = {1e9, 1e6, 1e3, 1, 1e-3, 1e-6, 1e-9};
      static constexpr const char* prefixes[7] = {"n", "µ", "m", "", "k", "M", "G"};
      const double k = std::nearbyint(std::log10(std::fabs(v)) / 3);  // halves to even
      // Beyond n..G there is no prefix: the value is shown as it is.
      if (k >= -3 && k <= 3) {
        const int i = static_cast<int>(k) + 3;
        v *= facteurs[i];
        prefixe = prefixes[i];
      }
    }
    texte = FormatGeneral(v, Chiffres(Precision), 2, SeparateurDecimal()) + " " + prefixe;
  } catch (...) {
    texte.clear();
  }
  return SymboleGrandeur + "=" + texte + UniteGrandeur;
}

std::string Tappareil::nomCourt() const { return NomAppareil.substr(0, NomAppareil.find(' ')); }
