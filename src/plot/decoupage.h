// Clipping of a segment in real pixel coordinates, so that the plot hands the
// surface only end points near its rectangle, whatever the values.
#pragma once

struct TSegmentReel {
  double x0, y0, x1, y1;
};

// Keeps the part of s inside [xmin, xmax] x [ymin, ymax]; false when none is left
// (or an end is not finite). debutCoupe/finCoupe tell which ends were moved.
bool CoupeSegment(TSegmentReel& s, double xmin, double ymin, double xmax, double ymax, bool& debutCoupe,
                  bool& finCoupe);
