// The plot of an engine's table as a PNG picture, for headless runs and the demo.
#pragma once

#include <string>

class TCinetiqueMain;

// Needs a QGuiApplication (fonts). Written through a temporary file and a rename; false
// with the French reason when the file could not be written.
bool EcritImageGraphe(TCinetiqueMain& moteur, const std::string& chemin, std::string& raison, int largeur = 1280,
                      int hauteur = 800);
