// One dimension of the live plot: the world range shown, its mapping to pixels, the
// tick layout and titles, the live crosshair position, and the recorded column.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "util/types.h"

class Tmonde {
public:
  Tmonde() = default;
  virtual ~Tmonde() = default;

  double mini = 0;
  double maxi = 1;
  // pixel = world x a + b, rounded to the nearest integer (halves to even).
  double a = 1;
  double b = 0;
  std::int32_t PosCurseur = -1;  // pixel of the live crosshair along this axis; -1: none
  vecteur valeur{};
  vecteur valeurVar{};
  std::string Nom;
  std::string Unite;
  std::string Signif;
  double deltaAxe = 0;  // 0 after setDelta: the range has no ticks (empty, reversed, not finite)
  double exposant = 0;
  double pointDebut = 0;
  std::uint8_t NbreChiffres = 0;
  bool axeDateTime = false;

  // At most this many ticks are laid out, whatever the range and the rounding.
  static constexpr int MaxGraduations = 100;

  void SetMinMax(double bas, double haut);
  void setDelta();
  std::string FormatAxe(double x) const;
  std::string NomAxe(double exposantAxe) const;
  std::int32_t PosWindow(double x) const;
  // Range of the first n values (NaN skipped) widened by a fiftieth of the axis
  // range, kept inside mini..maxi; mini..maxi when there is no value at all.
  void chercheMinmax(indiceVecteur n, double& lo, double& hi) const;

  // Ticks from pointDebut after setDelta: the first always, then every deltaAxe
  // below maxi, never more than MaxGraduations. A tick nearer to 0 than the range
  // divided by fractionZero is exactly 0. Empty when the range has no ticks.
  std::vector<double> Graduations(double fractionZero) const;

  // The range drawn for mini..maxi: ordered, never empty, finite. An empty range
  // v..v is shown as v - |v|/2 .. v + |v|/2 (-1..1 around 0), anything not finite as 0..1.
  static void BornesDeTrace(double bas, double haut, double& lo, double& hi);
  // a and b that put lo on pixelLo and hi on pixelHi (lo < hi, both finite).
  void SetEchelle(double lo, double hi, int pixelLo, int pixelHi);
  // The unrounded pixel of x; NaN stays NaN.
  double PixelReel(double x) const { return x * a + b; }
  // The world value of a pixel; NaN when the mapping has no scale.
  double MondeDePixel(double pixel) const;
};
