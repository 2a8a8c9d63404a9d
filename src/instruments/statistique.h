// Least-squares line of y on x, used by the stability verdict of instruments.
#pragma once

#include <span>

class TStatistiqueDeuxVar {
public:
  double penteY = 0;  // slope of y on x
  double Y0 = 0;      // intercept; kept as it was when the y do not vary

  // Fits elements 0..nbre-1 (nbre is bounded by the shorter column's size). penteY is 0 when
  // all y are equal, when fewer than two points are given or when all x are equal;
  // a NaN among the y gives a NaN slope.
  void Init(std::span<const double> x, std::span<const double> y, int nbre);
};
