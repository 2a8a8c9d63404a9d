// Layout of the data text: path, comment, names, units, meanings, one line per point,
// then the constants and the markers when there are any.
#include "exchange/texte_donnees.h"

#include <algorithm>

#include "core/cinetique.h"
#include "util/nombres.h"

namespace {
const char* const FinLigne = "\r\n";

// The heading line of one field of the abscissa and of each channel's instrument.
template <class Champ>
std::string LigneEntete(const TCinetiqueMain& moteur, const std::string& abscisse, Champ champ) {
  std::string ligne = abscisse;
  for (int v = 0; v < moteur.NbreVoies(); ++v) {
    ligne += '\t';
    if (const Tappareil* A = moteur.Voie(v)) ligne += champ(*A);
  }
  return ligne + FinLigne;
}

// One line of the constants block: first constant, a tab when there are two, second.
std::string LigneConstantes(const TPageInfo& page, std::string TConstantePage::*champ) {
  std::string ligne;
  if (page.Const1) ligne += page.constante1.*champ;
  if (page.NbreConst == 2) ligne += '\t';
  if (page.Const2) ligne += page.constante2.*champ;
  return ligne + FinLigne;
}
}  // namespace

std::string NomConstanteDistinct(const TCinetiqueMain& moteur, std::string nom) {
  if (nom == moteur.Graphe->mondeX.Nom) nom += "0";
  for (int c = 0; c < moteur.NbreVoies(); ++c) {
    const Tappareil* A = moteur.Voie(c);
    if (A && nom == A->SymboleGrandeur) nom += std::to_string(c);
  }
  return nom;
}

std::string TexteDonnees(TCinetiqueMain& moteur, const std::string& cheminProgramme) {
  const Tgraphe& G = *moteur.Graphe;
  const Tmonde& X = G.mondeX;
  TPageInfo& page = moteur.Page;
  std::string texte = cheminProgramme + FinLigne;

  if (page.Memo.empty()) texte += FinLigne;
  for (const std::string& ligne : page.Memo) texte += ligne + FinLigne;

  texte += LigneEntete(moteur, X.Nom, [](const Tappareil& A) { return A.SymboleGrandeur; });
  texte += LigneEntete(moteur, X.Unite, [](const Tappareil& A) { return A.UniteGrandeur; });
  texte += LigneEntete(moteur, X.Signif, [](const Tappareil& A) { return A.nomGrandeur; });

  const int n = std::min<int>(G.NbrePoints, MaxPoints);
  for (int k = 0; k < n; ++k) {
    const auto i = static_cast<std::size_t>(k);
    texte += FormatNombrePoint(X.valeur[i]);
    for (int v = 0; v < moteur.NbreVoies(); ++v)
      texte += '\t' + FormatNombrePoint(G.mondeY[static_cast<std::size_t>(v)].valeur[i]);
    texte += FinLigne;
  }

  if (page.NbreConst > 0) {
    if (page.Const1) page.constante1.nom = NomConstanteDistinct(moteur, page.constante1.nom);
    if (page.Const2) page.constante2.nom = NomConstanteDistinct(moteur, page.constante2.nom);
    texte += FinLigne;
    texte += LigneConstantes(page, &TConstantePage::nom);
    texte += LigneConstantes(page, &TConstantePage::unite);
    texte += LigneConstantes(page, &TConstantePage::valeur);
  }

  if (!G.ListeRepere.empty()) {
    texte += "&" + std::to_string(G.ListeRepere.size()) + " REPERE" + FinLigne;
    for (const auto& repere : G.ListeRepere) texte += FormatNombrePoint(repere->Valeur) + '\t' + repere->Text + FinLigne;
  }
  return texte;
}
