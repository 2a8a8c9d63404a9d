// What the simulator libraries share: where their configuration comes from, its lines
// split into words, and the time since the library was loaded.
#pragma once

#include <string>
#include <vector>

// The configuration text: the file named by the environment variable `variable`, else
// the file `nomFichier` beside the library holding `adresse`; empty when neither is.
std::string TexteConfiguration(const char* variable, const char* nomFichier, const void* adresse);

// Lines without comments ('#' to the end), each split into words; a word in double
// quotes may hold blanks. Blank lines are left out.
std::vector<std::vector<std::string>> LignesConfiguration(const std::string& texte);

// Seconds since the library was first used.
double SecondesDepuisChargement();

// A decimal number with '.'; `defaut` when the text is none.
double Reel(const std::string& texte, double defaut);
// `x` with `decimales` digits after '.'.
std::string Fixe(double x, int decimales);

#define PELITRAX_EXPORTE extern "C" __attribute__((visibility("default")))
