// The INI reader and writer of the device database and configuration files: read
// whole into memory, written back whole; section and key names compared without
// regard to case; entry order and untouched lines kept as they were.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TFichierIni {
public:
  // Reads the file (Windows-1252 on disk, UTF-8 in memory). A missing or unreadable
  // file gives an empty one; Lisible() tells which.
  explicit TFichierIni(std::string chemin);
  // An INI held in memory only (tests, carried defaults); `contenu` is UTF-8.
  static TFichierIni DepuisTexte(std::string chemin, const std::string& contenu);

  const std::string& Chemin() const { return chemin_; }
  bool Lisible() const { return lisible_; }
  // errno of the failed read (see LitFichier); 0 when the file was read.
  int ErreurLecture() const { return erreurLecture_; }

  // Blanks (spaces, tabs) around a key and around its value are not part of them.
  // With duplicated sections or keys, the first one is read and written.
  std::string LitTexte(const std::string& section, const std::string& cle, const std::string& defaut) const;
  // Decimal, or hexadecimal with "$" or "0x"; anything else gives the default.
  std::int64_t LitEntier(const std::string& section, const std::string& cle, std::int64_t defaut) const;
  bool LitBooleen(const std::string& section, const std::string& cle, bool defaut) const;
  // With the locale decimal separator (the other one is accepted too, so a file from
  // another regional setting keeps its values); empty or unreadable gives the default.
  double LitReel(const std::string& section, const std::string& cle, double defaut) const;

  // A key already present is replaced in place; a new one goes at the section's end;
  // a new section at the file's end. A line break in a name or value is written as a
  // blank, so no value can break into new entries.
  void EcritTexte(const std::string& section, const std::string& cle, const std::string& valeur);
  void EcritEntier(const std::string& section, const std::string& cle, std::int64_t valeur);
  void EcritBooleen(const std::string& section, const std::string& cle, bool valeur);  // "1"/"0"
  // General format, 15 significant digits, locale decimal separator.
  void EcritReel(const std::string& section, const std::string& cle, double valeur);

  bool SectionExiste(const std::string& section) const;
  bool CleExiste(const std::string& section, const std::string& cle) const;
  std::vector<std::string> Sections() const;                       // file order
  std::vector<std::string> Cles(const std::string& section) const;  // file order
  // The value of every entry of the section in file order, a key written twice
  // giving two values (the device file's index, where only the values matter).
  std::vector<std::string> Valeurs(const std::string& section) const;
  void EffaceSection(const std::string& section);
  void EffaceCle(const std::string& section, const std::string& cle);
  // Every entry of the section; its header, comments and blank lines stay.
  void EffaceCles(const std::string& section);

  // Whole text as it would be written (UTF-8, CR LF line ends).
  std::string Texte() const;
  // Writes the whole file through a temporary file and a rename; false on failure,
  // leaving the previous file as it was.
  bool Enregistre() const;

private:
  struct Ligne {
    std::string brute;   // the line as read, or as last written
    std::string cle;     // empty for section headers, comments and blank lines
    std::string valeur;
  };
  struct Section {
    std::string nom;     // empty for lines before the first header
    std::string entete;  // the header line as read
    std::vector<Ligne> lignes;
    // Key in lower case -> position of its first line; kept with `lignes`.
    std::unordered_map<std::string, std::size_t> cles;
    void IndexeCles();
  };
  TFichierIni() = default;
  void Analyse(const std::string& texte);
  // Section name in lower case -> position of its first copy in sections_. Files of
  // thousands of models are read key by key: every look-up must be direct.
  void IndexeSections();
  Section* Trouve(const std::string& nom);
  const Section* Trouve(const std::string& nom) const;
  const Ligne* TrouveCle(const std::string& section, const std::string& cle) const;

  std::string chemin_;
  bool lisible_ = false;
  int erreurLecture_ = 0;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> indexSections_;
};
