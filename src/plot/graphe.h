// The live plot: owns the data table (the axes and the point count) and the markers,
// draws axes, grid, curves, crosshairs and markers on a drawing surface, converts
// between pixels and world values for the mouse and rescales an axis on a drag.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "plot/monde.h"
#include "plot/repere.h"
#include "util/types.h"

enum TabscisseMaitre : std::uint8_t { amTemps, amIndex, amVoie0 };
enum Tcurseur : std::uint8_t { curSelect, curYmax, curXmax };

// Holds ten 2 x 2049-real columns (about 330 KB): create it on the heap.
class Tgraphe {
public:
  Tgraphe() = default;
  virtual ~Tgraphe() = default;
  Tgraphe(const Tgraphe&) = delete;
  Tgraphe& operator=(const Tgraphe&) = delete;

  std::int32_t dimPoint = 0;  // half side of a point's square
  bool quadrillage = true;
  bool avecLigne = false;
  Tmonde mondeX;
  std::array<Tmonde, 9> mondeY;
  std::vector<std::unique_ptr<Trepere>> ListeRepere;
  indiceVecteur NbrePoints = 0;
  indiceVecteur NbreReg = 0;
  std::int32_t NbreVoies = 0;
  // Edges of the plot area: mini falls on gauche (abscissa) or bas (channels), maxi
  // on droite or haut; the area drawn is gauche..droite x haut..bas, edges included.
  TRectPixel LimiteCourbe{};
  TRectPixel LimiteFenetre{};  // the whole surface, as a client rectangle
  std::int32_t marge = 0;
  std::int32_t largCarac = 0;
  std::int32_t hautCarac = 0;
  TabscisseMaitre AbscisseMaitre = amTemps;
  indiceVoie voieMaitre = 0;
  Tcurseur curseur = curSelect;
  std::int32_t xCurseur = 0;
  std::int32_t yCurseur = 0;
  bool loupeAuto = false;

  // Hooks for the window. PrepareDessin runs first in every full repaint (the window
  // copies the channels' quantity symbols and units into mondeY there). FormatHeure
  // writes a time of day (fraction of a day) in the user's long time format; without
  // it the labels read HH:MM:SS.
  std::function<void(Tgraphe&)> PrepareDessin;
  std::function<std::string(double)> FormatHeure;

  void DrawG(TSurfaceDessin& Canvas);
  void CalculMonde();
  void DrawAxis(TSurfaceDessin& Canvas);
  void TraceCourbe(TSurfaceDessin& Canvas, indiceVoie voie);
  void TracePoint(TSurfaceDessin& Canvas, indiceVoie voie, indiceVecteur i);
  void TraceCurseurs(TSurfaceDessin& Canvas);
  void TraceRepere(TSurfaceDessin& Canvas, const Trepere& repere);
  // Appends a marker; draws it at once when a surface is given.
  Trepere& AjouteRepere(const std::string& texte, double valeur, TSurfaceDessin* Canvas = nullptr);
  void VideReperes() { ListeRepere.clear(); }

  // NaN gives -1 for that coordinate; a value beyond any pixel gives -1 for both.
  void WindowXY(double x, double y, indiceVoie voie, std::int32_t& xi, std::int32_t& yi) const;
  // Both NaN when a mapping has no scale.
  void MondeXY(std::int32_t xi, std::int32_t yi, indiceVoie voie, double& x, double& y) const;
  bool isAxeX(std::int32_t x, std::int32_t y) const;
  bool isAxeY(std::int32_t x, std::int32_t y) const;
  // Rescale so that the value under the old pixel moves to the new one. True when
  // the range changed; false (nothing changed) for a new pixel within 16 pixels of
  // the origin, an old pixel at or past the origin, or a range that would not hold.
  bool changeEchelleX(std::int32_t x1, std::int32_t x0);
  bool changeEchelleY(std::int32_t y1, std::int32_t y0);
  void LineG(TSurfaceDessin& Canvas, int x1, int y1, int x2, int y2);

  // Axis drags, for the window's mouse handlers. The stored coordinate follows the
  // mouse only when a rescale was applied, so it never lies past the axis origin.
  bool DebutGlisse(std::int32_t x, std::int32_t y);  // press; true when a drag begins
  bool GlisseAxe(std::int32_t x, std::int32_t y);    // move; true when a repaint is due
  bool FinGlisse(std::int32_t x, std::int32_t y);    // release; true when a drag ended

  // Whether channel v is drawn as a curve (not the master channel used as abscissa).
  bool VoieTracee(indiceVoie voie) const;

private:
  int VoiesUtilisees() const;
  TRectPixel ZoneCourbe() const;  // LimiteCourbe as the client rectangle to clip to
  void DessineCourbe(TSurfaceDessin& Canvas, indiceVoie voie, int debut, int fin);
  std::string LibelleX(double t) const;
  void DessineAxeVertical(TSurfaceDessin& Canvas, indiceVoie voie);

  std::vector<TPointPixel> trace_;       // scratch of TraceCourbe, kept between repaints
  std::vector<TRectPixel> carres_;
};
