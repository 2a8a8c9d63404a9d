// The page information that goes with the table to the data file and the analysis
// program: a comment of several lines and up to two constants, as typed.
#pragma once

#include <string>
#include <vector>

struct TConstantePage {
  std::string nom;     // EditNom1 / EditNom2
  std::string unite;   // EditUnite1 / EditUnite2
  std::string valeur;  // EditValeur1 / EditValeur2, as typed (prefix letters expanded)
};

struct TPageInfo {
  std::vector<std::string> Memo;  // comment lines
  int NbreConst = 0;              // 0..2, computed when the dialog is confirmed
  bool Const1 = false;
  bool Const2 = false;
  TConstantePage constante1;
  TConstantePage constante2;
};
