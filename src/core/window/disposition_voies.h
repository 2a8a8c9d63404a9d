// The geometry of the channel panels, in the normal view and in the multimeter view
// where the live values fill the window. No Qt here.
#pragma once

#include <optional>
#include <string>

struct TDispositionVoies {
  int hauteurPanneau = 60;     // each channel panel
  int policeTitre = 12;        // caption font height, pixels
  std::string nomPoliceTitre;  // "Tracoria" normally, "Calibri" in the multimeter view
  int policeValeur = 18;       // value label font height
  int hautValeur = 24;         // value label top, in the panel
  int gaucheIndicateur = 168;  // stability indicator left, in the panel
  int largeurPanneauVoies = 210;  // 0: the whole width (multimeter view)
  bool fondBlanc = false;      // the multimeter view whitens the panels (and they stay so)
};

// `voies` channels in use, `hauteur` the height of PanelVoies for the panels,
// `largeur` the main window's client width. The multimeter view with no channel has
// nothing to share out: nothing (the caller leaves that view).
std::optional<TDispositionVoies> DisposeVoies(bool multimetre, int voies, int hauteur, int largeur);
