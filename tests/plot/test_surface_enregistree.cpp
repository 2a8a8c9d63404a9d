// The recording surface used by the geometry tests: metrics and what it keeps.
#include <gtest/gtest.h>

#include "platform/simule/surface_enregistree.h"

namespace {

TEST(SurfaceEnregistree, MesureLesTextesEnCaracteresEtNonEnOctets) {
  TSurfaceEnregistree s(100, 50, 7, 13);
  EXPECT_EQ(s.LargeurTexte("A"), 7);
  EXPECT_EQ(s.LargeurTexte("\xC2\xB5S/cm"), 5 * 7);  // µS/cm
  EXPECT_EQ(s.HauteurTexte("A"), 13);
  s.Texte(50, 10, "abc", atCentre);
  s.Texte(50, 10, "abc", atDroite);
  EXPECT_EQ(s.Traces()[0].rectangle, (TRectPixel{40, 10, 61, 23}));
  EXPECT_EQ(s.Traces()[1].rectangle, (TRectPixel{29, 10, 50, 23}));
}

TEST(SurfaceEnregistree, GardeLeCrayonEtLeDecoupageDeChaqueTrait) {
  TSurfaceEnregistree s(100, 50);
  s.SetCrayon(TCrayon{TCouleur{0xFF0000}, 3, stPoints, mtNonXor});
  s.SetDecoupage(TRectPixel{1, 2, 30, 40});
  const TPointPixel p[] = {{0, 0}, {10, 0}, {10, 10}};
  s.Polyligne(p);
  s.SupprimeDecoupage();
  s.SetCrayon(TCrayon{});
  s.Ligne(5, 5, 6, 6);
  const auto segs = s.Segments();
  ASSERT_EQ(segs.size(), 3u);
  EXPECT_EQ(segs[1].debut, (TPointPixel{10, 0}));
  EXPECT_EQ(segs[1].crayon.mode, mtNonXor);
  EXPECT_TRUE(segs[1].decoupe);
  EXPECT_EQ(segs[1].decoupage, (TRectPixel{1, 2, 30, 40}));
  EXPECT_FALSE(segs[2].decoupe);
  EXPECT_EQ(segs[2].crayon, TCrayon{});
  EXPECT_TRUE(s.ToutPresDeLaSurface(0));
  s.Ligne(0, 0, 200, 0);
  EXPECT_FALSE(s.ToutPresDeLaSurface(16));
}

}  // namespace
