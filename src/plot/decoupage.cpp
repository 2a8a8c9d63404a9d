// Liang-Barsky clipping of a segment to a rectangle.
#include "plot/decoupage.h"

#include <algorithm>
#include <cmath>

bool CoupeSegment(TSegmentReel& s, double xmin, double ymin, double xmax, double ymax, bool& debutCoupe,
                  bool& finCoupe) {
  debutCoupe = finCoupe = false;
  if (!(std::isfinite(s.x0) && std::isfinite(s.y0) && std::isfinite(s.x1) && std::isfinite(s.y1))) return false;
  // Wider reals where the platform has them: ends near the largest double on both
  // sides of the rectangle still have a finite difference.
  using reel = long double;
  const reel dx = static_cast<reel>(s.x1) - s.x0;
  const reel dy = static_cast<reel>(s.y1) - s.y0;
  if (!(std::isfinite(dx) && std::isfinite(dy))) return false;
  reel t0 = 0;
  reel t1 = 1;
  int bordDebut = -1, bordFin = -1;  // the edge each end was moved to
  // One bound per edge (left, right, top, bottom): p is the rate at which the
  // segment leaves through it.
  const reel p[4] = {-dx, dx, -dy, dy};
  const reel q[4] = {static_cast<reel>(s.x0) - xmin, static_cast<reel>(xmax) - s.x0,
                     static_cast<reel>(s.y0) - ymin, static_cast<reel>(ymax) - s.y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const reel r = q[i] / p[i];
    if (p[i] < 0) {
      if (r > t1) return false;
      if (r > t0) {
        t0 = r;
        bordDebut = i;
      }
    } else {
      if (r < t0) return false;
      if (r < t1) {
        t1 = r;
        bordFin = i;
      }
    }
  }
  // A moved end lies exactly on its edge: with ends very far apart the parameter
  // alone cannot place it to the pixel.
  const double bords[4] = {xmin, xmax, ymin, ymax};
  auto place = [&](reel t, int bord, double& x, double& y) {
    x = static_cast<double>(s.x0 + t * dx);
    y = static_cast<double>(s.y0 + t * dy);
    if (bord < 2) {
      x = bords[bord];
    } else {
      y = bords[bord];
    }
    x = std::clamp(x, xmin, xmax);
    y = std::clamp(y, ymin, ymax);
  };
  double x0 = s.x0, y0 = s.y0, x1 = s.x1, y1 = s.y1;
  if (bordDebut >= 0) {
    place(t0, bordDebut, x0, y0);
    debutCoupe = true;
  }
  if (bordFin >= 0) {
    place(t1, bordFin, x1, y1);
    finCoupe = true;
  }
  s = TSegmentReel{x0, y0, x1, y1};
  return true;
}
