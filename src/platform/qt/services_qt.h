// The real platform's services on Qt Core: QSettings, QLocale, the shell, lock files
// and QLibrary. The message boxes and the clipboard are in graphique/.
#pragma once

#include <QString>
#include <QUrl>

#include "platform/divers.h"
#include "platform/regional.h"
#include "platform/reglages.h"
#include "platform/shell.h"

QString VersQString(const std::string& texte);
std::string DepuisQString(const QString& texte);

// Registry keys map to an INI file in the user's configuration folder on Linux
// ("Software\\RS232" -> group "Software/RS232").
class TReglagesQt final : public TReglages {
public:
  TReglagesQt();
  std::optional<std::string> Lit(const std::string& cle, const std::string& nom) const override;
  void Ecrit(const std::string& cle, const std::string& nom, const std::string& valeur) override;
  void Supprime(const std::string& cle, const std::string& nom) override;
  std::vector<std::string> Noms(const std::string& cle) const override;
};

class TRegionalQt final : public TParametresRegionaux {
public:
  char SeparateurDecimal() const override;
  std::string DateCourte(double dateHeure) const override;
  std::string HeureLongue(double dateHeure) const override;
};

// Opens a program by starting it; any other document through OuvreUrl, which only
// the desktop's shell (graphique/) can do.
class TShellQt : public TShell {
public:
  std::optional<std::string> Dossier(TDossierShell dossier) const override;
  bool CreeDossier(const std::string& chemin) override;
  bool Ouvre(const std::string& cible) override;
  std::string DossierProgramme() const override;
  std::string DossierPartage() const override;

protected:
  virtual bool OuvreUrl(const QUrl& url) const;
};

// Locks are lock files in the runtime folder; a lock left by a dead process is stale
// and taken over.
class TVerrousQt final : public TVerrous {
public:
  bool Existe(const std::string& nom) const override;
  std::unique_ptr<TVerrou> Prend(const std::string& nom) override;
};

class TBibliothequesQt final : public TBibliotheques {
public:
  // The folder looked in first (the simulator libraries, for tests and the demo).
  static constexpr const char* VariableBibliotheques = "PELITRAX_BIBLIOTHEQUES";
  // Looks for "lib" + name + ".so" in that folder when it is set, then beside the
  // program, then in the system's library path.
  std::unique_ptr<TBibliotheque> Charge(const std::string& nomDeBase) override;
};
