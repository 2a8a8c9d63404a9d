// QPainter drawing surface.
#include "platform/qt/graphique/surface_qt.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QString>

namespace {

QColor EnQColor(TCouleur c) { return QColor(c.Rouge(), c.Vert(), c.Bleu()); }

QString EnQString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QRect EnQRect(const TRectPixel& r) {
  return r.Vide() ? QRect() : QRect(r.gauche, r.haut, r.droite - r.gauche, r.bas - r.haut);
}

}  // namespace

TSurfaceQt::TSurfaceQt(QPaintDevice& appareil)
    : propre_(std::make_unique<QPainter>(&appareil)),
      peintre_(propre_.get()),
      largeur_(appareil.width()),
      hauteur_(appareil.height()),
      metriques_(peintre_->font()) {
  Prepare();
}

TSurfaceQt::TSurfaceQt(QPainter& peintre, int largeur, int hauteur)
    : peintre_(&peintre), largeur_(largeur), hauteur_(hauteur), metriques_(peintre.font()) {
  Prepare();
}

TSurfaceQt::~TSurfaceQt() {
  if (!propre_) {
    // Leave a borrowed painter as an ordinary one.
    peintre_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    peintre_->setClipping(false);
  }
}

void TSurfaceQt::Prepare() {
  peintre_->setRenderHint(QPainter::Antialiasing, false);
  peintre_->setRenderHint(QPainter::TextAntialiasing, true);
  peintre_->setBrush(Qt::NoBrush);
  const QPaintEngine* moteur = peintre_->paintEngine();
  nonXor_ = moteur && moteur->hasFeature(QPaintEngine::RasterOpModes);
  metriques_ = QFontMetrics(peintre_->font(), peintre_->device());
  SetCrayon(TCrayon{});
}

void TSurfaceQt::SetCrayon(const TCrayon& crayon) {
  crayon_ = crayon;
  QPen pen(EnQColor(crayon.couleur));
  if (crayon.largeur <= 1) {
    // Cosmetic 1-pixel pen: the raster engine's fast path, both ends drawn.
    pen.setWidth(0);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
  } else {
    pen.setWidth(crayon.largeur);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
  }
  switch (crayon.style) {
    case stPlein: pen.setStyle(Qt::SolidLine); break;
    case stTirets: pen.setDashPattern({6, 4}); break;
    case stPoints: pen.setDashPattern({1, 3}); break;
  }
  pen_ = pen;
  peintre_->setPen(pen_);
}

void TSurfaceQt::ModeLignes() {
  const bool voulu = crayon_.mode == mtNonXor && nonXor_;
  if (voulu == modeNonXor_) return;
  peintre_->setCompositionMode(voulu ? QPainter::RasterOp_NotSourceXorDestination
                                     : QPainter::CompositionMode_SourceOver);
  modeNonXor_ = voulu;
}

void TSurfaceQt::ModeCopie() {
  if (!modeNonXor_) return;
  peintre_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  modeNonXor_ = false;
}

void TSurfaceQt::Ligne(int x1, int y1, int x2, int y2) {
  ModeLignes();
  peintre_->drawLine(x1, y1, x2, y2);
}

void TSurfaceQt::Polyligne(std::span<const TPointPixel> points) {
  if (points.size() < 2) return;
  ModeLignes();
  points_.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) points_[i] = QPoint(points[i].x, points[i].y);
  peintre_->drawPolyline(points_.data(), static_cast<int>(points_.size()));
}

void TSurfaceQt::RemplitRectangle(const TRectPixel& r, TCouleur couleur) {
  if (r.Vide()) return;
  ModeCopie();
  peintre_->fillRect(EnQRect(r), EnQColor(couleur));
}

void TSurfaceQt::RemplitRectangles(std::span<const TRectPixel> r, TCouleur couleur) {
  ModeCopie();
  const QColor c = EnQColor(couleur);
  for (const TRectPixel& un : r)
    if (!un.Vide()) peintre_->fillRect(EnQRect(un), c);
}

void TSurfaceQt::SetCouleurTexte(TCouleur couleur) { couleurTexte_ = EnQColor(couleur); }

void TSurfaceQt::SetPolice(int taillePoints, bool gras) {
  QFont police = peintre_->font();
  if (taillePoints > 0) police.setPointSize(taillePoints);
  police.setBold(gras);
  peintre_->setFont(police);
  metriques_ = QFontMetrics(police, peintre_->device());
}

void TSurfaceQt::Texte(int x, int y, std::string_view texte, TAlignementTexte alignement) {
  ModeCopie();
  const QString s = EnQString(texte);
  int gauche = x;
  if (alignement != atGauche) {
    const int l = metriques_.horizontalAdvance(s);
    gauche = alignement == atCentre ? x - l / 2 : x - l;
  }
  peintre_->setPen(couleurTexte_);
  peintre_->drawText(gauche, y + metriques_.ascent(), s);
  peintre_->setPen(pen_);
}

int TSurfaceQt::LargeurTexte(std::string_view texte) { return metriques_.horizontalAdvance(EnQString(texte)); }

int TSurfaceQt::HauteurTexte(std::string_view texte) { return metriques_.height(); }

void TSurfaceQt::SetDecoupage(const TRectPixel& r) { peintre_->setClipRect(EnQRect(r)); }

void TSurfaceQt::SupprimeDecoupage() { peintre_->setClipping(false); }
