// Text helpers: Greek transcription, folder paths, the Yes/No question, opening a
// document, the documents folder and ASCII case rules.
#include "util/textes.h"

#include <array>
#include <cstdint>

#include "util/cp1252.h"

namespace {

struct TLettreGrecque {
  char32_t lettre;
  unsigned char code;  // the byte the analysis program reads for that letter
};

constexpr std::array<TLettreGrecque, 31> Grec = {{
    {U'α', 128}, {U'β', 129}, {U'γ', 134}, {U'δ', 131}, {U'ε', 132}, {U'ζ', 149}, {U'η', 135},
    {U'θ', 140}, {U'κ', 107}, {U'λ', 136}, {U'μ', 181}, {U'ν', 138}, {U'ξ', 147}, {U'π', 139},
    {U'ρ', 141}, {U'σ', 142}, {U'τ', 143}, {U'φ', 133}, {U'χ', 130}, {U'ψ', 148}, {U'ω', 144},
    {U'Γ', 152}, {U'Δ', 150}, {U'Θ', 155}, {U'Λ', 153}, {U'Ξ', 158}, {U'Π', 154}, {U'Σ', 156},
    {U'Φ', 151}, {U'Ψ', 159}, {U'Ω', 157}}};

// Greek letters are all two-byte UTF-8 sequences (U+0391..U+03C9).
bool LitLettreGrecque(std::string_view t, std::size_t i, char32_t& c) {
  if (i + 1 >= t.size()) return false;
  const auto a = static_cast<unsigned char>(t[i]), b = static_cast<unsigned char>(t[i + 1]);
  if ((a != 0xCE && a != 0xCF) || (b & 0xC0) != 0x80) return false;
  c = (char32_t(a & 0x1F) << 6) | (b & 0x3F);
  return true;
}

std::string dossierDocuments;

}  // namespace

std::string TranscritGrec(std::string_view texte) {
  std::string sortie;
  sortie.reserve(texte.size());
  for (std::size_t i = 0; i < texte.size();) {
    char32_t c = 0;
    bool remplace = false;
    if (LitLettreGrecque(texte, i, c)) {
      for (const auto& g : Grec) {
        if (g.lettre != c) continue;
        sortie += Cp1252VersUtf8(std::string(1, static_cast<char>(g.code)));
        remplace = true;
        break;
      }
    }
    if (remplace) {
      i += 2;
    } else {
      sortie += texte[i];
      ++i;
    }
  }
  return sortie;
}

std::string AvecSeparateurFinal(const std::string& chemin) {
  if (chemin.empty() || chemin.back() == '/') return chemin;
  return chemin + '/';
}

void DossierSpecial(const TShell& shell, TDossierShell id, std::string& dossier) {
  const auto trouve = shell.Dossier(id);
  // An empty answer is no folder: it would turn every path into one relative to
  // whatever the current folder happens to be.
  if (trouve && !trouve->empty()) dossier = AvecSeparateurFinal(*trouve);
}

bool Confirmation(TDialogueUtilisateur& dialogue, const std::string& question) {
  return dialogue.Confirme(question);
}

void OuvreDocument(TShell& shell, TDialogueUtilisateur& dialogue, const std::string& cible) {
  if (!shell.Ouvre(cible)) dialogue.Information("Impossible d'accéder à " + cible);
}

const std::string& DossierDocuments() { return dossierDocuments; }

void InitialiseDossierDocuments(TShell& shell) {
  std::string dossier;
  DossierSpecial(shell, TDossierShell::Documents, dossier);
  dossier += "Tracoria";
  shell.CreeDossier(dossier);  // a folder that cannot be made is not an error here
  dossierDocuments = AvecSeparateurFinal(dossier);
}

std::string MinusculesAscii(std::string_view texte) {
  std::string r(texte);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

bool EgalSansCasse(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}
