// The device database: loading at start-up, saving, reading another device file.
#include "instruments/base_appareils.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "util/cp1252.h"
#include "util/fichiers.h"
#include "util/ini.h"
#include "util/textes.h"

namespace {

// Lower case for the letters a quantity name may hold: ASCII and the accented capitals
// of Latin-1 (UTF-8 C3 80..C3 9E, the multiplication sign aside) and Œ.
std::string Minuscules(const std::string& texte) {
  std::string r = texte;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const auto c = static_cast<unsigned char>(r[i]);
    if (c >= 'A' && c <= 'Z') {
      r[i] = static_cast<char>(c + 32);
    } else if ((c == 0xC3 || c == 0xC5) && i + 1 < r.size()) {
      const auto d = static_cast<unsigned char>(r[i + 1]);
      if (c == 0xC3 && d >= 0x80 && d <= 0x9E && d != 0x97) r[i + 1] = static_cast<char>(d + 0x20);
      if (c == 0xC5 && d == 0x92) r[i + 1] = static_cast<char>(0x93);
      ++i;
    }
  }
  return r;
}

bool Contient(const std::string& texte, const char* motif) { return texte.find(motif) != std::string::npos; }


void AjouteGrandeur(std::vector<std::string>& grandeurs, const std::string& nom) {
  if (std::none_of(grandeurs.begin(), grandeurs.end(), [&](const std::string& g) { return EgalSansCasse(g, nom); }))
    grandeurs.push_back(nom);
}

// Exact byte order, equal names keeping their order.
void Trie(TBaseAppareils::TListeAppareils::iterator debut, TBaseAppareils::TListeAppareils::iterator fin) {
  std::stable_sort(debut, fin, [](const std::unique_ptr<Tappareil>& a, const std::unique_ptr<Tappareil>& b) {
    return a->NomAppareil < b->NomAppareil;
  });
}

bool NomReserve(const std::string& nom) {
  return EgalSansCasse(nom, TBaseAppareils::SectionIndex) || EgalSansCasse(nom, TBaseAppareils::SectionBurette);
}

// The values of the index in file order; the keys themselves do not matter, so a key
// written twice still lists two models.
std::vector<std::string> ValeursIndex(const TFichierIni& ini) {
  std::vector<std::string> valeurs = ini.Valeurs(TBaseAppareils::SectionIndex);
  std::erase(valeurs, std::string());
  return valeurs;
}

struct TModeleUsb {
  const char* nom;
  std::int32_t ident;
  const char* grandeur;
  const char* symbole;
  const char* unite;
  std::int32_t precision;
  double mini, maxi, diviseur;
  bool coeffUnite, stab;
  const char* demande;
};

const TModeleUsb ModelesUsb[] = {
    {"OPH218 USB (pH)", 600, "pH", "pH", "", 3, 0, 14, 140, false, true, "?measure pH"},
    {"OCD218 USB (C)", 601, "conductivité", "σ", "S/cm", 4, 0, 0.1, 1000, true, true, "?measure Cd"},
    {"OPH218 USB (mV)", 600, "tension", "E", "V", 3, -1.5, 1.5, 300, true, true, "?measure mV"},
    {"OPH218 USB (T)", 600, "température", "T", "°C", 3, 0, 50, 500, false, false, "?measure t"},
    {"OCD218 USB (T)", 601, "température", "T", "°C", 3, 0, 50, 500, false, false, "?measure t"},
};

}  // namespace

void NormaliseGrandeur(Tappareil& a) {
  a.nomGrandeur = Minuscules(a.nomGrandeur);
  if (a.nomGrandeur == "conductance") a.nomGrandeur = "conductivité";
  if (a.nomGrandeur == "ph") a.nomGrandeur = "pH";
  if (Contient(a.nomGrandeur, "conduct") && (a.SymboleGrandeur == "G" || a.SymboleGrandeur == "?"))
    a.SymboleGrandeur = "σ";
  if (Contient(a.nomGrandeur, "onde") && a.SymboleGrandeur == "?") a.SymboleGrandeur = "λ";
}

void LitModeles(const TFichierIni& ini, TBaseAppareils::TListeAppareils& liste, std::vector<std::string>& grandeurs) {
  for (const std::string& nom : ValeursIndex(ini)) {
    auto a = std::make_unique<Tappareil>();
    a->LitIni(nom, ini);
    NormaliseGrandeur(*a);
    AjouteGrandeur(grandeurs, a->nomGrandeur);
    liste.push_back(std::move(a));
  }
}

void RendNomsUniques(TBaseAppareils::TListeAppareils& liste) {
  // Counts by name without regard to case, so that a file of thousands of models is
  // named in one pass: the names still to come, the built-in meters', all current ones.
  std::unordered_map<std::string, int> restants, courants;
  std::unordered_set<std::string> usb;
  for (const auto& a : liste) {
    const std::string cle = MinusculesAscii(a->NomAppareil);
    ++restants[cle];
    ++courants[cle];
    if (a->isOrigalys) usb.insert(cle);
  }
  // Where the numbering of each base name goes on.
  std::unordered_map<std::string, int> prochain;
  for (const auto& p : liste) {
    Tappareil& a = *p;
    const std::string cle = MinusculesAscii(a.NomAppareil);
    --restants[cle];
    if (a.isOrigalys) continue;
    if (!NomReserve(a.NomAppareil) && restants[cle] == 0 && !usb.contains(cle)) continue;
    // Taken by another model than this one.
    auto pris = [&](const std::string& nom) {
      const std::string c = MinusculesAscii(nom);
      const auto i = courants.find(c);
      return i != courants.end() && i->second - (c == cle ? 1 : 0) > 0;
    };
    const std::string base = a.NomAppareil + " (" + a.SymboleGrandeur + ")";
    std::string nom = base;
    int& k = prochain.try_emplace(MinusculesAscii(base), 2).first->second;
    while (NomReserve(nom) || pris(nom)) nom = base + " " + std::to_string(k++);
    --courants[cle];
    ++courants[MinusculesAscii(nom)];
    a.NomAppareil = nom;
  }
}

TBaseAppareils::TBaseAppareils(TBoucleEvenements& boucle, const std::string& dossierProgramme)
    : nomFichierIni_(AvecSeparateurFinal(dossierProgramme) + "RS232.INI"),
      nomFichierAide_(AvecSeparateurFinal(dossierProgramme) + NomAide),
      nomFichierTexte_(AvecSeparateurFinal(dossierProgramme) + "RS232.txt"),
      baseParDefaut_(FichierCapteurId()),
      burette_(std::make_unique<TburetteRS232>(boucle)) {}

void TBaseAppareils::SetDossierPartage(const std::string& dossier) {
  fichierPartage_.clear();
  if (dossier.empty()) return;
  fichierPartage_ = AvecSeparateurFinal(dossier) + "RS232.INI";
  std::error_code erreur;
  const std::string aide = AvecSeparateurFinal(dossier) + NomAide;
  if (!std::filesystem::exists(nomFichierAide_, erreur) && std::filesystem::exists(aide, erreur)) nomFichierAide_ = aide;
}

TFichierIni TBaseAppareils::OuvreBase(std::string* lu) const {
  std::error_code erreur;
  // An unreadable folder is not a missing file: the file is then read (and reported) as it is.
  if (std::filesystem::exists(nomFichierIni_, erreur) || erreur) {
    if (lu) *lu = nomFichierIni_;
    return TFichierIni(nomFichierIni_);
  }
  if (!fichierPartage_.empty())
    if (const auto octets = LitFichier(fichierPartage_)) {
      if (lu) *lu = fichierPartage_;
      return TFichierIni::DepuisTexte(nomFichierIni_, Cp1252VersUtf8(*octets));
    }
  if (lu) lu->clear();
  return TFichierIni::DepuisTexte(nomFichierIni_, Cp1252VersUtf8(baseParDefaut_));
}

void TBaseAppareils::AjouteBuiltins() {
  for (const TModeleUsb& m : ModelesUsb) {
    auto a = std::make_unique<Tappareil>();
    a->NomAppareil = m.nom;
    a->isOrigalys = true;
    a->identOrigalys = m.ident;
    a->Delai = 500;
    a->nomGrandeur = m.grandeur;
    a->SymboleGrandeur = m.symbole;
    a->UniteGrandeur = m.unite;
    a->Precision = m.precision;
    a->ValMini = m.mini;
    a->ValMaxi = m.maxi;
    a->Derive = (m.maxi - m.mini) / m.diviseur;
    a->LireCoeffUnite = m.coeffUnite;
    a->lectureSTAB = m.stab;
    a->Demande = m.demande;
    Tappareil* p = a.get();
    if (std::string_view(m.nom) == "OPH218 USB (pH)") AppareilPH = p;
    if (std::string_view(m.nom) == "OCD218 USB (C)") AppareilConductivite = p;
    if (std::string_view(m.nom) == "OPH218 USB (mV)") AppareilTension = p;
    ListeAppareils.push_back(std::move(a));
  }
}

bool TBaseAppareils::ChargeAppareils(std::string& messageArret) {
  ListeAppareils.clear();
  ListeGrandeurs.clear();
  AppareilPH = AppareilTension = AppareilConductivite = nullptr;
  const TFichierIni ini = OuvreBase(&fichierLu_);
  // The lab's file exists but cannot be read (a folder, a device, no permission):
  // saying "not found" would send the teacher looking for the wrong fault.
  if (!ini.Lisible()) {
    messageArret = "Impossible : " + nomFichierIni_ + " illisible (" + TexteErreurSysteme(ini.ErreurLecture()) + ")";
    return false;
  }
  if (ValeursIndex(ini).empty()) {
    messageArret = "Impossible : " + nomFichierIni_ + " non trouvé";
    return false;
  }
  LitModeles(ini, ListeAppareils, ListeGrandeurs);
  AjouteBuiltins();
  RendNomsUniques(ListeAppareils);
  Trie(ListeAppareils.begin(), ListeAppareils.end());
  burette_->LitIni(SectionBurette, ini);
  messageArret.clear();
  return true;
}

bool TBaseAppareils::SauveAppareils() {
  TFichierIni ini = OuvreBase();
  // Sections are found without regard to case: a model renamed from "abc" to "ABC"
  // still owns its section, which must not be erased below. A set of names, so that
  // a database of thousands of models is saved in one pass.
  std::unordered_set<std::string> anciens;
  for (const std::string& nom : ValeursIndex(ini)) anciens.insert(MinusculesAscii(nom));
  // The index is emptied in place, so that it keeps its place and its comments.
  ini.EffaceCles(SectionIndex);

  RendNomsUniques(ListeAppareils);
  Trie(ListeAppareils.begin(), ListeAppareils.end());
  std::unordered_set<std::string> ecrits;
  int cle = 0;
  for (const auto& a : ListeAppareils) {
    // Written, a built-in meter would come back as a serial model of the same name.
    if (a->isOrigalys) continue;
    ecrits.insert(MinusculesAscii(a->NomAppareil));
    ini.EcritTexte(SectionIndex, std::to_string(cle++), a->NomAppareil);
    a->EcritIni(ini);
  }
  // The sections of models that were deleted or whose name changed.
  for (const std::string& nom : anciens)
    if (!ecrits.contains(nom) && !NomReserve(nom)) ini.EffaceSection(nom);
  if (!ini.SectionExiste(SectionBurette)) {
    burette_->NomAppareil = SectionBurette;
    burette_->EcritIni(ini);
  }
  return ini.Enregistre();
}

bool TBaseAppareils::SauveBurette() {
  TFichierIni ini = OuvreBase();
  burette_->NomAppareil = SectionBurette;
  burette_->EcritIni(ini);
  return ini.Enregistre();
}

void TBaseAppareils::LitFichierAppareils(const std::string& chemin) {
  ListeAppareilsFichier.clear();
  ListeGrandeursFichier.clear();
  const TFichierIni ini(chemin);
  LitModeles(ini, ListeAppareilsFichier, ListeGrandeursFichier);
  // The first two entries keep their places, as the import list has always shown them.
  if (ListeAppareilsFichier.size() > 2) Trie(ListeAppareilsFichier.begin() + 2, ListeAppareilsFichier.end());
}

Tappareil* TBaseAppareils::ChercheAppareil(const std::string& nom) const {
  for (const auto& a : ListeAppareils)
    if (a->NomAppareil == nom) return a.get();
  return nullptr;
}
