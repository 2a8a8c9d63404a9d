// What the engine shows, held as data: each named control's caption, hint, visibility,
// enabled and pressed state, colour and focus; the grid's cells; the status panels.
// The main window binds its widgets to it; tests read it with no window.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct TControleVue {
  std::string caption;
  std::string hint;
  bool visible = true;
  bool enabled = true;
  bool enfonce = false;        // pressed state of toggles and stability indicators
  std::uint32_t couleur = 0;   // font colour, RGB
  int valeur = 0;              // spin edits: value and bounds; buttons: image index
  int mini = 0;
  int maxi = 0;
  bool operator==(const TControleVue&) const = default;
};

// A string grid: column-major cells like the window's grid, (colonne, ligne).
class TGrilleVue {
public:
  int NbColonnes() const { return colonnes_; }
  int NbLignes() const { return lignes_; }
  int LigneHaut() const { return ligneHaut_; }
  void SetNbColonnes(int n);
  void SetNbLignes(int n);
  void SetLigneHaut(int ligne) { ligneHaut_ = ligne; }
  const std::string& Cellule(int colonne, int ligne) const;
  void SetCellule(int colonne, int ligne, std::string texte);
  // Empties rows from `premiere` down (all columns).
  void VideLignes(int premiere);

private:
  int colonnes_ = 5;
  int lignes_ = 16;
  int ligneHaut_ = 2;
  std::map<std::pair<int, int>, std::string> cellules_;
};

class TVueModele {
public:
  TVueModele();

  // The named control, created with defaults on first use.
  TControleVue& Controle(const std::string& nom);
  const TControleVue& Controle(const std::string& nom) const;
  bool Existe(const std::string& nom) const { return controles_.count(nom) != 0; }
  const std::map<std::string, TControleVue>& Controles() const { return controles_; }

  // Setters that notify the window only on a real change.
  void SetCaption(const std::string& nom, const std::string& caption);
  void SetHint(const std::string& nom, const std::string& hint);
  void SetVisible(const std::string& nom, bool visible);
  void SetEnabled(const std::string& nom, bool enabled);
  void SetEnfonce(const std::string& nom, bool enfonce);
  void SetCouleur(const std::string& nom, std::uint32_t couleur);
  void SetValeur(const std::string& nom, int valeur);
  void SetBornes(const std::string& nom, int mini, int maxi);

  TGrilleVue& Grille() { return grille_; }
  const TGrilleVue& Grille() const { return grille_; }
  void GrilleChangee() { Notifie("Grid"); }

  // The two status bar panels.
  const std::string& Statut(int panneau) const { return statuts_[panneau & 1]; }
  void SetStatut(int panneau, const std::string& texte);

  // The control that should have the keyboard focus ("ClavierEdit" ...).
  const std::string& Focus() const { return focus_; }
  void SetFocus(const std::string& nom);

  // Text of an edit the user types in ("ClavierEdit", "DureeEdit"): the window
  // writes it, the engine reads and clears it.
  const std::string& Texte(const std::string& nom) const;
  void SetTexte(const std::string& nom, const std::string& texte);

  // Hourglass cursor while a blocking exchange lasts.
  bool Sablier() const { return sablier_; }
  void SetSablier(bool sablier);

  // Called with the control's name after each change ("Grid" for the grid, "Plot" for
  // a requested repaint of the plot). One observer: the window.
  void SetObservateur(std::function<void(const std::string&)> observateur) { observateur_ = std::move(observateur); }
  void DemandeRepeindre() { Notifie("Plot"); }
  std::uint64_t Version() const { return version_; }

private:
  void Notifie(const std::string& nom);

  std::map<std::string, TControleVue> controles_;
  std::map<std::string, std::string> textes_;
  TGrilleVue grille_;
  std::string statuts_[2];
  std::string focus_;
  bool sablier_ = false;
  std::uint64_t version_ = 0;
  std::function<void(const std::string&)> observateur_;
};
