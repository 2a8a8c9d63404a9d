// The plot's paint box.
#include "core/window/oscillo.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include <cmath>

#include "core/cinetique.h"
#include "dialogs/widgets_dialogue.h"
#include "platform/qt/graphique/surface_qt.h"
#include "util/nombres.h"

TOscillo::TOscillo(TCinetiqueMain& moteur, QWidget* parent) : QWidget(parent), moteur_(moteur) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
  xUpDown_ = new TBoutonsHautBas(Qt::Horizontal, this);
  yUpDown_ = new TBoutonsHautBas(Qt::Vertical, this);
  xUpDown_->SurHaut = [this] { XUpDownChangingEx(true); };
  xUpDown_->SurBas = [this] { XUpDownChangingEx(false); };
  yUpDown_->SurHaut = [this] { YUpDownChangingEx(true); };
  yUpDown_->SurBas = [this] { YUpDownChangingEx(false); };
  Prepare();
}

TOscillo::~TOscillo() {
  moteur_.SetSurface(nullptr);
  surface_.reset();
  peintre_.reset();
}

void TOscillo::Prepare() {
  // The engine never draws on a surface that is being replaced.
  moteur_.SetSurface(nullptr);
  surface_.reset();
  peintre_.reset();
  image_ = QImage(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
  image_.fill(Qt::white);
  peintre_ = std::make_unique<QPainter>(&image_);
  QFont police = font();
  police.setPixelSize(12);
  peintre_->setFont(police);
  surface_ = std::make_unique<TSurfaceQt>(*peintre_, image_.width(), image_.height());
  moteur_.Graphe->LimiteFenetre = TRectPixel{0, 0, image_.width(), image_.height()};
  moteur_.SetSurface(surface_.get());
  aRedessiner_ = true;
}

void TOscillo::Invalide() {
  aRedessiner_ = true;
  update();
}

void TOscillo::Redessine() {
  aRedessiner_ = false;
  ++repeints_;
  moteur_.Graphe->LimiteFenetre = TRectPixel{0, 0, image_.width(), image_.height()};
  moteur_.Graphe->DrawG(*surface_);
  PlaceFleches();
}

const QImage& TOscillo::Image() {
  if (aRedessiner_) Redessine();
  return image_;
}

void TOscillo::PlaceFleches() {
  const TRectPixel& c = moteur_.Graphe->LimiteCourbe;
  yUpDown_->move(std::max(c.gauche, 0) + 8, 12);
  xUpDown_->move(width() - xUpDown_->width() - 2, height() - xUpDown_->height() - 20);
}

void TOscillo::paintEvent(QPaintEvent*) {
  if (aRedessiner_) Redessine();
  QPainter p(this);
  p.drawImage(0, 0, image_);
}

void TOscillo::resizeEvent(QResizeEvent*) {
  Prepare();
  PlaceFleches();
}

void TOscillo::mousePressEvent(QMouseEvent* e) {
  if (moteur_.NbreVoies() == 0) return;
  presse_ = true;
  const QPoint p = e->position().toPoint();
  if (moteur_.Graphe->DebutGlisse(p.x(), p.y()))
    setCursor(moteur_.Graphe->curseur == curXmax ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

void TOscillo::mouseMoveEvent(QMouseEvent* e) {
  if (moteur_.NbreVoies() == 0) return;
  Tgraphe& G = *moteur_.Graphe;
  const QPoint p = e->position().toPoint();
  if (G.curseur == curSelect) {
    double x = PasDeValeur, y = PasDeValeur;
    G.MondeXY(p.x(), p.y(), 0, x, y);
    const Tappareil* A0 = moteur_.Voie(0);
    const std::string texte = "Souris : " + G.mondeX.Nom + "=" + FormatNombreCourt(x) + " " + G.mondeX.Unite + "  " +
                              (A0 ? A0->NomValeurUnite(y) : std::string()) + " ";
    moteur_.Vue().SetStatut(0, texte);
    if (G.isAxeX(p.x(), p.y())) setCursor(Qt::SizeHorCursor);
    else if (G.isAxeY(p.x(), p.y())) setCursor(Qt::SizeVerCursor);
    else unsetCursor();
    setToolTip(QString());
    return;
  }
  if (G.GlisseAxe(p.x(), p.y())) Invalide();
}

void TOscillo::mouseReleaseEvent(QMouseEvent* e) {
  const bool clic = presse_;
  presse_ = false;
  if (moteur_.NbreVoies() == 0) return;
  const QPoint p = e->position().toPoint();
  if (moteur_.Graphe->FinGlisse(p.x(), p.y())) unsetCursor();
  // A click refreshes the paint box.
  if (clic) Invalide();
}

void TOscillo::XUpDownChangingEx(bool haut) {
  Tmonde& X = moteur_.Graphe->mondeX;
  const double f = haut ? 2.0 : 0.5;
  X.mini *= f;
  X.maxi *= f;
  if (moteur_.ModeAcq == maTemps && X.Nom == "t") {
    const std::int32_t ancienne = moteur_.DureeMesure;
    std::int32_t duree = static_cast<std::int32_t>(std::nearbyint(std::clamp(X.maxi, 0.0, 1e7)));
    if (moteur_.EtatAcq == eaEnCours) {
      // While recording, the prepared instants stay: the duration grows within the
      // table's 2048 points of the running interval.
      duree = std::min<std::int32_t>(duree, moteur_.DeltatMesure * MaxPoints);
      moteur_.DureeMesure = std::max(duree, moteur_.DeltatMesure * 8);
    } else {
      moteur_.DureeMesure = duree;
      moteur_.AjusteIntervalles();
    }
    if (moteur_.DureeMesure != ancienne || moteur_.DureeMesure != X.maxi) moteur_.AfficheDuree();
  }
  Invalide();
}

void TOscillo::YUpDownChangingEx(bool haut) {
  Tmonde& Y = moteur_.Graphe->mondeY[0];
  const double f = haut ? 2.0 : 0.5;
  Y.mini *= f;
  Y.maxi *= f;
  Invalide();
}
