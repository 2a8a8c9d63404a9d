// The plot of an engine's table as a PNG picture, for headless runs and the demo.
#pragma once

#include <string>

class TCinetiqueMain;

// Needs a QGuiApplication (fonts). False when the file could not be written.
bool EcritImageGraphe(TCinetiqueMain& moteur, const std::string& chemin, int largeur = 1280, int hauteur = 800);
