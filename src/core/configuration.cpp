// Reading, checking, applying and writing configuration files, and their menu items.
#include "core/configuration.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "core/cinetique.h"
#include "core/fichiers_donnees.h"
#include "instruments/base_appareils.h"
#include "util/fichiers.h"
#include "util/ini.h"
#include "util/nombres.h"
#include "util/regional_courant.h"
#include "util/textes.h"

using namespace configuration;

namespace {

// The longest duration the rules allow: 2048 intervals of 60 s.
constexpr std::int64_t DureeMaxi = std::int64_t{DeltatMaxi} * MaxPoints;

std::string PrefixeVoie(int i) { return "Voie " + std::to_string(i) + " : "; }

// An integer of the file brought into mini..maxi; a value that is no integer gives
// `defaut`. Either case is told in `remarques`; a missing or empty value is not.
std::int64_t LitEntierBorne(const TFichierIni& ini, const char* section, const std::string& cle, std::int64_t defaut,
                            std::int64_t mini, std::int64_t maxi, std::vector<std::string>& remarques) {
  const std::string texte = ini.LitTexte(section, cle, "");
  if (texte.empty()) return defaut;
  // Two different defaults agree only when the text is an integer.
  const std::int64_t v = ini.LitEntier(section, cle, 0);
  if (v != ini.LitEntier(section, cle, 1)) {
    remarques.push_back(cle + "=" + texte + " : valeur illisible, " + std::to_string(defaut) + " retenue");
    return defaut;
  }
  const std::int64_t borne = std::clamp(v, mini, maxi);
  if (borne != v)
    remarques.push_back(cle + "=" + texte + " : valeur hors limites, " + std::to_string(borne) + " retenue");
  return borne;
}

double LitReelVerifie(const TFichierIni& ini, const char* section, const std::string& cle, double defaut,
                      std::vector<std::string>& remarques) {
  const std::string texte = ini.LitTexte(section, cle, "");
  if (texte.empty()) return defaut;
  const double v = ini.LitReel(section, cle, PasDeValeur);
  if (!std::isfinite(v)) {
    remarques.push_back(cle + "=" + texte + " : valeur illisible, " + TexteReelCourt(defaut) + " retenue");
    return defaut;
  }
  return v;
}

// The last model of the database with exactly that name (case counts).
Tappareil* DernierNomme(const TBaseAppareils& base, const std::string& nom) {
  Tappareil* trouve = nullptr;
  for (const auto& a : base.ListeAppareils)
    if (a && a->NomAppareil == nom) trouve = a.get();
  return trouve;
}

std::string Message(const std::string& chemin, const std::vector<std::string>& remarques) {
  std::string texte = "Configuration " + chemin + " :";
  for (const auto& r : remarques) texte += "\n" + r;
  return texte;
}

void Applique(TCinetiqueMain& m, const TConfigLue& c, const TFichierIni& ini) {
  m.MinuteriePrincipale().SetActif(false);
  m.DeltatMesure = c.DeltatMesure;
  m.DureeMesure = c.DureeMesure;
  m.SetNbreVoies(static_cast<int>(c.voies.size()));
  m.CodeBeep = c.CodeBeep;
  m.Graphe->AbscisseMaitre = c.AbscisseMaitre;
  m.ModeAcq = c.ModeAcq;
  std::int64_t delais = 0;
  for (std::size_t i = 0; i < c.voies.size(); ++i) {
    const TVoieConfig& v = c.voies[i];
    // The name is the model's own, so reading its section renames nothing; without a
    // section the model keeps the database's settings.
    if (v.avecSection) v.definition->LitIni(v.nom, ini);
    v.definition->ComNumber = v.com;
    m.AppareilAcq[i] = v.definition;
    delais += v.definition->Delai;
  }
  m.DeltatMin = static_cast<std::uint16_t>(std::min<std::int64_t>(delais / 1000 + 1, 65535));
  m.AjusteIntervalles();
  if (c.clavier) {
    Tmonde& X = m.Graphe->mondeX;
    X.mini = c.clavier->mini;
    X.maxi = c.clavier->maxi;
    X.Nom = c.clavier->nom;
    X.Unite = c.clavier->unite;
  }
  m.PagePermise = false;
  try {
    m.InitAttente();
  } catch (const std::exception&) {
    m.EtatAcq = eaNone;
  }
}

}  // namespace

std::string NomConfiguration(const std::string& nom) {
  const std::string ext = ExtensionFichier(nom);
  return nom.substr(0, nom.size() - ext.size()) + Extension;
}

std::string TexteReelCourt(double x) {
  const char separateur = SeparateurDecimal();
  std::string texte;
  for (int chiffres = 1; chiffres <= 17; ++chiffres) {
    texte = FormatGeneral(x, chiffres, 2, separateur);
    if (LitNombre(texte) == x) break;
  }
  return texte;
}

TConfigLue LitFichierConfig(const TFichierIni& ini, const TBaseAppareils& base, const Tmonde& abscisse) {
  TConfigLue c;
  auto& r = c.remarques;
  const char* A = SectionAcquisition;
  c.DeltatMesure = static_cast<std::uint16_t>(LitEntierBorne(ini, A, "Deltat", 1, 1, DeltatMaxi, r));
  c.DureeMesure = static_cast<std::int32_t>(LitEntierBorne(ini, A, "Duree", 128, 0, DureeMaxi, r));
  const int nvoies = static_cast<int>(LitEntierBorne(ini, A, "Nvoies", 1, 1, TCinetiqueMain::NbreVoiesMax, r));
  c.ModeAcq = static_cast<TModeAcq>(LitEntierBorne(ini, A, "Mode", 0, 0, NbreModesAcq - 1, r));
  c.CodeBeep = static_cast<std::int32_t>(LitEntierBorne(ini, SectionBalayage, "Beep", 0, 0, 6, r));
  c.AbscisseMaitre = static_cast<TabscisseMaitre>(LitEntierBorne(ini, SectionBalayage, "Abscisse", 0, 0, amVoie0, r));

  const std::string nomCommun = ini.LitTexte(A, "Nom", "");
  for (int i = 0; i < nvoies; ++i) {
    TVoieConfig v;
    v.nom = ini.LitTexte(A, "Nom" + std::to_string(i), "");
    if (v.nom.empty()) v.nom = nomCommun;
    v.com = static_cast<std::uint16_t>(LitEntierBorne(ini, A, "COM" + std::to_string(i), 1, 1, ComMaxi, r));
    if (v.nom.empty()) {
      r.push_back(PrefixeVoie(i) + "aucun appareil indiqué, voie non utilisée");
      continue;
    }
    v.definition = DernierNomme(base, v.nom);
    if (!v.definition) {
      // Taking another model instead and reading this section into it would rename
      // that model, and the next save of the database would lose it.
      r.push_back(PrefixeVoie(i) + "« " + v.nom + " » absent de la base des appareils, voie non utilisée");
      continue;
    }
    v.avecSection = ini.SectionExiste(v.nom);
    if (!v.avecSection)
      r.push_back(PrefixeVoie(i) + "réglages de « " + v.nom + " » absents du fichier, ceux de la base sont gardés");
    c.voies.push_back(std::move(v));
  }
  if (c.voies.empty()) r.push_back("Aucune voie utilisable : configuration non chargée");

  if (c.ModeAcq == maClavier) {
    const char* K = SectionClavier;
    TClavierConfig k;
    k.mini = LitReelVerifie(ini, K, "Mini", abscisse.mini, r);
    k.maxi = LitReelVerifie(ini, K, "Maxi", abscisse.maxi, r);
    k.nom = ini.LitTexte(K, "Nom", abscisse.Nom);
    k.unite = ini.LitTexte(K, "Unite", abscisse.Unite);
    c.clavier = k;
  }
  return c;
}

bool LitConfig(TCinetiqueMain& moteur, const std::string& nom) {
  const std::string chemin = NomConfiguration(nom);
  std::error_code erreur;
  if (!std::filesystem::exists(chemin, erreur)) return false;
  TDialogueUtilisateur& dialogue = moteur.Plateforme().dialogue;
  const TFichierIni ini(chemin);
  if (!ini.Lisible()) {
    dialogue.Erreur(Message(chemin, {"lecture impossible (" + TexteErreurSysteme(ini.ErreurLecture()) +
                                         "), configuration non chargée"}));
    return false;
  }
  const TConfigLue c = LitFichierConfig(ini, moteur.Base(), moteur.Graphe->mondeX);
  if (!c.Utilisable()) {
    dialogue.Erreur(Message(chemin, c.remarques));
    return false;
  }
  Applique(moteur, c, ini);
  if (!c.remarques.empty()) dialogue.Information(Message(chemin, c.remarques));
  return true;
}

bool SauveConfig(TCinetiqueMain& moteur, const std::string& nom) {
  const std::string chemin = NomConfiguration(nom);
  TDialogueUtilisateur& dialogue = moteur.Plateforme().dialogue;
  const int n = moteur.NbreVoies();
  bool complet = n > 0;
  for (int i = 0; i < n; ++i) complet = complet && moteur.Voie(i);
  if (!complet) {
    // Such a file would read back as a channel without instrument.
    dialogue.Erreur(MessageErreurEcriture + chemin + " : aucun appareil choisi");
    return false;
  }
  std::error_code erreur;
  const bool existe = std::filesystem::exists(chemin, erreur);
  TFichierIni ini(chemin);
  // A file that exists but cannot be read would be written back without its content.
  if (existe && !ini.Lisible()) {
    dialogue.Erreur(MessageErreurEcriture + chemin);
    return false;
  }
  const char* A = SectionAcquisition;
  ini.EcritEntier(A, "Deltat", moteur.DeltatMesure);
  ini.EcritEntier(A, "Duree", moteur.DureeMesure);
  ini.EcritEntier(SectionBalayage, "Beep", moteur.CodeBeep);
  ini.EcritEntier(A, "Nvoies", n);
  ini.EcritEntier(A, "Mode", moteur.ModeAcq);
  ini.EcritEntier(SectionBalayage, "Abscisse", moteur.Graphe->AbscisseMaitre);
  for (int i = 0; i < n; ++i) {
    const Tappareil& app = *moteur.Voie(i);
    ini.EcritTexte(A, "Nom" + std::to_string(i), app.NomAppareil);
    ini.EcritEntier(A, "COM" + std::to_string(i), app.ComNumber);
    app.EcritIni(ini);
  }
  if (moteur.ModeAcq == maClavier) {
    const Tmonde& X = moteur.Graphe->mondeX;
    ini.EcritTexte(SectionClavier, "Mini", TexteReelCourt(X.mini));
    ini.EcritTexte(SectionClavier, "Maxi", TexteReelCourt(X.maxi));
    ini.EcritTexte(SectionClavier, "Nom", X.Nom);
    ini.EcritTexte(SectionClavier, "Unite", X.Unite);
  }
  if (!ini.Enregistre()) {
    dialogue.Erreur(MessageErreurEcriture + chemin);
    return false;
  }
  return true;
}

void ChargeconfigItemClick(TCinetiqueMain& moteur) {
  TDialogueUtilisateur& dialogue = moteur.Plateforme().dialogue;
  // Loading empties the table: unsaved points are not thrown away unasked.
  if (!moteur.dataSaved && moteur.Graphe->NbrePoints > 0 && !Confirmation(dialogue, "Perte des données courantes ?"))
    return;
  moteur.SuspendAcq();
  const auto nom = dialogue.ChoisitFichier(false, TitreLecture, Filtre, ExtensionLecture);
  if (nom && LitConfig(moteur, *nom)) return;
  moteur.ReprendAcq();
}

void SauveconfigItemClick(TCinetiqueMain& moteur) {
  const auto nom = moteur.Plateforme().dialogue.ChoisitFichier(true, TitreSauvegarde, Filtre, ExtensionSauvegarde);
  if (nom) SauveConfig(moteur, *nom);
}

bool LitTraceActive(const TReglages& reglages) { return reglages.LitBooleen(CleFichierTrace, "Actif", true); }

void EcritTraceActive(TReglages& reglages, bool actif) { reglages.EcritBooleen(CleFichierTrace, "Actif", actif); }
