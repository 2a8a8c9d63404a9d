// Least-squares line of y on x, used by the stability verdict of instruments.
#pragma once

#include "util/types.h"

class TStatistiqueDeuxVar {
public:
  double penteY = 0;  // slope of y on x
  double Y0 = 0;      // intercept; kept as it was when the y do not vary

  // Fits elements 0..nbre-1 (nbre is bounded by the vectors' size). penteY is 0 when
  // all y are equal, when fewer than two points are given or when all x are equal;
  // a NaN among the y gives a NaN slope.
  void Init(const vecteur& x, const vecteur& y, int nbre);
};
