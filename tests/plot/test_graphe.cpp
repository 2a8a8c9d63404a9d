// The plot's geometry, on the recording surface: layout, axes and labels, curves,
// points, crosshairs, markers, pixel conversions and axis drags.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/simule/surface_enregistree.h"
#include "plot/couleurs.h"
#include "plot/graphe.h"

namespace {

// Table rows print as their name in test listings and failures.
template <class T>
  requires requires(const T& c) { c.nom; }
void PrintTo(const T& c, std::ostream* os) {
  *os << c.nom;
}

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr TCouleur Gris{0x808080};
constexpr TCouleur Bleu{0x0000FF};
constexpr TCouleur Rouge{0xFF0000};

// Recording surface metrics: "A" is 8 x 16, so marge is 4, the left margin 36 and
// the top and bottom margins 20.
class Graphe : public ::testing::Test {
protected:
  void Prepare(int voies, int largeur = 800, int hauteur = 600) {
    s = std::make_unique<TSurfaceEnregistree>(largeur, hauteur);
    g->NbreVoies = voies;
    g->LimiteFenetre = TRectPixel{0, 0, largeur, hauteur};
  }
  void Dessine() {
    s->Efface();
    g->DrawG(*s);
  }
  std::vector<const TTraceEnregistre*> Textes(TCouleur c) const {
    std::vector<const TTraceEnregistre*> r;
    for (const auto* t : s->Genre(gtTexte))
      if (t->couleur == c) r.push_back(t);
    return r;
  }
  std::vector<std::string> Libelles(TCouleur c) const {
    std::vector<std::string> r;
    for (const auto* t : Textes(c)) r.push_back(t->texte);
    return r;
  }
  const TTraceEnregistre* Texte(const std::string& texte) const {
    for (const auto* t : s->Genre(gtTexte))
      if (t->texte == texte) return t;
    return nullptr;
  }
  std::vector<const TTraceEnregistre*> Remplissages(TCouleur c) const {
    std::vector<const TTraceEnregistre*> r;
    for (const auto* t : s->Genre(gtRectangle))
      if (t->couleur == c) r.push_back(t);
    return r;
  }
  void Points(indiceVoie voie, std::vector<std::pair<double, double>> xy) {
    for (std::size_t i = 0; i < xy.size(); ++i) {
      g->mondeX.valeur[i] = xy[i].first;
      g->mondeY[voie].valeur[i] = xy[i].second;
    }
    g->NbrePoints = static_cast<indiceVecteur>(xy.size());
  }

  std::unique_ptr<Tgraphe> g = std::make_unique<Tgraphe>();
  std::unique_ptr<TSurfaceEnregistree> s;
};

// ---- layout ----

TEST_F(Graphe, MargesSansEtAvecAxeDroit) {
  Prepare(1);
  Dessine();
  EXPECT_EQ(g->LimiteCourbe, (TRectPixel{36, 20, 800, 580}));
  EXPECT_EQ(g->marge, 4);
  Prepare(2);
  Dessine();
  EXPECT_EQ(g->LimiteCourbe, (TRectPixel{36, 20, 764, 580}));
}

struct CasTaille {
  const char* nom;
  int hauteurCourbe, cote;
};

class TaillePoint : public Graphe, public ::testing::WithParamInterface<CasTaille> {};

TEST_P(TaillePoint, CarreSelonLaHauteurDeLaCourbe) {
  Prepare(1, 800, GetParam().hauteurCourbe + 40);
  g->mondeX.SetMinMax(0, 10);
  g->mondeY[0].SetMinMax(0, 10);
  Points(0, {{5, 5}});
  Dessine();
  const auto carres = Remplissages(Bleu);
  ASSERT_EQ(carres.size(), 1u);
  const TRectPixel r = carres[0]->rectangle;
  EXPECT_EQ(r.droite - r.gauche, GetParam().cote);
  EXPECT_EQ(r.bas - r.haut, GetParam().cote);
  int xi = 0, yi = 0;
  g->WindowXY(5, 5, 0, xi, yi);
  EXPECT_EQ((r.gauche + r.droite - 1) / 2, xi);
  EXPECT_EQ((r.haut + r.bas - 1) / 2, yi);
}

INSTANTIATE_TEST_SUITE_P(Hauteurs, TaillePoint,
                         ::testing::Values(CasTaille{"h449", 449, 3}, CasTaille{"h450", 450, 5}, CasTaille{"h900", 900, 7}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(Graphe, SansVoieSeulementLeFond) {
  Prepare(0);
  Points(0, {{0.5, 0.5}});
  g->mondeX.PosCurseur = 100;
  g->mondeY[0].PosCurseur = 100;
  g->AjouteRepere("r", 0.5);
  Dessine();
  ASSERT_EQ(s->Traces().size(), 1u);
  EXPECT_EQ(s->Traces()[0].genre, gtRectangle);
  EXPECT_EQ(s->Traces()[0].rectangle, (TRectPixel{0, 0, 800, 600}));
  EXPECT_EQ(s->Traces()[0].couleur, CouleurFond);
}

TEST_F(Graphe, SansPointAxesGrilleEtTitresSeulement) {
  Prepare(2);
  g->mondeX.Nom = "t";
  g->mondeX.Unite = "s";
  g->mondeX.SetMinMax(0, 100);
  g->mondeY[0].Nom = "pH";
  g->mondeY[0].SetMinMax(0, 14);
  g->mondeY[1].Nom = "T";
  g->mondeY[1].Unite = "\xC2\xB0""C";
  g->mondeY[1].SetMinMax(0, 100);
  Dessine();
  EXPECT_EQ(s->Genre(gtRectangle).size(), 1u);  // the background alone
  EXPECT_TRUE(s->Genre(gtPolyligne).empty());
  ASSERT_NE(Texte("t(s)"), nullptr);
  EXPECT_EQ(Texte("t(s)")->points[0], (TPointPixel{4, 584}));
  ASSERT_NE(Texte("pH"), nullptr);
  EXPECT_EQ(Texte("pH")->points[0], (TPointPixel{4, 4}));
  // The right title ends at R + marge.
  const TTraceEnregistre* droite = Texte("T(\xC2\xB0""C)");
  ASSERT_NE(droite, nullptr);
  EXPECT_EQ(droite->couleur, Rouge);
  EXPECT_EQ(droite->rectangle.droite, 764 + 4);
  // Grid: dotted grey verticals and dotted blue horizontals inside the area.
  int verticales = 0, horizontales = 0;
  for (const auto& seg : s->Segments()) {
    if (seg.crayon.style != stPoints) continue;
    if (seg.crayon.couleur == Gris && seg.debut.x == seg.fin.x) ++verticales;
    if (seg.crayon.couleur == Bleu && seg.debut.y == seg.fin.y) ++horizontales;
  }
  EXPECT_EQ(verticales, 4);   // 20, 40, 60, 80
  EXPECT_EQ(horizontales, 6); // 2 .. 12
}

TEST_F(Graphe, AxeDroitSeulementAvecDeuxVoies) {
  Prepare(1);
  Dessine();
  EXPECT_TRUE(Textes(Rouge).empty());
  Prepare(3);
  g->mondeY[1].SetMinMax(0, 10);
  Dessine();
  EXPECT_EQ(Libelles(Rouge), (std::vector<std::string>{"2", "4", "6", "8", ""}));
  for (const auto* t : Textes(Rouge))
    if (!t->texte.empty()) {
      EXPECT_EQ(t->points[0].x, 764 + 4);
      EXPECT_EQ(t->alignement, atGauche);
    }
  // Short inward ticks, no grid of its own.
  int traitsCourts = 0;
  for (const auto& seg : s->Segments())
    if (seg.crayon.couleur == Rouge && seg.debut.x == 764 && seg.fin.x == 760) ++traitsCourts;
  EXPECT_EQ(traitsCourts, 4);
}

// ---- tick labels ----

TEST_F(Graphe, LibellesDeLIndexEnMilliers) {
  Prepare(1);
  g->mondeX.Nom = "num";
  g->mondeX.SetMinMax(0, 2048);
  Dessine();
  EXPECT_EQ(Libelles(Gris), (std::vector<std::string>{"0.5", "1", "1.5", "2", "num"}));
  for (const auto* t : Textes(Gris)) {
    EXPECT_EQ(t->points[0].y, 580 + 4);
    if (t->texte != "num") {
      EXPECT_EQ(t->alignement, atCentre);
    }
  }
}

TEST_F(Graphe, LibellesDesLitresEnMillilitres) {
  Prepare(1);
  g->mondeY[0].Nom = "V";
  g->mondeY[0].Unite = "L";
  g->mondeY[0].SetMinMax(0, 0.5);
  Dessine();
  EXPECT_EQ(Libelles(Bleu), (std::vector<std::string>{"100", "200", "300", "400", "V(mL)"}));
  for (const auto* t : Textes(Bleu)) {
    if (t->texte == "V(mL)") continue;
    EXPECT_EQ(t->alignement, atDroite);
    EXPECT_EQ(t->points[0].x, 36 - 4);
    EXPECT_EQ(t->points[0].y, g->mondeY[0].PosWindow(std::stod(t->texte) / 1000) - 4);
  }
}

TEST_F(Graphe, TickPresDuBordDroitSansLibelle) {
  Prepare(1);
  g->mondeX.SetMinMax(0, 10.1);  // the tick 10 falls at x 792, within 16 of the edge
  Dessine();
  EXPECT_EQ(Libelles(Gris), (std::vector<std::string>{"2", "4", "6", "8", ""}));
  const int x10 = g->mondeX.PosWindow(10);
  EXPECT_EQ(x10, 792);
  bool grille = false;
  for (const auto& seg : s->Segments())
    grille = grille || (seg.crayon.style == stPoints && seg.debut.x == x10 && seg.fin.x == x10);
  EXPECT_TRUE(grille);
}

TEST_F(Graphe, TickPresDuHautSansLibelle) {
  Prepare(1);
  g->mondeY[0].SetMinMax(0, 10.02);  // the tick 10 falls at y 21, within marge of the top
  Dessine();
  const int y10 = g->mondeY[0].PosWindow(10);
  EXPECT_EQ(y10, 21);
  const auto l = Libelles(Bleu);
  EXPECT_EQ(std::count(l.begin(), l.end(), "10"), 0);
  EXPECT_EQ(std::count(l.begin(), l.end(), "8"), 1);
  bool grille = false;
  for (const auto& seg : s->Segments())
    grille = grille || (seg.crayon.couleur == Bleu && seg.crayon.style == stPoints && seg.debut.y == y10);
  EXPECT_TRUE(grille);
}

TEST_F(Graphe, HeuresAuDelaDe900Secondes) {
  Prepare(1);
  g->mondeX.Nom = "t";
  g->mondeX.Unite = "s";
  g->mondeX.SetMinMax(0, 2000);
  Dessine();
  EXPECT_EQ(Libelles(Gris), (std::vector<std::string>{"00:08:20", "00:16:40", "00:25:00", "t"}));
  g->FormatHeure = [](double jour) { return "h" + std::to_string(std::lround(jour * 86400)); };
  Dessine();
  EXPECT_EQ(Libelles(Gris), (std::vector<std::string>{"h500", "h1000", "h1500", "t"}));
}

TEST_F(Graphe, LignesDuZero) {
  Prepare(1);
  g->mondeX.SetMinMax(-1, 1);
  g->mondeY[0].SetMinMax(-1, 1);
  Dessine();
  const int x0 = g->mondeX.PosWindow(0), y0 = g->mondeY[0].PosWindow(0);
  std::vector<TStyleTrait> verticales;
  bool horizontale = false;
  for (const auto& seg : s->Segments()) {
    if (seg.crayon.couleur == Gris && seg.debut.x == x0 && seg.fin.x == x0) verticales.push_back(seg.crayon.style);
    if (seg.crayon.couleur == Bleu && seg.crayon.style == stPlein && seg.debut == (TPointPixel{36, y0}) &&
        seg.fin == (TPointPixel{800, y0}))
      horizontale = true;
  }
  // Dashed first, then its grid tick, then dotted again over it.
  EXPECT_EQ(verticales, (std::vector<TStyleTrait>{stTirets, stPoints, stPoints}));
  EXPECT_TRUE(horizontale);
}

TEST_F(Graphe, PreparationParLaFenetreAvantChaqueDessin) {
  Prepare(1);
  int appels = 0;
  g->PrepareDessin = [&](Tgraphe& graphe) {
    ++appels;
    graphe.mondeY[0].Nom = "pH";
  };
  Dessine();
  EXPECT_EQ(appels, 1);
  EXPECT_NE(Texte("pH"), nullptr);
}

// ---- curves and points ----

TEST_F(Graphe, CourbeDecoupeeAuRectangleEtCoupeeParLesTrous) {
  Prepare(1);
  g->avecLigne = true;
  g->mondeX.SetMinMax(0, 10);
  g->mondeY[0].SetMinMax(0, 10);
  Points(0, {{1, 1}, {2, 2}, {3, NaN}, {4, 4}, {5, 5}, {6, 1e30}, {7, 7}, {8, 8}});
  Dessine();
  const auto lignes = s->Genre(gtPolyligne);
  // 1-2 | hole | 4-5-(towards the top edge) | (from the top edge)-7-8
  ASSERT_EQ(lignes.size(), 3u);
  EXPECT_EQ(lignes[0]->points.size(), 2u);
  EXPECT_EQ(lignes[1]->points.size(), 3u);
  EXPECT_EQ(lignes[2]->points.size(), 3u);
  const TRectPixel zone{36, 20, 801, 581};
  for (const auto* l : lignes) {
    EXPECT_TRUE(l->decoupe);
    EXPECT_EQ(l->decoupage, zone);
    for (TPointPixel p : l->points) EXPECT_TRUE(p.x >= 34 && p.x <= 802 && p.y >= 18 && p.y <= 582) << p.x << "," << p.y;
  }
  // Six squares: neither the hole nor the point off the scale.
  EXPECT_EQ(Remplissages(Bleu).size(), 6u);
  EXPECT_TRUE(s->ToutPresDeLaSurface(4));
}

TEST_F(Graphe, VoieMaitreEnAbscissePasDeCourbeNiDeCurseur) {
  Prepare(2);
  g->voieMaitre = 1;
  g->AbscisseMaitre = amVoie0;
  Points(0, {{0.2, 0.2}, {0.4, 0.4}});
  Points(1, {{0.2, 0.2}, {0.4, 0.4}});
  g->mondeX.PosCurseur = 300;
  g->mondeY[0].PosCurseur = 300;
  g->mondeY[1].PosCurseur = 200;
  Dessine();
  EXPECT_EQ(Remplissages(Bleu).size(), 2u);
  EXPECT_TRUE(Remplissages(Rouge).empty());
  for (const auto& seg : s->Segments())
    if (seg.crayon.mode == mtNonXor) {
      EXPECT_EQ(seg.crayon.couleur, Bleu);
    }
  // The abscissa kind alone does not hide the channel.
  g->AbscisseMaitre = amTemps;
  Dessine();
  EXPECT_EQ(Remplissages(Rouge).size(), 2u);
}

TEST_F(Graphe, PointIsoleAvecLeSegmentVersLePrecedent) {
  Prepare(1);
  g->avecLigne = true;
  g->mondeX.SetMinMax(0, 10);
  g->mondeY[0].SetMinMax(0, 10);
  Points(0, {{1, 1}, {2, 3}});
  Dessine();
  s->Efface();
  g->mondeX.valeur[2] = 3;
  g->mondeY[0].valeur[2] = 6;
  g->TracePoint(*s, 0, 2);
  const auto carres = Remplissages(Bleu);
  ASSERT_EQ(carres.size(), 1u);
  int x2 = 0, y2 = 0, x1 = 0, y1 = 0;
  g->WindowXY(3, 6, 0, x2, y2);
  g->WindowXY(2, 3, 0, x1, y1);
  EXPECT_TRUE(carres[0]->rectangle.Contient(x2, y2));
  const auto segs = s->Segments();
  ASSERT_EQ(segs.size(), 1u);
  EXPECT_EQ(segs[0].debut, (TPointPixel{x1, y1}));
  EXPECT_EQ(segs[0].fin, (TPointPixel{x2, y2}));
  // The first point has no segment before it; before any repaint nothing is drawn.
  s->Efface();
  g->TracePoint(*s, 0, 0);
  EXPECT_TRUE(s->Segments().empty());
  Tgraphe neuf;
  s->Efface();
  neuf.TracePoint(*s, 0, 0);
  EXPECT_TRUE(s->Traces().empty());
}

// ---- crosshairs and markers ----

TEST_F(Graphe, CurseursEnNonXorEpaisseurTrois) {
  Prepare(2);
  Dessine();
  g->mondeX.PosCurseur = 300;
  g->mondeY[0].PosCurseur = 200;
  g->mondeY[1].PosCurseur = 400;
  s->Efface();
  g->TraceCurseurs(*s);
  const auto segs = s->Segments();
  ASSERT_EQ(segs.size(), 4u);
  EXPECT_EQ(segs[0].debut, (TPointPixel{300, 192}));
  EXPECT_EQ(segs[0].fin, (TPointPixel{300, 208}));
  EXPECT_EQ(segs[1].debut, (TPointPixel{292, 200}));
  EXPECT_EQ(segs[1].fin, (TPointPixel{308, 200}));
  EXPECT_EQ(segs[2].crayon.couleur, Rouge);
  for (const auto& seg : segs) {
    EXPECT_EQ(seg.crayon.mode, mtNonXor);
    EXPECT_EQ(seg.crayon.largeur, 3);
  }
  // The pen is back to copy, width 1 afterwards.
  TSurfaceEnregistree suite(800, 600);
  g->TraceCurseurs(suite);
  suite.Ligne(0, 0, 1, 1);
  EXPECT_EQ(suite.Segments().back().crayon.mode, mtCopie);
  EXPECT_EQ(suite.Segments().back().crayon.largeur, 1);
}

TEST_F(Graphe, CurseursAbsentsOuHorsDeLaZone) {
  Prepare(2);
  Dessine();
  g->mondeY[0].PosCurseur = 200;
  s->Efface();
  g->TraceCurseurs(*s);  // no abscissa position
  EXPECT_TRUE(s->Traces().empty());
  g->mondeX.PosCurseur = 300;
  g->mondeY[0].PosCurseur = -1;
  g->mondeY[1].PosCurseur = std::numeric_limits<std::int32_t>::max();
  g->TraceCurseurs(*s);
  EXPECT_TRUE(s->Segments().empty());
  g->mondeX.PosCurseur = std::numeric_limits<std::int32_t>::max() - 2;
  g->mondeY[0].PosCurseur = 200;
  g->TraceCurseurs(*s);
  EXPECT_TRUE(s->Segments().empty());
}

TEST_F(Graphe, RepereLigneBleueEnTirets) {
  Prepare(1);
  g->mondeX.SetMinMax(0, 100);
  Dessine();
  s->Efface();
  g->AjouteRepere("ajout de soude", 50, s.get());
  const int xm = g->mondeX.PosWindow(50);
  auto segs = s->Segments();
  ASSERT_EQ(segs.size(), 1u);
  EXPECT_EQ(segs[0].debut, (TPointPixel{xm, 20}));
  EXPECT_EQ(segs[0].fin, (TPointPixel{xm, 580}));
  EXPECT_EQ(segs[0].crayon.couleur, CouleurRepere);
  EXPECT_EQ(segs[0].crayon.style, stTirets);
  ASSERT_EQ(g->ListeRepere.size(), 1u);
  EXPECT_EQ(g->ListeRepere[0]->Text, "ajout de soude");
  // Off the scale or without a value: kept, not drawn.
  s->Efface();
  g->AjouteRepere("loin", 1e12, s.get());
  g->AjouteRepere("rien", NaN, s.get());
  EXPECT_TRUE(s->Segments().empty());
  EXPECT_EQ(g->ListeRepere.size(), 3u);
  Dessine();
  int reperes = 0;
  for (const auto& seg : s->Segments()) reperes += seg.crayon.couleur == CouleurRepere && seg.crayon.style == stTirets;
  EXPECT_EQ(reperes, 1);
  g->VideReperes();
  EXPECT_TRUE(g->ListeRepere.empty());
}

// ---- conversions on tables of ranges ----

struct CasPlage {
  const char* nom;
  double mini, maxi;
};

const CasPlage Plages[] = {
    {"normale", 0, 100},
    {"minuscule", 1e-12, 3e-12},
    {"enorme", -1e15, 4e15},
    {"negative", -250, -50},
    {"inversee", 10, 0},
    {"vide_en_zero", 0, 0},
    {"vide_negative", -3, -6},
    {"decalee", 1e9, 1e9 + 1},
    {"nan", NaN, 5},
    {"infinie", -Inf, Inf},
    {"debordante", -1e308, 1e308},
};

class Conversions : public Graphe, public ::testing::WithParamInterface<CasPlage> {};

TEST_P(Conversions, AllerRetourEntrePixelsEtValeurs) {
  Prepare(1);
  g->mondeX.mini = g->mondeY[0].mini = GetParam().mini;
  g->mondeX.maxi = g->mondeY[0].maxi = GetParam().maxi;
  Dessine();
  double lo = 0, hi = 0;
  Tmonde::BornesDeTrace(GetParam().mini, GetParam().maxi, lo, hi);
  std::int32_t xi = 0, yi = 0;
  g->WindowXY(lo, lo, 0, xi, yi);
  EXPECT_EQ(xi, 36);
  EXPECT_EQ(yi, 580);
  g->WindowXY(hi, hi, 0, xi, yi);
  EXPECT_EQ(xi, 800);
  EXPECT_EQ(yi, 20);
  // A pixel back to the world and again to a pixel lands on itself.
  for (const int p : {36, 137, 418, 800}) {
    double x = 0, y = 0;
    g->MondeXY(p, 600 - p / 2, 0, x, y);
    ASSERT_FALSE(std::isnan(x));
    g->WindowXY(x, y, 0, xi, yi);
    EXPECT_EQ(xi, p);
    EXPECT_EQ(yi, 600 - p / 2);
  }
  EXPECT_TRUE(std::isfinite(g->mondeX.a) && g->mondeX.a > 0);
  EXPECT_TRUE(std::isfinite(g->mondeY[0].a) && g->mondeY[0].a < 0);
}

INSTANTIATE_TEST_SUITE_P(Plages, Conversions, ::testing::ValuesIn(Plages),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(Graphe, ConversionsSansValeurEtDebordement) {
  Prepare(1);
  g->mondeX.SetMinMax(0, 10);
  g->mondeY[0].SetMinMax(0, 10);
  Dessine();
  std::int32_t xi = 0, yi = 0;
  g->WindowXY(NaN, 5, 0, xi, yi);
  EXPECT_EQ(xi, -1);
  EXPECT_EQ(yi, 300);
  g->WindowXY(5, 1e300, 0, xi, yi);  // too large for a pixel: both lost
  EXPECT_EQ(xi, -1);
  EXPECT_EQ(yi, -1);
  g->WindowXY(5, 5, 9, xi, yi);  // no such channel
  EXPECT_EQ(xi, -1);
  g->mondeY[0].a = 0;
  double x = 0, y = 0;
  g->MondeXY(100, 100, 0, x, y);
  EXPECT_TRUE(std::isnan(x));
  EXPECT_TRUE(std::isnan(y));
}

// ---- full repaints on tables of ranges ----

class DessinSurPlage : public Graphe, public ::testing::WithParamInterface<CasPlage> {};

TEST_P(DessinSurPlage, FinitEtNeDonneQueDesCoordonneesProchesDeLaSurface) {
  Prepare(3);
  g->avecLigne = true;
  for (Tmonde* m : {&g->mondeX, &g->mondeY[0], &g->mondeY[1], &g->mondeY[2]}) {
    m->mini = GetParam().mini;
    m->maxi = GetParam().maxi;
    m->Unite = "s";
  }
  const double valeurs[] = {0, 1, -1, 1e300, -1e300, NaN, Inf, 50, 1e-12, GetParam().mini, GetParam().maxi};
  int n = 0;
  for (double x : valeurs)
    for (double y : valeurs) {
      g->mondeX.valeur[n] = x;
      for (int v = 0; v < 3; ++v) g->mondeY[v].valeur[n] = y;
      ++n;
    }
  g->NbrePoints = static_cast<indiceVecteur>(n);
  g->mondeX.PosCurseur = 400;
  for (int v = 0; v < 3; ++v) g->mondeY[v].PosCurseur = 300;
  g->AjouteRepere("r", GetParam().maxi);
  Dessine();
  EXPECT_TRUE(s->ToutPresDeLaSurface(16));
  // Ticks are bounded: at most the cap per axis, with its grid line and label.
  EXPECT_LE(s->Genre(gtTexte).size(), static_cast<std::size_t>(4 * Tmonde::MaxGraduations));
  // Curves, points, crosshairs and markers stay inside the plot area.
  for (const auto& t : s->Traces()) {
    const bool repere = t.genre == gtLigne && t.crayon.style == stTirets && t.crayon.couleur == CouleurRepere;
    const bool courbe = t.genre == gtPolyligne || (t.genre == gtRectangle && t.couleur != CouleurFond) ||
                        (t.genre == gtLigne && t.crayon.mode == mtNonXor) || repere;
    if (courbe) {
      EXPECT_TRUE(t.decoupe);
      EXPECT_EQ(t.decoupage, (TRectPixel{36, 20, 765, 581}));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Plages, DessinSurPlage, ::testing::ValuesIn(Plages),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST_F(Graphe, FenetreTropPetitePourLesMarges) {
  Prepare(9, 30, 12);
  g->avecLigne = true;
  Points(0, {{0.1, 0.1}, {0.9, 0.9}});
  g->mondeX.PosCurseur = 5;
  g->mondeY[0].PosCurseur = 5;
  Dessine();
  EXPECT_TRUE(s->Genre(gtPolyligne).empty());
  EXPECT_EQ(Remplissages(Bleu).size(), 0u);
  EXPECT_TRUE(s->ToutPresDeLaSurface(64));
  double x = 0, y = 0;
  g->MondeXY(10, 10, 0, x, y);  // an inverted area still converts both ways
  std::int32_t xi = 0, yi = 0;
  g->WindowXY(x, y, 0, xi, yi);
  EXPECT_EQ(xi, 10);
  EXPECT_EQ(yi, 10);
}

// ---- axis drags ----

TEST_F(Graphe, GlisseAxeXDoubleLaPlage) {
  Prepare(1);
  g->mondeX.SetMinMax(0, 100);
  Dessine();
  ASSERT_TRUE(g->changeEchelleX(36 + 100, 36 + 200));
  EXPECT_NEAR(g->mondeX.mini, 0, 1e-9);
  EXPECT_NEAR(g->mondeX.maxi, 200, 1e-9);
}

TEST_F(Graphe, GlisseAxeXGardeLePixelDuZero) {
  Prepare(1);
  g->mondeX.SetMinMax(-50, 50);
  Dessine();
  const int zero = g->mondeX.PosWindow(0);
  ASSERT_TRUE(g->changeEchelleX(36 + 600, 36 + 500));
  Dessine();
  EXPECT_EQ(g->mondeX.PosWindow(0), zero);
  EXPECT_LT(g->mondeX.maxi - g->mondeX.mini, 100);
}

TEST_F(Graphe, GlisseAxeXNegatifGardeLeBoutDroit) {
  Prepare(1);
  g->mondeX.SetMinMax(-100, 0);
  Dessine();
  ASSERT_TRUE(g->changeEchelleX(36 + 100, 36 + 200));
  EXPECT_NEAR(g->mondeX.maxi, 0, 1e-9);
  EXPECT_NEAR(g->mondeX.mini, -200, 1e-9);
}

TEST_F(Graphe, GlisseAxeYDoubleLaPlage) {
  Prepare(1);
  g->mondeY[0].SetMinMax(0, 100);
  Dessine();
  ASSERT_TRUE(g->changeEchelleY(580 - 100, 580 - 200));
  EXPECT_NEAR(g->mondeY[0].mini, 0, 1e-9);
  EXPECT_NEAR(g->mondeY[0].maxi, 200, 1e-9);
}

TEST_F(Graphe, GlissePresDeLOrigineIgnore) {
  Prepare(1);
  g->mondeX.SetMinMax(0, 100);
  g->mondeY[0].SetMinMax(0, 100);
  Dessine();
  EXPECT_FALSE(g->changeEchelleX(36 + 15, 36 + 200));
  EXPECT_FALSE(g->changeEchelleX(36 + 100, 36));      // old pixel on the origin
  EXPECT_FALSE(g->changeEchelleX(36 + 100, 36 - 50)); // old pixel past it
  EXPECT_FALSE(g->changeEchelleY(580 - 15, 580 - 200));
  EXPECT_FALSE(g->changeEchelleY(580 - 100, 580 + 30));
  EXPECT_EQ(g->mondeX.maxi, 100);
  EXPECT_EQ(g->mondeY[0].maxi, 100);
}

// The stored coordinate follows the mouse only when a rescale was applied: a drag
// that passes the axis and comes back rescales from the last applied pixel, never
// from one at or left of the origin (which would flip or blow up the scale).
TEST_F(Graphe, GlisseAuDelaDeLAxePuisRetour) {
  Prepare(1);
  g->mondeX.SetMinMax(0, 100);
  Dessine();
  ASSERT_TRUE(g->DebutGlisse(36 + 200, 590));
  EXPECT_EQ(g->curseur, curXmax);
  EXPECT_FALSE(g->GlisseAxe(36 + 195, 590));  // within 8 pixels
  EXPECT_FALSE(g->GlisseAxe(36 + 5, 590));    // too near the origin
  EXPECT_FALSE(g->GlisseAxe(36 - 40, 590));   // past the axis
  EXPECT_EQ(g->xCurseur, 36 + 200);
  EXPECT_EQ(g->mondeX.maxi, 100);
  ASSERT_TRUE(g->GlisseAxe(36 + 100, 590));
  EXPECT_NEAR(g->mondeX.maxi, 200, 1e-9);
  EXPECT_EQ(g->xCurseur, 36 + 100);
  Dessine();
  EXPECT_TRUE(g->FinGlisse(36 - 80, 590));  // released past the axis: no change
  EXPECT_EQ(g->curseur, curSelect);
  EXPECT_NEAR(g->mondeX.maxi, 200, 1e-9);
  EXPECT_GT(g->mondeX.a, 0);
}

TEST_F(Graphe, GlisseAxeYAuDelaDuBas) {
  Prepare(1);
  g->mondeY[0].SetMinMax(-10, 10);
  Dessine();
  ASSERT_TRUE(g->DebutGlisse(10, 300));
  EXPECT_EQ(g->curseur, curYmax);
  EXPECT_FALSE(g->GlisseAxe(10, 590));  // below the axis origin
  EXPECT_EQ(g->yCurseur, 300);
  EXPECT_TRUE(g->GlisseAxe(10, 440));
  Dessine();
  EXPECT_TRUE(std::isfinite(g->mondeY[0].a) && g->mondeY[0].a < 0);
  EXPECT_LT(g->mondeY[0].mini, 0);
  EXPECT_GT(g->mondeY[0].maxi, 0);
  EXPECT_TRUE(g->FinGlisse(10, 440));
  EXPECT_FALSE(g->FinGlisse(10, 440));  // no drag any more
}

TEST_F(Graphe, BandesDesAxes) {
  Prepare(1);
  Dessine();
  EXPECT_TRUE(g->isAxeX(100, 590));
  EXPECT_FALSE(g->isAxeX(100, 580));
  EXPECT_FALSE(g->isAxeX(36, 590));
  EXPECT_TRUE(g->isAxeY(10, 300));
  EXPECT_FALSE(g->isAxeY(36, 300));
  EXPECT_FALSE(g->isAxeY(10, 20));
  EXPECT_FALSE(g->DebutGlisse(300, 300));
  EXPECT_EQ(g->curseur, curSelect);
}

}  // namespace
