// The engine's view model.
#include "core/vue_modele.h"

#include <utility>

void TGrilleVue::SetNbColonnes(int n) { colonnes_ = n < 1 ? 1 : n; }

void TGrilleVue::SetNbLignes(int n) {
  lignes_ = n < 1 ? 1 : n;
  for (auto it = cellules_.begin(); it != cellules_.end();)
    it = it->first.second >= lignes_ ? cellules_.erase(it) : std::next(it);
}

const std::string& TGrilleVue::Cellule(int colonne, int ligne) const {
  static const std::string vide;
  auto it = cellules_.find({colonne, ligne});
  return it == cellules_.end() ? vide : it->second;
}

void TGrilleVue::SetCellule(int colonne, int ligne, std::string texte) {
  if (colonne < 0 || ligne < 0 || ligne >= lignes_) return;
  if (texte.empty()) cellules_.erase({colonne, ligne});
  else cellules_[{colonne, ligne}] = std::move(texte);
}

void TGrilleVue::VideLignes(int premiere) {
  for (auto it = cellules_.begin(); it != cellules_.end();)
    it = it->first.second >= premiere ? cellules_.erase(it) : std::next(it);
}

TVueModele::TVueModele() = default;

TControleVue& TVueModele::Controle(const std::string& nom) { return controles_[nom]; }

const TControleVue& TVueModele::Controle(const std::string& nom) const {
  static const TControleVue defaut;
  auto it = controles_.find(nom);
  return it == controles_.end() ? defaut : it->second;
}

namespace {
template <class T> bool Remplace(T& champ, const T& valeur) {
  if (champ == valeur) return false;
  champ = valeur;
  return true;
}
}  // namespace

void TVueModele::SetCaption(const std::string& nom, const std::string& caption) {
  if (Remplace(Controle(nom).caption, caption)) Notifie(nom);
}
void TVueModele::SetHint(const std::string& nom, const std::string& hint) {
  if (Remplace(Controle(nom).hint, hint)) Notifie(nom);
}
void TVueModele::SetVisible(const std::string& nom, bool visible) {
  if (Remplace(Controle(nom).visible, visible)) Notifie(nom);
}
void TVueModele::SetEnabled(const std::string& nom, bool enabled) {
  if (Remplace(Controle(nom).enabled, enabled)) Notifie(nom);
}
void TVueModele::SetEnfonce(const std::string& nom, bool enfonce) {
  if (Remplace(Controle(nom).enfonce, enfonce)) Notifie(nom);
}
void TVueModele::SetCouleur(const std::string& nom, std::uint32_t couleur) {
  if (Remplace(Controle(nom).couleur, couleur)) Notifie(nom);
}

void TVueModele::SetValeur(const std::string& nom, int valeur) {
  if (Remplace(Controle(nom).valeur, valeur)) Notifie(nom);
}
void TVueModele::SetBornes(const std::string& nom, int mini, int maxi) {
  auto& c = Controle(nom);
  if (c.mini == mini && c.maxi == maxi) return;
  c.mini = mini;
  c.maxi = maxi;
  Notifie(nom);
}

void TVueModele::SetStatut(int panneau, const std::string& texte) {
  if (Remplace(statuts_[panneau & 1], texte)) Notifie(panneau ? "StatusBar1" : "StatusBar0");
}

void TVueModele::SetFocus(const std::string& nom) {
  focus_ = nom;
  Notifie("Focus");
}

const std::string& TVueModele::Texte(const std::string& nom) const {
  static const std::string vide;
  auto it = textes_.find(nom);
  return it == textes_.end() ? vide : it->second;
}

void TVueModele::SetTexte(const std::string& nom, const std::string& texte) {
  if (Remplace(textes_[nom], texte)) Notifie(nom);
}

void TVueModele::SetSablier(bool sablier) {
  if (Remplace(sablier_, sablier)) Notifie("Sablier");
}

void TVueModele::Notifie(const std::string& nom) {
  ++version_;
  if (observateur_) observateur_(nom);
}
