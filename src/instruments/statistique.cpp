// Least-squares line of y on x.
#include "instruments/statistique.h"

#include <cmath>

void TStatistiqueDeuxVar::Init(std::span<const double> x, std::span<const double> y, int nbre) {
  penteY = 0;
  if (nbre > static_cast<int>(x.size())) nbre = static_cast<int>(x.size());
  if (nbre > static_cast<int>(y.size())) nbre = static_cast<int>(y.size());
  if (nbre < 1) return;
  const double n = nbre;
  double sx = 0, sy = 0, sxx = 0, syy = 0;
  for (int i = 0; i < nbre; ++i) {
    sx += x[i];
    sy += y[i];
    sxx += x[i] * x[i];
    syy += y[i] * y[i];
  }
  const double Sxx = sxx - sx * sx / n;
  const double Syy = syy - sy * sy / n;
  if (Syy <= 0) return;
  // One point, or no spread of x: no line can be fitted.
  if (nbre < 2 || !(Sxx > 0)) return;
  const double ecartX = std::sqrt(Sxx / (n - 1));
  const double ecartY = std::sqrt(Syy / (n - 1));
  const double mx = sx / n;
  const double my = sy / n;
  double cov = 0;
  for (int i = 0; i < nbre; ++i) cov += (x[i] - mx) * (y[i] - my);
  const double r = (cov / (n - 1)) / ecartX / ecartY;
  penteY = ecartY * r / ecartX;
  Y0 = my - mx * penteY;
}
