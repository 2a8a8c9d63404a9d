// The drawing surface on QPainter: on a QImage, any other paint device, or a painter
// already open in a widget's paint event.
#pragma once

#include <memory>
#include <vector>

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QPoint>

#include "platform/surface.h"

class QImage;
class QPaintDevice;
class QPainter;

// Lines are aliased (1-pixel cosmetic pens draw both end points); text is
// antialiased. The not-xor mode is the raster operation NotSourceXorDestination,
// which the raster engine has: QImage (best in Format_RGB32) and widgets painted
// through the raster backing store. Where the engine lacks it (NonXorDisponible()
// false) lines are drawn in copy mode, and the caller must instead erase an overlay
// by repainting from a saved image of the plot.
// A widget can be painted only inside its paint event, whereas points and
// crosshairs are drawn between repaints: the window keeps the plot in a QImage,
// draws on that, and shows it in paintEvent (the image is also the saved copy).
class TSurfaceQt final : public TSurfaceDessin {
public:
  explicit TSurfaceQt(QPaintDevice& appareil);
  // A painter already begun elsewhere (not owned); its font is the surface's font.
  TSurfaceQt(QPainter& peintre, int largeur, int hauteur);
  ~TSurfaceQt() override;
  TSurfaceQt(const TSurfaceQt&) = delete;
  TSurfaceQt& operator=(const TSurfaceQt&) = delete;

  bool NonXorDisponible() const { return nonXor_; }
  QPainter& Peintre() { return *peintre_; }

  int Largeur() const override { return largeur_; }
  int Hauteur() const override { return hauteur_; }
  void SetCrayon(const TCrayon& crayon) override;
  void Ligne(int x1, int y1, int x2, int y2) override;
  void Polyligne(std::span<const TPointPixel> points) override;
  void RemplitRectangle(const TRectPixel& r, TCouleur couleur) override;
  void RemplitRectangles(std::span<const TRectPixel> r, TCouleur couleur) override;
  void SetCouleurTexte(TCouleur couleur) override;
  void SetPolice(int taillePoints, bool gras) override;
  void Texte(int x, int y, std::string_view texte, TAlignementTexte alignement) override;
  int LargeurTexte(std::string_view texte) override;
  int HauteurTexte(std::string_view texte) override;
  void SetDecoupage(const TRectPixel& r) override;
  void SupprimeDecoupage() override;

private:
  void Prepare();
  void ModeLignes();    // the pen's mode, for lines
  void ModeCopie();     // fills and text always copy

  std::unique_ptr<QPainter> propre_;
  QPainter* peintre_;
  int largeur_, hauteur_;
  bool nonXor_ = false;
  bool modeNonXor_ = false;  // the painter is in not-xor now
  TCrayon crayon_{};
  QPen pen_;
  QColor couleurTexte_;
  QFontMetrics metriques_;
  std::vector<QPoint> points_;
};
