// Toolbar pictures drawn with QPainter: plain shapes on a 24-unit square.
#include "core/window/icones.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>
#include <cmath>

namespace {
const QColor Bleu(0, 70, 160), Rouge(200, 30, 30), Vert(0, 128, 0), Gris(90, 90, 90), Jaune(230, 180, 40),
    Noir(30, 30, 30), Blanc(255, 255, 255);

void Crayon(QPainter& p, const QColor& c, double largeur = 1.6) {
  QPen pen(c, largeur);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  p.setPen(pen);
}

void Feuille(QPainter& p, double x, double y, double l, double h) {
  Crayon(p, Gris, 1.2);
  p.setBrush(Blanc);
  p.drawRect(QRectF(x, y, l, h));
  for (double ly = y + 3; ly < y + h - 1; ly += 3) p.drawLine(QPointF(x + 2, ly), QPointF(x + l - 2, ly));
}

void Fleche(QPainter& p, QPointF de, QPointF a, const QColor& c) {
  Crayon(p, c, 2);
  p.drawLine(de, a);
  const QPointF d = a - de;
  const double n = std::hypot(d.x(), d.y());
  if (n <= 0) return;
  const QPointF u = d / n, v(-u.y(), u.x());
  p.setBrush(c);
  p.drawPolygon(QPolygonF({a, a - u * 5 + v * 3.5, a - u * 5 - v * 3.5}));
}

void Horloge(QPainter& p) {
  Crayon(p, Bleu, 1.8);
  p.setBrush(Blanc);
  p.drawEllipse(QPointF(12, 12), 9, 9);
  Crayon(p, Noir, 1.8);
  p.drawLine(QPointF(12, 12), QPointF(12, 6));
  p.drawLine(QPointF(12, 12), QPointF(16, 14));
}

void Burette(QPainter& p) {
  Crayon(p, Gris, 1.4);
  p.setBrush(QColor(210, 230, 255));
  p.drawRect(QRectF(9, 2, 6, 13));
  p.setBrush(Gris);
  p.drawRect(QRectF(10.5, 15, 3, 3));
  Crayon(p, Bleu, 1);
  p.setBrush(Bleu);
  p.drawEllipse(QPointF(12, 20.5), 1.6, 2);
  Crayon(p, Gris, 1);
  for (double y = 4; y < 15; y += 2.5) p.drawLine(QPointF(9, y), QPointF(11, y));
}

void Dessine(QPainter& p, int index) {
  switch (index) {
    case 0: case 21: {  // open file
      Crayon(p, QColor(150, 110, 20), 1.4);
      p.setBrush(Jaune);
      p.drawPolygon(QPolygonF({QPointF(2, 7), QPointF(9, 7), QPointF(11, 9), QPointF(20, 9), QPointF(20, 19), QPointF(2, 19)}));
      p.setBrush(QColor(250, 215, 90));
      p.drawPolygon(QPolygonF({QPointF(5, 12), QPointF(23, 12), QPointF(20, 19), QPointF(2, 19)}));
      break;
    }
    case 1: Burette(p); break;
    case 2: {  // record: red disc
      Crayon(p, QColor(140, 0, 0), 1.2);
      p.setBrush(Rouge);
      p.drawEllipse(QPointF(12, 12), 8, 8);
      break;
    }
    case 3: {  // marker flag
      Crayon(p, Noir, 1.8);
      p.drawLine(QPointF(6, 3), QPointF(6, 21));
      Crayon(p, QColor(0, 0, 200), 1.2);
      p.setBrush(QColor(60, 110, 255));
      p.drawPolygon(QPolygonF({QPointF(6, 4), QPointF(19, 8), QPointF(6, 12)}));
      break;
    }
    case 4: {  // undo arrow
      Crayon(p, Bleu, 2.2);
      p.setBrush(Qt::NoBrush);
      QPainterPath c;
      c.moveTo(7, 10);
      c.cubicTo(13, 4, 22, 8, 19, 16);
      p.drawPath(c);
      p.setBrush(Bleu);
      p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(10, 6), QPointF(8, 13)}));
      break;
    }
    case 5: {  // stop square
      Crayon(p, Noir, 1.2);
      p.setBrush(QColor(60, 60, 60));
      p.drawRect(QRectF(6, 6, 12, 12));
      break;
    }
    case 6: {  // reset: bin with cross
      Crayon(p, Gris, 1.6);
      p.setBrush(QColor(235, 235, 235));
      p.drawRect(QRectF(6, 7, 12, 14));
      p.drawLine(QPointF(4, 6), QPointF(20, 6));
      Crayon(p, Rouge, 2);
      p.drawLine(QPointF(9, 10), QPointF(15, 18));
      p.drawLine(QPointF(15, 10), QPointF(9, 18));
      break;
    }
    case 7: {  // send to the analysis program: curve and arrow
      Crayon(p, Gris, 1.2);
      p.setBrush(Blanc);
      p.drawRect(QRectF(8, 3, 14, 14));
      Crayon(p, Rouge, 1.6);
      QPainterPath c;
      c.moveTo(9, 15);
      c.cubicTo(13, 15, 14, 5, 21, 5);
      p.setBrush(Qt::NoBrush);
      p.drawPath(c);
      Fleche(p, QPointF(2, 20), QPointF(12, 20), Vert);
      break;
    }
    case 8: {  // copy: two sheets
      Feuille(p, 3, 3, 11, 14);
      Feuille(p, 9, 8, 11, 14);
      break;
    }
    case 9: {  // multimeter
      Crayon(p, Noir, 1.4);
      p.setBrush(QColor(250, 210, 40));
      p.drawRoundedRect(QRectF(5, 2, 14, 20), 2, 2);
      p.setBrush(QColor(200, 230, 200));
      p.drawRect(QRectF(7, 4, 10, 6));
      p.setBrush(Noir);
      p.drawEllipse(QPointF(12, 16), 3, 3);
      break;
    }
    case 10: {  // add an instrument: meter and plus
      Crayon(p, Gris, 1.4);
      p.setBrush(QColor(220, 220, 220));
      p.drawRoundedRect(QRectF(2, 6, 14, 14), 2, 2);
      p.setBrush(QColor(200, 230, 200));
      p.drawRect(QRectF(4, 8, 10, 5));
      Crayon(p, Vert, 3);
      p.drawLine(QPointF(19, 3), QPointF(19, 13));
      p.drawLine(QPointF(14, 8), QPointF(24, 8));
      break;
    }
    case 11: case 12: {  // help "?" and about "i"
      Crayon(p, Bleu, 1.2);
      p.setBrush(index == 11 ? QColor(40, 110, 210) : QColor(0, 140, 120));
      p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
      QFont f;
      f.setBold(true);
      f.setPixelSize(15);
      p.setFont(f);
      p.setPen(Blanc);
      p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, index == 11 ? "?" : "i");
      break;
    }
    case 13: {  // keyboard
      Crayon(p, Noir, 1.2);
      p.setBrush(QColor(230, 230, 230));
      p.drawRoundedRect(QRectF(2, 7, 20, 11), 2, 2);
      p.setBrush(Gris);
      for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c) p.drawRect(QRectF(4 + c * 3.5, 9 + r * 3, 2, 1.8));
      p.drawRect(QRectF(7, 15, 10, 1.5));
      break;
    }
    case 14: Horloge(p); break;
    case 15: {  // space bar
      Crayon(p, Noir, 1.4);
      p.setBrush(QColor(235, 235, 235));
      p.drawRoundedRect(QRectF(2, 13, 20, 6), 2, 2);
      Crayon(p, Gris, 1.4);
      p.drawLine(QPointF(8, 16), QPointF(16, 16));
      Fleche(p, QPointF(12, 3), QPointF(12, 11), Bleu);
      break;
    }
    case 16: {  // master instrument sending
      Crayon(p, Gris, 1.4);
      p.setBrush(QColor(220, 220, 220));
      p.drawRoundedRect(QRectF(2, 9, 12, 12), 2, 2);
      Crayon(p, Rouge, 1.6);
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(10, 4, 8, 8), -60 * 16, 120 * 16);
      p.drawArc(QRectF(9, 1, 14, 14), -60 * 16, 120 * 16);
      break;
    }
    case 17: {  // cancel
      Crayon(p, Rouge, 3);
      p.drawLine(QPointF(6, 6), QPointF(18, 18));
      p.drawLine(QPointF(18, 6), QPointF(6, 18));
      break;
    }
    case 18: case 20: {  // gears, tools
      Crayon(p, Gris, 1.5);
      p.setBrush(QColor(180, 180, 180));
      p.drawEllipse(QPointF(12, 12), 7, 7);
      p.setBrush(Blanc);
      p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
      for (int k = 0; k < 8; ++k) {
        p.save();
        p.translate(12, 12);
        p.rotate(45 * k);
        p.setBrush(QColor(180, 180, 180));
        p.drawRect(QRectF(-1.5, -10, 3, 3));
        p.restore();
      }
      break;
    }
    case 19: {  // print
      Crayon(p, Gris, 1.4);
      p.setBrush(QColor(210, 210, 210));
      p.drawRect(QRectF(3, 9, 18, 8));
      Feuille(p, 7, 3, 10, 6);
      Feuille(p, 7, 15, 10, 6);
      break;
    }
    default: {
      Crayon(p, Gris, 1.2);
      p.setBrush(QColor(220, 220, 220));
      p.drawRect(QRectF(4, 4, 16, 16));
      break;
    }
  }
}
}  // namespace

const char* NomIcone(int index) {
  static const std::array<const char*, icones::Nombre> noms = {
      "Item1",  "Item2",  "Item3",  "Item4",  "Item5",  "Item6",  "Item7",  "Item8",
      "Item9",  "Item10", "Item11", "Item12", "Item13", "Item14", "Item15", "Item16",
      "Item17", "CANCEL", "GEARS",  "print",  "tools",  "ficopen"};
  return index >= 0 && index < icones::Nombre ? noms[static_cast<std::size_t>(index)] : "";
}

QPixmap DessineIcone(int index, int taille) {
  QPixmap image(taille, taille);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(taille / 24.0, taille / 24.0);
  Dessine(p, index);
  return image;
}

QIcon Icone(int index, int taille) {
  QIcon icone(DessineIcone(index, taille));
  return icone;
}

int TailleIcones(double pointsParPouce) {
  const int r = static_cast<int>(pointsParPouce) / 96;
  return r < 2 ? 20 : r == 2 ? 40 : 60;
}

QIcon IconeStabilite(int taille) {
  QIcon icone;
  for (bool stable : {true, false}) {
    QPixmap image(taille, taille);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(taille / 24.0, taille / 24.0);
    if (stable) {
      Crayon(p, Vert, 3.2);
      p.drawLine(QPointF(5, 13), QPointF(10, 18));
      p.drawLine(QPointF(10, 18), QPointF(19, 6));
    } else {
      Crayon(p, QColor(220, 120, 0), 2.6);
      QPainterPath c;
      c.moveTo(3, 12);
      c.cubicTo(7, 4, 9, 4, 12, 12);
      c.cubicTo(15, 20, 17, 20, 21, 12);
      p.setBrush(Qt::NoBrush);
      p.drawPath(c);
    }
    p.end();
    icone.addPixmap(image, QIcon::Normal, stable ? QIcon::On : QIcon::Off);
  }
  return icone;
}
