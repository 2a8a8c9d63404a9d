// The data table: the columns live in the plot's axes, the grid shows them; append,
// undo, empty, halve, headings and markers.
#include <algorithm>

#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "util/nombres.h"
#include "util/regional_courant.h"

namespace {
std::string Generale(double x, int chiffres) { return FormatGeneral(x, chiffres, 2, SeparateurDecimal()); }
}  // namespace

void TCinetiqueMain::EnteteGrille() {
  TGrilleVue& g = vue_.Grille();
  g.SetNbColonnes(NbreVoies() + 1);
  g.SetCellule(0, 0, Graphe->mondeX.Nom);
  g.SetCellule(0, 1, Graphe->mondeX.Unite);
  for (int v = 0; v < NbreVoies(); ++v) {
    Tappareil* A = Voie(v);
    if (!A) continue;
    g.SetCellule(v + 1, 0, A->SymboleGrandeur);
    g.SetCellule(v + 1, 1, A->UniteGrandeur);
  }
  g.SetLigneHaut(2);
  vue_.GrilleChangee();
}

void TCinetiqueMain::MajVoies() {
  for (int v = 0; v < NbreVoies(); ++v) {
    Tappareil* A = Voie(v);
    if (!A) continue;
    vue_.SetCaption(ctl::GroupBox(v), A->NomAppareil);
    Graphe->mondeY[static_cast<std::size_t>(v)].SetMinMax(A->ValMini, A->ValMaxi);
    vue_.Grille().SetCellule(v + 1, 0, A->SymboleGrandeur);
    // The heading's unit too: the plot's axis takes the new one at its next repaint.
    vue_.Grille().SetCellule(v + 1, 1, A->UniteGrandeur);
  }
  vue_.GrilleChangee();
  Repeindre();
}

void TCinetiqueMain::AjouteLigne(int N, int chiffresAbscisse, bool deplaceHaut) {
  TGrilleVue& g = vue_.Grille();
  if (g.NbLignes() < N + 3) g.SetNbLignes(N + 16);
  for (int v = 0; v < NbreVoies(); ++v) {
    Tappareil* A = Voie(v);
    if (!A) continue;
    Graphe->mondeY[static_cast<std::size_t>(v)].valeur[static_cast<std::size_t>(N)] = A->ValeurCourante;
    g.SetCellule(v + 1, N + 2, Generale(A->ValeurCourante, A->Precision));
    if (surface_) Graphe->TracePoint(*surface_, static_cast<indiceVoie>(v), static_cast<indiceVecteur>(N));
  }
  g.SetCellule(0, N + 2, Generale(Graphe->mondeX.valeur[static_cast<std::size_t>(N)], chiffresAbscisse));
  Graphe->NbrePoints = static_cast<indiceVecteur>(N + 1);
  const int n = N + 1;
  if (g.NbLignes() < n + 3) g.SetNbLignes(n + 16);
  if (deplaceHaut) g.SetLigneHaut(n < 17 ? 2 : n - 2);
  dataSaved = false;
  vue_.GrilleChangee();
  if (!surface_) Repeindre();
}

void TCinetiqueMain::UndoBtnClick() {
  const int N = Graphe->NbrePoints;
  if (N > 0) {
    TGrilleVue& g = vue_.Grille();
    for (int c = 0; c < g.NbColonnes(); ++c) g.SetCellule(c, N + 1, "");
    Graphe->NbrePoints = static_cast<indiceVecteur>(N - 1);
    vue_.SetCaption(ctl::PanelDuree, std::to_string(N - 1));
    vue_.GrilleChangee();
  }
  Repeindre();
}

void TCinetiqueMain::VideTableau(bool grilleRaz) {
  Graphe->NbrePoints = 0;
  Graphe->VideReperes();
  TGrilleVue& g = vue_.Grille();
  if (grilleRaz) g.SetNbLignes(16);
  g.VideLignes(2);
  g.SetLigneHaut(2);
  vue_.GrilleChangee();
  Repeindre();
}

void TCinetiqueMain::DivisePoints() {
  const int N = Graphe->NbrePoints / 2;
  for (int k = 1; k < N; ++k) {
    const auto s = static_cast<std::size_t>(2 * k), d = static_cast<std::size_t>(k);
    Graphe->mondeX.valeur[d] = Graphe->mondeX.valeur[s];
    for (int v = 0; v < NbreVoies(); ++v) Graphe->mondeY[static_cast<std::size_t>(v)].valeur[d] = Graphe->mondeY[static_cast<std::size_t>(v)].valeur[s];
  }
  Graphe->NbrePoints = static_cast<indiceVecteur>(N);
  Repeindre();
}

void TCinetiqueMain::ToolButton3Click() {
  const double t = EcartDebut(Maintenant());
  std::string texte;
  if (!plateforme_.dialogue.Saisie("Création d'un repère", "Signification", texte)) texte.clear();
  Graphe->AjouteRepere(texte, t, surface_);
  Repeindre();
}
