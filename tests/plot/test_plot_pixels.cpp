// The plot rendered offscreen into a QImage: curve colours where the points are,
// nothing of the curves outside the plot area, crosshairs that erase themselves,
// and the QPainter surface's own rules. Leaves a PNG of the 9-channel plot.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "platform/qt/graphique/surface_qt.h"
#include "plot/couleurs.h"
#include "plot/graphe.h"

namespace {

// The surface needs a GUI application for its fonts; tests run on the offscreen platform.
class ApplicationQt : public ::testing::Environment {
public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nom[] = "test_plot_pixels";
    static char* argv[] = {nom, nullptr};
    application_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { application_.reset(); }

private:
  std::unique_ptr<QGuiApplication> application_;
};

const auto* const environnement = ::testing::AddGlobalTestEnvironment(new ApplicationQt);

QRgb Rgb(TCouleur c) { return qRgb(c.Rouge(), c.Vert(), c.Bleu()); }
bool EstCouleur(const QImage& im, int x, int y, TCouleur c) { return (im.pixel(x, y) & 0xFFFFFF) == (Rgb(c) & 0xFFFFFF); }

constexpr int Largeur = 1280;
constexpr int Hauteur = 800;
constexpr int DebutPic = 1000, FinPic = 1010;   // channel 4 leaves its scale there
constexpr int DebutTrou = 1500, FinTrou = 1520;  // channel 6 has no value there

// Nine channels of 2048 points, each in its own band of a 0..9 scale, so that every
// point's pixel can only hold its own channel's colour.
double Valeur(int voie, int i) {
  if (voie == 4 && i >= DebutPic && i <= FinPic) return i % 2 ? 40.0 : -30.0;
  if (voie == 6 && i >= DebutTrou && i <= FinTrou) return std::numeric_limits<double>::quiet_NaN();
  return voie + 0.5 + 0.3 * std::sin(2 * std::numbers::pi * i / 512.0 + voie);
}

class PlotPixels : public ::testing::Test {
protected:
  void SetUp() override {
    g->NbreVoies = 9;
    g->avecLigne = true;
    g->LimiteFenetre = TRectPixel{0, 0, Largeur, Hauteur};
    g->mondeX.Nom = "t";
    g->mondeX.Unite = "s";
    g->mondeX.SetMinMax(0, 2048);
    const char* noms[] = {"pH", "T", "E", "U", "I", "m", "c", "P", "V"};
    const char* unites[] = {"", "\xC2\xB0""C", "mV", "V", "mA", "g", "mS/cm", "hPa", "mL"};
    for (int v = 0; v < 9; ++v) {
      g->mondeY[v].Nom = noms[v];
      g->mondeY[v].Unite = unites[v];
      g->mondeY[v].SetMinMax(0, 9);
    }
    for (int i = 0; i < MaxPoints; ++i) {
      g->mondeX.valeur[i] = i;
      for (int v = 0; v < 9; ++v) g->mondeY[v].valeur[i] = Valeur(v, i);
    }
    g->NbrePoints = MaxPoints;
    g->AjouteRepere("ajout", 600);
  }

  // Crosshairs at point 1700 of every channel (positions from the last repaint).
  void PlaceCurseurs() {
    g->mondeX.PosCurseur = g->mondeX.PosWindow(1700);
    for (int v = 0; v < 9; ++v) g->mondeY[v].PosCurseur = g->mondeY[v].PosWindow(Valeur(v, 1700));
  }

  void Dessine() {
    image.fill(Qt::black);  // anything not painted would show
    TSurfaceQt surface(image);
    g->DrawG(surface);
  }

  std::unique_ptr<Tgraphe> g = std::make_unique<Tgraphe>();
  QImage image{Largeur, Hauteur, QImage::Format_RGB32};
};

bool PresDe(int x, int cible, int distance) { return std::abs(x - cible) <= distance; }

TEST_F(PlotPixels, NeufVoiesDe2048Points) {
  Dessine();
  PlaceCurseurs();
  {
    TSurfaceQt surface(image);
    g->TraceCurseurs(surface);
  }
  const QString dossier = QStringLiteral(PELITRAX_ARTEFACTS_DIR);
  QDir().mkpath(dossier);
  EXPECT_TRUE(image.save(dossier + "/plot_9_voies.png"));

  const TRectPixel c = g->LimiteCourbe;
  const int xRepere = g->mondeX.PosWindow(600);
  const int xCurseur = g->mondeX.PosCurseur;

  // Every point away from the marker, the crosshairs and channel 4's spike holds its
  // channel's colour.
  for (int v = 0; v < 9; ++v) {
    int verifies = 0;
    for (int i = 0; i < MaxPoints; i += 7) {
      if (std::isnan(Valeur(v, i)) || (i >= DebutPic - 20 && i <= FinPic + 20)) continue;
      std::int32_t x = 0, y = 0;
      g->WindowXY(i, Valeur(v, i), static_cast<indiceVoie>(v), x, y);
      if (PresDe(x, xRepere, 2) || PresDe(x, xCurseur, 10)) continue;
      EXPECT_TRUE(EstCouleur(image, x, y, CouleurVoie(static_cast<indiceVoie>(v))))
          << "channel " << v << " point " << i << " at " << x << "," << y;
      ++verifies;
    }
    EXPECT_GT(verifies, 250) << "channel " << v;
  }

  // Nothing of the curves outside the plot area: no colour of channels 2..8 there
  // (they have no axis), no channel colour at all under the plot or in the corner
  // where a missing value would land.
  int horsZone = 0;
  for (int y = 0; y < Hauteur; ++y)
    for (int x = 0; x < Largeur; ++x) {
      if (x >= c.gauche && x <= c.droite && y >= c.haut && y <= c.bas) continue;
      for (int v = 2; v < 9; ++v) horsZone += EstCouleur(image, x, y, CouleurVoie(static_cast<indiceVoie>(v)));
      if (y > c.bas + 1)
        for (int v = 0; v < 2; ++v) horsZone += EstCouleur(image, x, y, CouleurVoie(static_cast<indiceVoie>(v)));
    }
  EXPECT_EQ(horsZone, 0);
  EXPECT_TRUE(EstCouleur(image, 0, 0, CouleurFond));

  // Channel 4's spike is drawn up to the top and bottom edges of the area.
  const int xPic = g->mondeX.PosWindow(DebutPic + 5);
  int fuchsiaHaut = 0, fuchsiaBas = 0;
  for (int x = xPic - 4; x <= xPic + 4; ++x) {
    fuchsiaHaut += EstCouleur(image, x, c.haut + 1, CouleurVoie(4));
    fuchsiaBas += EstCouleur(image, x, c.bas - 1, CouleurVoie(4));
  }
  EXPECT_GT(fuchsiaHaut, 0);
  EXPECT_GT(fuchsiaBas, 0);

  // Channel 6's hole is a gap in its band.
  const int xTrou = g->mondeX.PosWindow((DebutTrou + FinTrou) / 2);
  const int yHaut6 = g->mondeY[6].PosWindow(7), yBas6 = g->mondeY[6].PosWindow(6);
  for (int y = yHaut6; y <= yBas6; ++y) EXPECT_FALSE(EstCouleur(image, xTrou, y, CouleurVoie(6))) << y;

  // Axes: channel 0 on the left, channel 1 on the right, grey grid inside.
  EXPECT_TRUE(EstCouleur(image, c.gauche, (c.haut + c.bas) / 2, CouleurVoie(0)));
  EXPECT_TRUE(EstCouleur(image, c.droite, (c.haut + c.bas) / 2, CouleurVoie(1)));
  int rougeADroite = 0, grisDedans = 0;
  for (int y = 0; y < Hauteur; ++y) {
    for (int x = c.droite + 2; x < Largeur; ++x) rougeADroite += EstCouleur(image, x, y, CouleurVoie(1));
    grisDedans += EstCouleur(image, g->mondeX.PosWindow(500), y, CouleurAxeX);
  }
  EXPECT_GT(rougeADroite, 20);  // its tick labels
  EXPECT_GT(grisDedans, 20);    // a dotted grid line
}

TEST_F(PlotPixels, CurseursDessinesDeuxFoisRestaurentLImage) {
  Dessine();
  PlaceCurseurs();
  const QImage avant = image.copy();
  {
    TSurfaceQt surface(image);
    ASSERT_TRUE(surface.NonXorDisponible());
    g->TraceCurseurs(surface);
  }
  EXPECT_NE(image, avant);
  // On white, an arm shows in its channel's colour.
  const int px = g->mondeX.PosCurseur, py = g->mondeY[2].PosCurseur;
  EXPECT_TRUE(EstCouleur(image, px, py - 6, CouleurVoie(2)) || EstCouleur(avant, px, py - 6, CouleurVoie(2)));
  {
    TSurfaceQt surface(image);
    g->TraceCurseurs(surface);
  }
  EXPECT_EQ(image, avant);
}

TEST_F(PlotPixels, PointsAjoutesEntreDeuxDessins) {
  g->NbrePoints = 100;
  g->mondeX.valeur[100] = 150;  // away from point 99, so its square shows on its own
  Dessine();
  const QImage avant = image.copy();
  {
    TSurfaceQt surface(image);
    for (int v = 0; v < 9; ++v) g->TracePoint(surface, static_cast<indiceVoie>(v), 100);
  }
  g->NbrePoints = 101;
  for (int v = 0; v < 9; ++v) {
    const TCouleur c = CouleurVoie(static_cast<indiceVoie>(v));
    std::int32_t x = 0, y = 0, x99 = 0, y99 = 0;
    g->WindowXY(150, Valeur(v, 100), static_cast<indiceVoie>(v), x, y);
    g->WindowXY(99, Valeur(v, 99), static_cast<indiceVoie>(v), x99, y99);
    EXPECT_FALSE(EstCouleur(avant, x, y, c)) << v;
    EXPECT_TRUE(EstCouleur(image, x, y, c)) << v;
    // and the segment back to point 99
    const int xm = (x + x99) / 2;
    bool segment = false;
    for (int dy = -3; dy <= 3; ++dy) segment = segment || EstCouleur(image, xm, (y + y99) / 2 + dy, c);
    EXPECT_TRUE(segment) << v;
  }
  // The same picture as a full repaint of the 101 points.
  const QImage increment = image.copy();
  Dessine();
  EXPECT_EQ(image, increment);
}

// ---- the QPainter surface itself ----

class SurfaceQt : public ::testing::Test {
protected:
  SurfaceQt() { image.fill(Qt::white); }
  QImage image{200, 100, QImage::Format_RGB32};
  static constexpr TCouleur Noir{0x000000};
  int Compte(TCouleur c, TRectPixel r) const {
    int n = 0;
    for (int y = r.haut; y < r.bas; ++y)
      for (int x = r.gauche; x < r.droite; ++x) n += EstCouleur(image, x, y, c);
    return n;
  }
};

TEST_F(SurfaceQt, LignesAvecLeursDeuxBoutsEtRectanglesSansLeurBordDroit) {
  {
    TSurfaceQt s(image);
    s.SetCrayon(TCrayon{Noir});
    s.Ligne(10, 10, 19, 10);
    s.RemplitRectangle(TRectPixel{50, 50, 55, 53}, Noir);
  }
  EXPECT_EQ(Compte(Noir, {0, 10, 200, 11}), 10);
  EXPECT_TRUE(EstCouleur(image, 10, 10, Noir));
  EXPECT_TRUE(EstCouleur(image, 19, 10, Noir));
  EXPECT_EQ(Compte(Noir, {40, 40, 70, 70}), 15);
}

TEST_F(SurfaceQt, TiretsEtPointsLaissentDesTrous) {
  {
    TSurfaceQt s(image);
    s.SetCrayon(TCrayon{Noir, 1, stTirets});
    s.Ligne(0, 10, 99, 10);
    s.SetCrayon(TCrayon{Noir, 1, stPoints});
    s.Ligne(0, 20, 99, 20);
  }
  const int tirets = Compte(Noir, {0, 10, 100, 11});
  const int points = Compte(Noir, {0, 20, 100, 21});
  EXPECT_GT(tirets, 40);
  EXPECT_LT(tirets, 80);
  EXPECT_GT(points, 15);
  EXPECT_LT(points, 40);
}

TEST_F(SurfaceQt, DecoupageLimiteToutSaufApresSuppression) {
  {
    TSurfaceQt s(image);
    s.SetDecoupage(TRectPixel{20, 20, 40, 40});
    s.RemplitRectangle(TRectPixel{0, 0, 200, 100}, Noir);
    s.SetCrayon(TCrayon{Noir});
    s.Ligne(0, 60, 199, 60);
    s.SupprimeDecoupage();
    s.Ligne(0, 80, 199, 80);
  }
  EXPECT_EQ(Compte(Noir, {0, 0, 200, 70}), 400);
  EXPECT_EQ(Compte(Noir, {0, 80, 200, 81}), 200);
}

TEST_F(SurfaceQt, TexteAligneSurSonAbscisseEtSonHaut) {
  int largeur = 0, hauteur = 0;
  {
    TSurfaceQt s(image);
    s.SetCouleurTexte(Noir);
    largeur = s.LargeurTexte("8888");
    hauteur = s.HauteurTexte("8888");
    s.Texte(100, 10, "8888", atDroite);
    s.Texte(100, 50, "8888", atGauche);
  }
  ASSERT_GT(largeur, 10);
  auto encre = [&](TRectPixel r) {
    int n = 0;
    for (int y = r.haut; y < r.bas; ++y)
      for (int x = r.gauche; x < r.droite; ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
  };
  EXPECT_GT(encre({100 - largeur, 10, 100, 10 + hauteur}), 20);
  EXPECT_EQ(encre({101, 0, 200, 45}), 0);           // right-aligned: nothing past x
  EXPECT_EQ(encre({0, 0, 200, 10}), 0);             // nothing above its top
  EXPECT_GT(encre({100, 50, 100 + largeur, 50 + hauteur}), 20);
  EXPECT_EQ(encre({0, 46, 99, 100}), 0);            // left-aligned: nothing before x
}

}  // namespace
