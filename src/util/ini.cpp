// The INI reader and writer: the file is held as its lines, grouped by section, so
// that what is not written back by the program stays exactly as it was read.
#include "util/ini.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <utility>

#include "util/cp1252.h"
#include "util/fichiers.h"
#include "util/nombres.h"
#include "util/regional_courant.h"
#include "util/textes.h"

namespace {

std::string Rogne(std::string_view t) {
  const auto debut = t.find_first_not_of(" \t");
  if (debut == std::string_view::npos) return {};
  const auto fin = t.find_last_not_of(" \t");
  return std::string(t.substr(debut, fin - debut + 1));
}

// A line break inside a name or a value would split the entry and could forge new
// keys or sections; it is written as a blank.
std::string SurUneLigne(std::string t) {
  std::replace_if(t.begin(), t.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return t;
}

// The name of a "[name]" header, or nothing for any other line. The name ends at
// the last ']', as model names may hold brackets of their own.
bool EstEntete(const std::string& ligne, std::string& nom) {
  const std::string t = Rogne(ligne);
  if (t.empty() || t.front() != '[') return false;
  const auto fin = t.rfind(']');
  if (fin == std::string::npos) return false;
  nom = Rogne(std::string_view(t).substr(1, fin - 1));
  return true;
}

bool EstVide(const std::string& ligne) { return Rogne(ligne).empty(); }

// Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X".
bool LitEntierTexte(const std::string& texte, std::int64_t& valeur) {
  std::string_view t = texte;
  bool negatif = false;
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
    negatif = t.front() == '-';
    t.remove_prefix(1);
  }
  unsigned base = 10;
  if (t.starts_with('$')) {
    base = 16;
    t.remove_prefix(1);
  } else if (t.starts_with("0x") || t.starts_with("0X")) {
    base = 16;
    t.remove_prefix(2);
  }
  if (t.empty()) return false;
  const std::uint64_t limite = negatif ? std::uint64_t(1) << 63 : (std::uint64_t(1) << 63) - 1;
  std::uint64_t v = 0;
  for (char c : t) {
    unsigned chiffre;
    if (c >= '0' && c <= '9') chiffre = unsigned(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') chiffre = unsigned(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') chiffre = unsigned(c - 'A' + 10);
    else return false;
    if (v > (limite - chiffre) / base) return false;
    v = v * base + chiffre;
  }
  valeur = negatif ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
  return true;
}

}  // namespace

TFichierIni::TFichierIni(std::string chemin) : chemin_(std::move(chemin)) {
  const auto octets = LitFichier(chemin_);
  lisible_ = octets.has_value();
  erreurLecture_ = lisible_ ? 0 : errno;
  Analyse(octets ? Cp1252VersUtf8(*octets) : std::string());
}

TFichierIni TFichierIni::DepuisTexte(std::string chemin, const std::string& contenu) {
  TFichierIni ini;
  ini.chemin_ = std::move(chemin);
  ini.lisible_ = true;
  ini.Analyse(contenu);
  return ini;
}

// Lines end with LF, CR LF being taken as one end; any other CR stays in its line.
// Blanks around a key and around its value are not part of them.
void TFichierIni::Analyse(const std::string& texte) {
  sections_.clear();
  sections_.push_back({});  // the lines before the first header
  std::size_t debut = 0;
  while (debut < texte.size()) {
    auto fin = texte.find('\n', debut);
    if (fin == std::string::npos) fin = texte.size();
    std::string brute = texte.substr(debut, fin - debut);
    if (!brute.empty() && brute.back() == '\r') brute.pop_back();
    debut = fin + 1;

    std::string nom;
    if (EstEntete(brute, nom)) {
      sections_.push_back({nom, brute, {}, {}});
      continue;
    }
    Ligne ligne{brute, {}, {}};
    const std::string t = Rogne(brute);
    const auto egal = t.find('=');
    if (!t.starts_with(';') && egal != std::string::npos) {
      ligne.cle = Rogne(std::string_view(t).substr(0, egal));
      if (!ligne.cle.empty()) ligne.valeur = Rogne(std::string_view(t).substr(egal + 1));
    }
    sections_.back().lignes.push_back(std::move(ligne));
  }
  for (Section& section : sections_) section.IndexeCles();
  IndexeSections();
}

void TFichierIni::Section::IndexeCles() {
  cles.clear();
  for (std::size_t i = 0; i < lignes.size(); ++i)
    if (!lignes[i].cle.empty()) cles.try_emplace(MinusculesAscii(lignes[i].cle), i);
}

void TFichierIni::IndexeSections() {
  indexSections_.clear();
  for (std::size_t i = 1; i < sections_.size(); ++i) indexSections_.try_emplace(MinusculesAscii(sections_[i].nom), i);
}

// Duplicated sections or keys: the first one is the one read and written.
TFichierIni::Section* TFichierIni::Trouve(const std::string& nom) {
  const auto i = indexSections_.find(MinusculesAscii(nom));
  return i == indexSections_.end() ? nullptr : &sections_[i->second];
}

const TFichierIni::Section* TFichierIni::Trouve(const std::string& nom) const {
  return const_cast<TFichierIni*>(this)->Trouve(nom);
}

const TFichierIni::Ligne* TFichierIni::TrouveCle(const std::string& section, const std::string& cle) const {
  const Section* s = Trouve(section);
  if (!s) return nullptr;
  const auto i = s->cles.find(MinusculesAscii(cle));
  return i == s->cles.end() ? nullptr : &s->lignes[i->second];
}

std::string TFichierIni::LitTexte(const std::string& section, const std::string& cle, const std::string& defaut) const {
  const Ligne* l = TrouveCle(section, cle);
  return l ? l->valeur : defaut;
}

std::int64_t TFichierIni::LitEntier(const std::string& section, const std::string& cle, std::int64_t defaut) const {
  const Ligne* l = TrouveCle(section, cle);
  std::int64_t v = 0;
  return l && LitEntierTexte(l->valeur, v) ? v : defaut;
}

bool TFichierIni::LitBooleen(const std::string& section, const std::string& cle, bool defaut) const {
  return LitEntier(section, cle, defaut ? 1 : 0) != 0;
}

// Either separator is read, so that a file written under another regional setting
// does not silently fall back to the defaults.
double TFichierIni::LitReel(const std::string& section, const std::string& cle, double defaut) const {
  const Ligne* l = TrouveCle(section, cle);
  return l ? LitNombreDefaut(l->valeur, defaut) : defaut;
}

void TFichierIni::EcritTexte(const std::string& sectionDemandee, const std::string& cleDemandee,
                             const std::string& valeurDemandee) {
  const std::string section = Rogne(SurUneLigne(sectionDemandee));
  const std::string cle = Rogne(SurUneLigne(cleDemandee));
  const std::string valeur = SurUneLigne(valeurDemandee);
  Section* s = Trouve(section);
  if (!s) {
    // A new section at the end, set off from what precedes it by a blank line.
    auto& lignes = sections_.back().lignes;
    const bool fichierVide = sections_.size() == 1 && lignes.empty();
    const bool blancAvant = !lignes.empty() && EstVide(lignes.back().brute);
    if (!fichierVide && !blancAvant) lignes.push_back({"", {}, {}});
    sections_.push_back({section, "[" + section + "]", {}, {}});
    indexSections_.try_emplace(MinusculesAscii(section), sections_.size() - 1);
    s = &sections_.back();
  }
  if (const auto i = s->cles.find(MinusculesAscii(cle)); i != s->cles.end()) {
    Ligne& l = s->lignes[i->second];
    if (l.valeur != Rogne(valeur)) {  // an unchanged value keeps its line as it was
      l.brute = l.cle + "=" + valeur;
      l.valeur = Rogne(valeur);
    }
    return;
  }
  // After the section's last non-blank line, so the blank lines that part it from
  // the next section stay below.
  auto position = s->lignes.end();
  while (position != s->lignes.begin() && EstVide(std::prev(position)->brute)) --position;
  const bool aLaFin = position == s->lignes.end();
  const auto rang = static_cast<std::size_t>(position - s->lignes.begin());
  s->lignes.insert(position, {cle + "=" + valeur, cle, Rogne(valeur)});
  if (aLaFin) s->cles.try_emplace(MinusculesAscii(cle), rang);
  else s->IndexeCles();
}

void TFichierIni::EcritEntier(const std::string& section, const std::string& cle, std::int64_t valeur) {
  EcritTexte(section, cle, std::to_string(valeur));
}

void TFichierIni::EcritBooleen(const std::string& section, const std::string& cle, bool valeur) {
  EcritTexte(section, cle, valeur ? "1" : "0");
}

void TFichierIni::EcritReel(const std::string& section, const std::string& cle, double valeur) {
  EcritTexte(section, cle, FormatGeneral(valeur, 15, 2, SeparateurDecimal()));
}

bool TFichierIni::SectionExiste(const std::string& section) const { return Trouve(section) != nullptr; }

bool TFichierIni::CleExiste(const std::string& section, const std::string& cle) const {
  return TrouveCle(section, cle) != nullptr;
}

std::vector<std::string> TFichierIni::Sections() const {
  std::vector<std::string> noms;
  for (std::size_t i = 1; i < sections_.size(); ++i)
    if (indexSections_.at(MinusculesAscii(sections_[i].nom)) == i) noms.push_back(sections_[i].nom);
  return noms;
}

std::vector<std::string> TFichierIni::Cles(const std::string& section) const {
  std::vector<std::string> cles;
  if (const Section* s = Trouve(section))
    for (std::size_t i = 0; i < s->lignes.size(); ++i)
      if (const std::string& cle = s->lignes[i].cle; !cle.empty() && s->cles.at(MinusculesAscii(cle)) == i)
        cles.push_back(cle);
  return cles;
}

std::vector<std::string> TFichierIni::Valeurs(const std::string& section) const {
  std::vector<std::string> valeurs;
  if (const Section* s = Trouve(section))
    for (const Ligne& l : s->lignes)
      if (!l.cle.empty()) valeurs.push_back(l.valeur);
  return valeurs;
}

// Every copy of the section goes, so that none is left to be read in its place.
void TFichierIni::EffaceSection(const std::string& section) {
  sections_.erase(std::remove_if(sections_.begin() + 1, sections_.end(),
                                 [&](const Section& s) { return EgalSansCasse(s.nom, section); }),
                  sections_.end());
  IndexeSections();
}

void TFichierIni::EffaceCle(const std::string& section, const std::string& cle) {
  Section* s = Trouve(section);
  if (!s) return;
  std::erase_if(s->lignes, [&](const Ligne& l) { return !l.cle.empty() && EgalSansCasse(l.cle, cle); });
  s->IndexeCles();
}

void TFichierIni::EffaceCles(const std::string& section) {
  Section* s = Trouve(section);
  if (!s) return;
  std::erase_if(s->lignes, [](const Ligne& l) { return !l.cle.empty(); });
  s->cles.clear();
}

std::string TFichierIni::Texte() const {
  std::string texte;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0) texte += sections_[i].entete + "\r\n";
    for (const Ligne& l : sections_[i].lignes) texte += l.brute + "\r\n";
  }
  return texte;
}

bool TFichierIni::Enregistre() const { return EcritFichierSur(chemin_, Utf8VersCp1252(Texte())); }
