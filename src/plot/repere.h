// A marker: a vertical line on the plot at an abscissa value, with the user's text
// (the text goes to the exports, not onto the plot).
#pragma once

#include <string>
#include <utility>

class Trepere {
public:
  Trepere(std::string texte, double valeurRepere) : Valeur(valeurRepere), Text(std::move(texte)) {}
  virtual ~Trepere() = default;
  double Valeur = 0;  // abscissa in world units
  std::string Text;
};
