// The live plot: layout, full repaint, incremental points, crosshairs, markers,
// pixel conversions and axis drags.
#include "plot/graphe.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "plot/couleurs.h"
#include "plot/decoupage.h"
#include "util/durees.h"

namespace {

constexpr int BrasCurseur = 8;       // crosshair arm, pixels
constexpr int EpaisseurCurseur = 3;
constexpr int DistanceOrigineMin = 16;  // a drag nearer the axis origin is ignored
constexpr int SeuilGlisse = 8;          // mouse travel that triggers a rescale

TCrayon Crayon(TCouleur c, TStyleTrait style = stPlein) { return TCrayon{c, 1, style, mtCopie}; }

bool DansOuvert(int v, int bas, int haut) { return bas < v && v < haut; }


}  // namespace

int Tgraphe::VoiesUtilisees() const { return std::clamp(NbreVoies, 0, static_cast<int>(mondeY.size())); }

bool Tgraphe::VoieTracee(indiceVoie voie) const { return !(voie == voieMaitre && AbscisseMaitre == amVoie0); }

TRectPixel Tgraphe::ZoneCourbe() const {
  const TRectPixel& l = LimiteCourbe;
  // No area before the first repaint, nor in a window too small for the margins.
  if (l.droite <= l.gauche || l.bas <= l.haut) return TRectPixel{};
  return TRectPixel{l.gauche, l.haut, l.droite + 1, l.bas + 1};
}

void Tgraphe::DrawG(TSurfaceDessin& Canvas) {
  if (PrepareDessin) PrepareDessin(*this);
  Canvas.SupprimeDecoupage();
  largCarac = Canvas.LargeurTexte("A");
  hautCarac = Canvas.HauteurTexte("A");
  marge = largCarac / 2;

  LimiteCourbe = LimiteFenetre;
  LimiteCourbe.gauche += marge + 4 * largCarac;
  LimiteCourbe.haut += marge + hautCarac;
  LimiteCourbe.bas -= marge + hautCarac;
  if (NbreVoies > 1) LimiteCourbe.droite -= marge + 4 * largCarac;

  Canvas.SetCouleurTexte(CouleurAxeX);
  Canvas.RemplitRectangle(LimiteFenetre, CouleurFond);
  CalculMonde();
  if (VoiesUtilisees() == 0) return;  // nothing but the background without a channel
  if (quadrillage) DrawAxis(Canvas);
  Canvas.SetCrayon(Crayon(TCouleur{}));
  for (int v = 0; v < VoiesUtilisees(); ++v) TraceCourbe(Canvas, static_cast<indiceVoie>(v));
  TraceCurseurs(Canvas);
  for (const auto& r : ListeRepere) TraceRepere(Canvas, *r);
}

void Tgraphe::CalculMonde() {
  const TRectPixel& l = LimiteCourbe;
  double lo = 0, hi = 1;
  Tmonde::BornesDeTrace(mondeX.mini, mondeX.maxi, lo, hi);
  mondeX.SetEchelle(lo, hi, l.gauche, l.droite);
  for (int i = 0; i < VoiesUtilisees(); ++i) {
    Tmonde::BornesDeTrace(mondeY[i].mini, mondeY[i].maxi, lo, hi);
    mondeY[i].SetEchelle(lo, hi, l.bas, l.haut);
  }
  dimPoint = (l.bas - l.haut) / 450 + 1;
}

std::string Tgraphe::LibelleX(double t) const {
  if (!mondeX.axeDateTime) return mondeX.FormatAxe(t / mondeX.exposant);
  const double s = std::clamp(std::nearbyint(t), static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                              static_cast<double>(std::numeric_limits<std::int32_t>::max()));
  const double heure = SecondesEnHeure(static_cast<std::int32_t>(s));
  return FormatHeure ? FormatHeure(heure) : TexteHeure(heure);
}

void Tgraphe::DrawAxis(TSurfaceDessin& Canvas) {
  if (VoiesUtilisees() == 0) return;
  const int L = LimiteCourbe.gauche, T = LimiteCourbe.haut, R = LimiteCourbe.droite, B = LimiteCourbe.bas;
  const int Lw = LimiteFenetre.gauche, Rw = LimiteFenetre.droite;
  const int m = marge;

  // Horizontal axis, in grey.
  Canvas.SetCouleurTexte(CouleurAxeX);
  mondeX.setDelta();
  const int x0 = mondeX.PosWindow(0);
  const bool zeroX = DansOuvert(x0, L, R);
  if (zeroX) {
    Canvas.SetCrayon(Crayon(CouleurAxeX, stTirets));
    LineG(Canvas, x0, B, x0, T);
  }
  Canvas.SetCrayon(Crayon(CouleurAxeX));
  LineG(Canvas, Lw, B, Rw, B);
  LineG(Canvas, Rw - 3 * m, B + m, Rw, B);
  LineG(Canvas, Rw - 3 * m, B - m, Rw, B);
  Canvas.SetCrayon(Crayon(CouleurAxeX, stPoints));
  for (const double t : mondeX.Graduations(100)) {
    const int xi = mondeX.PosWindow(t);
    if (!DansOuvert(xi, L, R)) continue;
    LineG(Canvas, xi, T, xi, B);
    if (DansOuvert(xi, L + m, Rw - 2 * largCarac)) Canvas.Texte(xi, B + m, LibelleX(t), atCentre);
  }
  Canvas.Texte(Lw + m, B + m, mondeX.axeDateTime ? mondeX.Nom : mondeX.NomAxe(mondeX.exposant), atGauche);
  if (zeroX) LineG(Canvas, x0, B, x0, T);

  DessineAxeVertical(Canvas, 0);
  if (VoiesUtilisees() > 1) DessineAxeVertical(Canvas, 1);
  Canvas.SetCouleurTexte(CouleurAxeX);
}

// Channel 0's axis stands on the left edge with the grid, its labels to its left and
// its title in the top-left corner; channel 1's on the right edge with short inward
// ticks instead of a grid, labels to its right and a title ending at R + marge.
void Tgraphe::DessineAxeVertical(TSurfaceDessin& Canvas, indiceVoie voie) {
  const int L = LimiteCourbe.gauche, T = LimiteCourbe.haut, R = LimiteCourbe.droite, B = LimiteCourbe.bas;
  const int m = marge;
  const bool gauche = voie == 0;
  const int x = gauche ? L : R;
  Tmonde& y = mondeY[voie];
  const TCouleur c = CouleurVoie(voie);
  y.setDelta();
  Canvas.SetCouleurTexte(c);
  Canvas.SetCrayon(Crayon(c));
  LineG(Canvas, x, B, x, T);
  LineG(Canvas, x + m, T + 3 * m, x, T);
  LineG(Canvas, x - m, T + 3 * m, x, T);
  if (gauche) Canvas.SetCrayon(Crayon(c, stPoints));
  for (const double t : y.Graduations(1000)) {
    const int yi = y.PosWindow(t);
    if (!DansOuvert(yi, T, B)) continue;
    if (gauche) {
      LineG(Canvas, L, yi, R, yi);
    } else {
      LineG(Canvas, R, yi, R - m, yi);
    }
    if (DansOuvert(yi, T + m, B - m))
      Canvas.Texte(gauche ? L - m : R + m, yi - m, y.FormatAxe(t / y.exposant), gauche ? atDroite : atGauche);
  }
  const std::string titre = y.NomAxe(y.exposant);
  const int xTitre = gauche ? LimiteFenetre.gauche + m : R + m - Canvas.LargeurTexte(titre);
  Canvas.Texte(xTitre, LimiteFenetre.haut + m, titre, atGauche);
  const int y0 = y.PosWindow(0);
  if (DansOuvert(y0, T, B)) {
    Canvas.SetCrayon(Crayon(c));
    LineG(Canvas, L, y0, R, y0);
  }
}

void Tgraphe::TraceCourbe(TSurfaceDessin& Canvas, indiceVoie voie) {
  if (voie >= mondeY.size() || !VoieTracee(voie)) return;
  Tmonde& y = mondeY[voie];
  double lo = 0, hi = 1;
  if (loupeAuto && NbrePoints > 16) {
    y.chercheMinmax(NbrePoints, lo, hi);
    Tmonde::BornesDeTrace(lo, hi, lo, hi);
  } else {
    Tmonde::BornesDeTrace(y.mini, y.maxi, lo, hi);
  }
  y.SetEchelle(lo, hi, LimiteCourbe.bas, LimiteCourbe.haut);
  const int n = std::min<int>(NbrePoints, MaxPoints);
  if (n > 0) DessineCourbe(Canvas, voie, 0, n - 1);
}

void Tgraphe::TracePoint(TSurfaceDessin& Canvas, indiceVoie voie, indiceVecteur i) {
  if (voie >= mondeY.size() || i >= mondeX.valeur.size()) return;
  DessineCourbe(Canvas, voie, i, i);
}

// Points premier..fin of a channel (squares), with the segments back from each to
// the point before it when lines are on. Only what falls in the plot area is drawn:
// a missing value leaves a gap, a value off the scale a line to the edge.
void Tgraphe::DessineCourbe(TSurfaceDessin& Canvas, indiceVoie voie, int premier, int fin) {
  const TRectPixel z = ZoneCourbe();
  if (z.Vide()) return;
  const Tmonde& mx = mondeX;
  const Tmonde& my = mondeY[voie];
  const TCouleur c = CouleurVoie(voie);
  const int d = std::max(dimPoint, 0);
  Canvas.SetDecoupage(z);
  Canvas.SetCrayon(Crayon(c));

  carres_.clear();
  for (int i = premier; i <= fin; ++i) {
    const double px = mx.PixelReel(mx.valeur[i]);
    const double py = my.PixelReel(my.valeur[i]);
    // Squares wholly outside the area are dropped here, before any rounding.
    if (!(px >= z.gauche - d - 1 && px <= z.droite + d && py >= z.haut - d - 1 && py <= z.bas + d)) continue;
    const int xi = static_cast<int>(std::nearbyint(px));
    const int yi = static_cast<int>(std::nearbyint(py));
    carres_.push_back(TRectPixel{xi - d, yi - d, xi + d + 1, yi + d + 1});
  }
  if (!carres_.empty()) Canvas.RemplitRectangles(carres_, c);

  if (avecLigne) {
    const double xmin = z.gauche - 2, xmax = z.droite + 1, ymin = z.haut - 2, ymax = z.bas + 1;
    trace_.clear();
    auto vide = [&] {
      if (trace_.size() >= 2) Canvas.Polyligne(trace_);
      trace_.clear();
    };
    for (int i = std::max(premier, 1); i <= fin; ++i) {
      TSegmentReel s{mx.PixelReel(mx.valeur[i - 1]), my.PixelReel(my.valeur[i - 1]), mx.PixelReel(mx.valeur[i]),
                     my.PixelReel(my.valeur[i])};
      bool debutCoupe = false, finCoupe = false;
      if (!CoupeSegment(s, xmin, ymin, xmax, ymax, debutCoupe, finCoupe)) {
        vide();
        continue;
      }
      const TPointPixel p0{static_cast<int>(std::nearbyint(s.x0)), static_cast<int>(std::nearbyint(s.y0))};
      const TPointPixel p1{static_cast<int>(std::nearbyint(s.x1)), static_cast<int>(std::nearbyint(s.y1))};
      if (debutCoupe) vide();
      if (trace_.empty()) trace_.push_back(p0);
      trace_.push_back(p1);
      if (finCoupe) vide();
    }
    vide();
  }
  Canvas.SupprimeDecoupage();
}

void Tgraphe::TraceCurseurs(TSurfaceDessin& Canvas) {
  if (mondeX.PosCurseur < 0) return;
  const TRectPixel z = ZoneCourbe();
  if (z.Vide()) return;
  const int px = mondeX.PosCurseur;
  // A crosshair wholly outside the area is not drawn, the same way both times, so
  // the second drawing still erases the first.
  if (px < z.gauche - BrasCurseur || px >= z.droite + BrasCurseur) return;
  Canvas.SetDecoupage(z);
  for (int i = 0; i < VoiesUtilisees(); ++i) {
    const auto voie = static_cast<indiceVoie>(i);
    const int py = mondeY[i].PosCurseur;
    if (!VoieTracee(voie) || py < 0) continue;
    if (py < z.haut - BrasCurseur || py >= z.bas + BrasCurseur) continue;
    Canvas.SetCrayon(TCrayon{CouleurVoie(voie), EpaisseurCurseur, stPlein, mtNonXor});
    LineG(Canvas, px, py - BrasCurseur, px, py + BrasCurseur);
    LineG(Canvas, px - BrasCurseur, py, px + BrasCurseur, py);
  }
  Canvas.SetCrayon(Crayon(TCouleur{}));
  Canvas.SupprimeDecoupage();
}

void Tgraphe::TraceRepere(TSurfaceDessin& Canvas, const Trepere& repere) {
  const double px = mondeX.PixelReel(repere.Valeur);
  if (!(px > LimiteCourbe.gauche - 1 && px < LimiteCourbe.droite + 1)) return;
  const int xm = static_cast<int>(std::nearbyint(px));
  Canvas.SetDecoupage(ZoneCourbe());
  Canvas.SetCrayon(Crayon(CouleurRepere, stTirets));
  LineG(Canvas, xm, LimiteCourbe.haut, xm, LimiteCourbe.bas);
  Canvas.SetCrayon(Crayon(CouleurRepere));
  Canvas.SupprimeDecoupage();
}

Trepere& Tgraphe::AjouteRepere(const std::string& texte, double valeur, TSurfaceDessin* Canvas) {
  ListeRepere.push_back(std::make_unique<Trepere>(texte, valeur));
  if (Canvas) TraceRepere(*Canvas, *ListeRepere.back());
  return *ListeRepere.back();
}

void Tgraphe::WindowXY(double x, double y, indiceVoie voie, std::int32_t& xi, std::int32_t& yi) const {
  xi = yi = -1;
  if (voie >= mondeY.size()) return;
  constexpr double Min = std::numeric_limits<std::int32_t>::min();
  constexpr double Max = std::numeric_limits<std::int32_t>::max();
  const double px = std::nearbyint(mondeX.PixelReel(x));
  const double py = std::nearbyint(mondeY[voie].PixelReel(y));
  const bool debordeX = !std::isnan(x) && !(px >= Min && px <= Max);
  const bool debordeY = !std::isnan(y) && !(py >= Min && py <= Max);
  if (debordeX || debordeY) return;
  if (!std::isnan(x)) xi = static_cast<std::int32_t>(px);
  if (!std::isnan(y)) yi = static_cast<std::int32_t>(py);
}

void Tgraphe::MondeXY(std::int32_t xi, std::int32_t yi, indiceVoie voie, double& x, double& y) const {
  x = y = std::numeric_limits<double>::quiet_NaN();
  if (voie >= mondeY.size()) return;
  const double wx = mondeX.MondeDePixel(xi);
  const double wy = mondeY[voie].MondeDePixel(yi);
  if (std::isnan(wx) || std::isnan(wy)) return;
  x = wx;
  y = wy;
}

bool Tgraphe::isAxeX(std::int32_t x, std::int32_t y) const {
  return y > LimiteCourbe.bas && LimiteCourbe.gauche < x && x < LimiteCourbe.droite;
}

bool Tgraphe::isAxeY(std::int32_t x, std::int32_t y) const {
  return LimiteCourbe.haut < y && y < LimiteCourbe.bas && x < LimiteCourbe.gauche;
}

namespace {

// The drag rescale of one axis: origine is the pixel of the axis origin (left or
// bottom edge), fin the opposite edge, d1 and d0 the new and old distances of the
// mouse from the origin. The scale a keeps its sign; the range keeps its left (or
// bottom) end when it is positive, its right (or top) end when negative, and the
// pixel of zero when it straddles zero.
bool ReEchelonne(Tmonde& m, double origine, double fin, double d1, double d0) {
  if (d1 < DistanceOrigineMin) return false;
  // The old pixel must lie past the origin too: a ratio over a zero or negative
  // distance would flip or blow up the scale.
  if (d0 <= 0) return false;
  const double a = m.a * d1 / d0;
  if (!(std::isfinite(a) && a != 0 && std::signbit(a) == std::signbit(m.a))) return false;
  const double etendue = fin - origine;
  double mi = m.mini, ma = m.maxi;
  if (ma > 0 && mi >= 0) ma = mi + etendue / a;
  if (mi < 0 && ma <= 0) mi = ma - etendue / a;
  if (mi * ma < 0) {
    ma = (fin - m.b) / a;
    mi = (origine - m.b) / a;
  }
  if (!(std::isfinite(mi) && std::isfinite(ma) && mi < ma) || (mi == m.mini && ma == m.maxi)) return false;
  m.a = a;
  m.mini = mi;
  m.maxi = ma;
  return true;
}

}  // namespace

bool Tgraphe::changeEchelleX(std::int32_t x1, std::int32_t x0) {
  const double L = LimiteCourbe.gauche;
  return ReEchelonne(mondeX, L, LimiteCourbe.droite, x1 - L, x0 - L);
}

bool Tgraphe::changeEchelleY(std::int32_t y1, std::int32_t y0) {
  const double B = LimiteCourbe.bas;
  return ReEchelonne(mondeY[0], B, LimiteCourbe.haut, B - y1, B - y0);
}

void Tgraphe::LineG(TSurfaceDessin& Canvas, int x1, int y1, int x2, int y2) { Canvas.Ligne(x1, y1, x2, y2); }

bool Tgraphe::DebutGlisse(std::int32_t x, std::int32_t y) {
  if (isAxeX(x, y)) {
    curseur = curXmax;
    xCurseur = x;
    return true;
  }
  if (isAxeY(x, y)) {
    curseur = curYmax;
    yCurseur = y;
    return true;
  }
  return false;
}

bool Tgraphe::GlisseAxe(std::int32_t x, std::int32_t y) {
  if (curseur == curXmax && std::abs(static_cast<double>(x) - xCurseur) > SeuilGlisse && changeEchelleX(x, xCurseur)) {
    xCurseur = x;
    return true;
  }
  if (curseur == curYmax && std::abs(static_cast<double>(y) - yCurseur) > SeuilGlisse && changeEchelleY(y, yCurseur)) {
    yCurseur = y;
    return true;
  }
  return false;
}

bool Tgraphe::FinGlisse(std::int32_t x, std::int32_t y) {
  if (curseur == curSelect) return false;
  if (curseur == curXmax && changeEchelleX(x, xCurseur)) xCurseur = x;
  if (curseur == curYmax && changeEchelleY(y, yCurseur)) yCurseur = y;
  curseur = curSelect;
  return true;
}
