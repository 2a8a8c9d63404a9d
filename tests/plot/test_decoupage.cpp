// Clipping of segments in real pixel coordinates to the plot rectangle.
#include <gtest/gtest.h>

#include <limits>
#include <ostream>

#include "plot/decoupage.h"

namespace {

// Table rows print as their name in test listings and failures.
template <class T>
  requires requires(const T& c) { c.nom; }
void PrintTo(const T& c, std::ostream* os) {
  *os << c.nom;
}

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct CasCoupe {
  const char* nom;
  TSegmentReel entree;
  bool garde;
  TSegmentReel sortie;
  bool debutCoupe, finCoupe;
};

class CoupeSegment : public ::testing::TestWithParam<CasCoupe> {};

// The rectangle is 0..100 x 0..50.
TEST_P(CoupeSegment, GardeLaPartieDansLeRectangle) {
  const CasCoupe& c = GetParam();
  TSegmentReel s = c.entree;
  bool debut = false, fin = false;
  ASSERT_EQ(::CoupeSegment(s, 0, 0, 100, 50, debut, fin), c.garde);
  if (!c.garde) return;
  EXPECT_NEAR(s.x0, c.sortie.x0, 1e-9);
  EXPECT_NEAR(s.y0, c.sortie.y0, 1e-9);
  EXPECT_NEAR(s.x1, c.sortie.x1, 1e-9);
  EXPECT_NEAR(s.y1, c.sortie.y1, 1e-9);
  EXPECT_EQ(debut, c.debutCoupe);
  EXPECT_EQ(fin, c.finCoupe);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, CoupeSegment,
    ::testing::Values(CasCoupe{"dedans", {10, 10, 90, 40}, true, {10, 10, 90, 40}, false, false},
                      CasCoupe{"sort_a_droite", {50, 25, 150, 25}, true, {50, 25, 100, 25}, false, true},
                      CasCoupe{"entre_par_le_haut", {50, -50, 50, 25}, true, {50, 0, 50, 25}, true, false},
                      CasCoupe{"traverse", {-100, 25, 200, 25}, true, {0, 25, 100, 25}, true, true},
                      CasCoupe{"diagonale", {-10, -5, 110, 55}, true, {0, 0, 100, 50}, true, true},
                      CasCoupe{"dehors", {-10, 60, 110, 60}, false, {}, false, false},
                      CasCoupe{"dehors_passe_le_coin", {95, 60, 110, 45}, false, {}, false, false},
                      CasCoupe{"sur_le_bord", {0, 0, 0, 50}, true, {0, 0, 0, 50}, false, false},
                      CasCoupe{"point_dedans", {5, 5, 5, 5}, true, {5, 5, 5, 5}, false, false},
                      CasCoupe{"bout_nan", {NaN, 5, 5, 5}, false, {}, false, false},
                      CasCoupe{"bouts_extremes", {-1.7e308, 25, 1.7e308, 25}, true, {0, 25, 100, 25}, true, true},
                      CasCoupe{"vers_un_bout_lointain", {50, 25, 50, 1e300}, true, {50, 25, 50, 50}, false, true}),
    [](const auto& cas) { return std::string(cas.param.nom); });

}  // namespace
