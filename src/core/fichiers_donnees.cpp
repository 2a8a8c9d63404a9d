// Texts of the data file and of the text and CSV tables, and their writing.
#include "core/fichiers_donnees.h"

#include <filesystem>
#include <system_error>

#include "core/cinetique.h"
#include "core/page_dialogue.h"
#include "util/cp1252.h"
#include "util/fichiers.h"
#include "util/nombres.h"
#include "util/regional_courant.h"
#include "util/textes.h"

namespace {

const char* const CRLF = "\r\n";

// A field written as one line of a file: a line break inside it (a comment line, an
// abscissa name typed by the user) would shift every line after it.
std::string UneLigne(std::string texte) {
  for (char& c : texte)
    if (c == '\r' || c == '\n') c = ' ';
  return texte;
}

std::string Generale7(double x) { return FormatGeneral(x, 7, 2, SeparateurDecimal()); }

const std::string& Symbole(const Tappareil* A) {
  static const std::string vide;
  return A ? A->SymboleGrandeur : vide;
}
const std::string& UniteDe(const Tappareil* A) {
  static const std::string vide;
  return A ? A->UniteGrandeur : vide;
}

// The constants that go with the table, in row order.
std::vector<const TConstantePage*> ConstantesValides(const TPageInfo& page) {
  std::vector<const TConstantePage*> c;
  if (page.Const1) c.push_back(&page.constante1);
  if (page.Const2) c.push_back(&page.constante2);
  return c;
}

}  // namespace

std::string ExtensionFichier(const std::string& nom) {
  const auto point = nom.rfind('.');
  const auto dossier = nom.find_last_of("/\\");
  if (point == std::string::npos || (dossier != std::string::npos && point < dossier)) return {};
  return nom.substr(point);
}

TFormeFichier FormeDuNom(const std::string& nom) {
  const std::string ext = ExtensionFichier(nom);
  if (EgalSansCasse(ext, ".qw3")) return TFormeFichier::QW3;
  if (EgalSansCasse(ext, ".csv")) return TFormeFichier::CSV;
  return TFormeFichier::Texte;
}

std::vector<std::string> LignesCommentaire(const TPageInfo& page) {
  std::vector<std::string> lignes;
  for (const std::string& element : page.Memo) {
    auto morceaux = DecoupeLignes(element);
    lignes.insert(lignes.end(), morceaux.begin(), morceaux.end());
  }
  while (!lignes.empty() && lignes.back().empty()) lignes.pop_back();
  return lignes;
}

std::string EcritEntete(const TCinetiqueMain& moteur, const std::string& executable) {
  const Tgraphe& G = *moteur.Graphe;
  const int n = moteur.NbreVoies();
  std::string t;
  auto ligne = [&t](const std::string& s) {
    t += UneLigne(s);
    t += CRLF;
  };
  ligne("NORVALIS TRACORIA WINDOWS 1.0");
  ligne("£" + std::to_string(n + 1) + " NOM VAR");
  ligne(G.mondeX.Nom);
  for (int v = 0; v < n; ++v) ligne(Symbole(moteur.Voie(v)));
  ligne("£" + std::to_string(n + 1) + " UNITE VAR");
  ligne(G.mondeX.Unite);
  for (int v = 0; v < n; ++v) ligne(UniteDe(moteur.Voie(v)));

  const auto constantes = ConstantesValides(moteur.Page);
  if (!constantes.empty()) {
    const std::string nombre = std::to_string(constantes.size());
    ligne("£" + nombre + " NOM CONST");
    for (const auto* c : constantes) ligne(TranscritGrec(c->nom));
    ligne("£" + nombre + " UNITE CONST");
    for (const auto* c : constantes) ligne(TranscritGrec(c->unite));
  }
  const auto commentaire = LignesCommentaire(moteur.Page);
  if (!commentaire.empty()) {
    ligne("£" + std::to_string(commentaire.size()) + " GRANDEURS");
    for (const auto& l : commentaire) ligne("'" + l);
  }
  ligne("£1 ACQUISITION");
  ligne(executable);
  return t;
}

std::string EcritPage(const TCinetiqueMain& moteur, const std::string& dateHeure) {
  const Tgraphe& G = *moteur.Graphe;
  const int n = moteur.NbreVoies();
  const int N = G.NbrePoints;
  std::string t;
  auto ligne = [&t](const std::string& s) {
    t += UneLigne(s);
    t += CRLF;
  };
  ligne("£1 PAGE COMMENT");
  ligne("Zevoridod" + dateHeure);
  ligne("&" + std::to_string(N) + " VALEUR VAR");
  for (int k = 0; k < N; ++k) {
    const auto i = static_cast<std::size_t>(k);
    std::string l = Generale7(G.mondeX.valeur[i]);
    for (int v = 0; v < n; ++v) {
      const double y = G.mondeY[static_cast<std::size_t>(v)].valeur[i];
      const Tappareil* A = moteur.Voie(v);
      l += " " + (A ? A->FormatApp(y) : Generale7(y));
    }
    ligne(l);
  }
  const auto constantes = ConstantesValides(moteur.Page);
  if (!constantes.empty()) {
    ligne("&" + std::to_string(constantes.size()) + " VALEUR CONST");
    for (const auto* c : constantes) ligne(c->valeur);
  }
  if (!G.ListeRepere.empty()) {
    ligne("&" + std::to_string(G.ListeRepere.size()) + " REPERE");
    for (const auto& r : G.ListeRepere) ligne(Generale7(r->Valeur) + "\t" + r->Text);
  }
  return t;
}

std::string FinLigneTableau(bool csv) { return csv ? "\n" : "\r\n"; }

std::string EcritEnteteTableau(const TCinetiqueMain& moteur, bool csv) {
  const Tgraphe& G = *moteur.Graphe;
  const int n = moteur.NbreVoies();
  std::string noms = UneLigne(G.mondeX.Nom);
  std::string unites = UneLigne(G.mondeX.Unite);
  for (int v = 0; v < n; ++v) {
    noms += "\t" + UneLigne(Symbole(moteur.Voie(v)));
    unites += "\t" + UneLigne(UniteDe(moteur.Voie(v)));
  }
  return noms + FinLigneTableau(csv) + unites + FinLigneTableau(csv);
}

std::string EcritValeursTableau(const TCinetiqueMain& moteur, bool csv) {
  const Tgraphe& G = *moteur.Graphe;
  const int n = moteur.NbreVoies();
  const std::string fin = FinLigneTableau(csv);
  std::string t;
  for (int k = 0; k < G.NbrePoints; ++k) {
    const auto i = static_cast<std::size_t>(k);
    t += FormatNombrePoint(G.mondeX.valeur[i]);
    for (int v = 0; v < n; ++v) t += "\t" + FormatNombrePoint(G.mondeY[static_cast<std::size_t>(v)].valeur[i]);
    t += fin;
  }
  if (!G.ListeRepere.empty()) {
    t += fin + "REPERE" + fin;
    for (const auto& r : G.ListeRepere) t += FormatNombrePoint(r->Valeur) + "\t" + UneLigne(r->Text) + fin;
  }
  const auto constantes = ConstantesValides(moteur.Page);
  if (!constantes.empty()) {
    t += "&" + std::to_string(constantes.size()) + " VALEUR CONST" + fin;
    for (const auto* c : constantes) t += UneLigne(c->valeur) + fin;
  }
  return t;
}

std::string TexteFichierDonnees(const TCinetiqueMain& moteur, TFormeFichier forme, const std::string& executable,
                                const std::string& dateHeure) {
  if (forme == TFormeFichier::QW3) return EcritEntete(moteur, executable) + EcritPage(moteur, dateHeure);
  const bool csv = forme == TFormeFichier::CSV;
  return EcritEnteteTableau(moteur, csv) + EcritValeursTableau(moteur, csv);
}

std::string CheminExecutableCourant() {
  std::error_code erreur;
  const auto chemin = std::filesystem::read_symlink("/proc/self/exe", erreur);
  return erreur ? std::string() : chemin.string();
}

std::string OctetsFichierDonnees(TCinetiqueMain& moteur, TFormeFichier forme, const std::string& executable) {
  TPlateforme& p = moteur.Plateforme();
  const double maintenant = p.boucle.DateHeure();
  const std::string dateHeure = p.regional.DateCourte(maintenant) + " " + p.regional.HeureLongue(maintenant);
  return Utf8VersCp1252(TexteFichierDonnees(moteur, forme, executable, dateHeure));
}

bool EcritFichierDonnees(TCinetiqueMain& moteur, const std::string& nom, const std::string& executable) {
  const TFormeFichier forme = FormeDuNom(nom);
  moteur.FormatQW3 = forme == TFormeFichier::QW3;
  if (!moteur.FormatQW3) moteur.formatCSV = forme == TFormeFichier::CSV;
  moteur.NomFichierData = nom;
  if (!EcritFichierSur(nom, OctetsFichierDonnees(moteur, forme, executable))) {
    moteur.dataSaved = false;
    moteur.Plateforme().dialogue.Erreur(fichiers_donnees::MessageErreur + nom);
    return false;
  }
  moteur.PagePermise = true;
  moteur.dataSaved = true;
  return true;
}

bool SaveItemClick(TCinetiqueMain& moteur, const std::string& executable) {
  const auto nom = moteur.Plateforme().dialogue.ChoisitFichier(true, fichiers_donnees::TitreSauvegarde,
                                                               fichiers_donnees::FiltreSauvegarde,
                                                               fichiers_donnees::ExtensionSauvegarde);
  if (!nom) return false;
  return EcritFichierDonnees(moteur, *nom, executable);
}
