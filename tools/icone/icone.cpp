// pelitrax-icone: draws the program's icon from one description, as an SVG and as PNG
// pictures of the usual sizes, so the scalable and the fixed sizes never differ.
//   pelitrax-icone DOSSIER    writes DOSSIER/pelitrax.svg and DOSSIER/NxN/pelitrax.png
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
constexpr int Cote = 256;  // the description's square, in SVG user units

struct TPoint {
  double x, y;
};

// A shape: a rounded rectangle, a circle, or a stroked line of straight and cubic
// segments (each cubic segment takes three points).
struct TForme {
  enum { Rectangle, Cercle, Trait } genre;
  std::vector<TPoint> points;  // rectangle: corner, size; circle: centre; line: start, then segments
  std::vector<bool> courbes;   // line: for each segment, cubic (3 points) or straight (1 point)
  double rayon = 0;            // rectangle corners, circle; line: width
  const char* couleur;
};

const std::vector<TForme>& Dessin() {
  static const std::vector<TForme> formes = {
      {TForme::Rectangle, {{16, 16}, {224, 224}}, {}, 44, "#1d5d8c"},
      // The axes of a plot.
      {TForme::Trait, {{52, 44}, {52, 206}, {216, 206}}, {false, false}, 10, "#9cc7e6"},
      // A titration curve: flat, the jump at the equivalence, flat again.
      {TForme::Trait, {{60, 192}, {116, 190}, {120, 186}, {128, 126}, {136, 66}, {142, 62}, {204, 60}}, {true, true}, 14,
       "#ffffff"},
      // Recorded points.
      {TForme::Cercle, {{72, 191}}, {}, 11, "#f2b632"},
      {TForme::Cercle, {{106, 187}}, {}, 11, "#f2b632"},
      {TForme::Cercle, {{128, 126}}, {}, 11, "#f2b632"},
      {TForme::Cercle, {{152, 64}}, {}, 11, "#f2b632"},
      {TForme::Cercle, {{190, 60}}, {}, 11, "#f2b632"},
  };
  return formes;
}

std::string Nombre(double v) {
  char texte[32];
  std::snprintf(texte, sizeof texte, "%g", v);
  return texte;
}

std::string Svg() {
  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                  std::to_string(Cote) + "\" height=\"" + std::to_string(Cote) + "\" viewBox=\"0 0 " + std::to_string(Cote) +
                  " " + std::to_string(Cote) + "\">\n";
  for (const TForme& f : Dessin()) {
    const auto& p = f.points;
    switch (f.genre) {
      case TForme::Rectangle:
        s += "  <rect x=\"" + Nombre(p[0].x) + "\" y=\"" + Nombre(p[0].y) + "\" width=\"" + Nombre(p[1].x) + "\" height=\"" +
             Nombre(p[1].y) + "\" rx=\"" + Nombre(f.rayon) + "\" fill=\"" + f.couleur + "\"/>\n";
        break;
      case TForme::Cercle:
        s += "  <circle cx=\"" + Nombre(p[0].x) + "\" cy=\"" + Nombre(p[0].y) + "\" r=\"" + Nombre(f.rayon) + "\" fill=\"" +
             f.couleur + "\"/>\n";
        break;
      case TForme::Trait: {
        std::string d = "M" + Nombre(p[0].x) + " " + Nombre(p[0].y);
        std::size_t i = 1;
        for (bool courbe : f.courbes) {
          d += courbe ? " C" : " L";
          for (int k = 0; k < (courbe ? 3 : 1); ++k, ++i) d += " " + Nombre(p[i].x) + " " + Nombre(p[i].y);
        }
        s += "  <path d=\"" + d + "\" fill=\"none\" stroke=\"" + f.couleur + "\" stroke-width=\"" + Nombre(f.rayon) +
             "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n";
        break;
      }
    }
  }
  return s + "</svg>\n";
}

QImage Image(int taille) {
  QImage image(taille, taille, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(static_cast<double>(taille) / Cote, static_cast<double>(taille) / Cote);
  for (const TForme& f : Dessin()) {
    const auto& pt = f.points;
    const QColor couleur(f.couleur);
    switch (f.genre) {
      case TForme::Rectangle:
        p.setPen(Qt::NoPen);
        p.setBrush(couleur);
        p.drawRoundedRect(QRectF(pt[0].x, pt[0].y, pt[1].x, pt[1].y), f.rayon, f.rayon);
        break;
      case TForme::Cercle:
        p.setPen(Qt::NoPen);
        p.setBrush(couleur);
        p.drawEllipse(QPointF(pt[0].x, pt[0].y), f.rayon, f.rayon);
        break;
      case TForme::Trait: {
        QPainterPath chemin(QPointF(pt[0].x, pt[0].y));
        std::size_t i = 1;
        for (bool courbe : f.courbes) {
          if (courbe) {
            chemin.cubicTo(QPointF(pt[i].x, pt[i].y), QPointF(pt[i + 1].x, pt[i + 1].y), QPointF(pt[i + 2].x, pt[i + 2].y));
            i += 3;
          } else {
            chemin.lineTo(QPointF(pt[i].x, pt[i].y));
            ++i;
          }
        }
        p.setPen(QPen(couleur, f.rayon, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(chemin);
        break;
      }
    }
  }
  return image;
}
}  // namespace

int main(int argc, char** argv) {
  // The sizes come from the build, which installs what this draws.
  if (argc < 3) {
    std::fprintf(stderr, "Usage : pelitrax-icone DOSSIER TAILLE...\n");
    return 2;
  }
  const QDir dossier(QString::fromLocal8Bit(argv[1]));
  QFile svg(dossier.filePath("pelitrax.svg"));
  const std::string texte = Svg();
  if (!dossier.mkpath(".") || !svg.open(QIODevice::WriteOnly) ||
      svg.write(texte.data(), static_cast<qint64>(texte.size())) != static_cast<qint64>(texte.size())) {
    std::fprintf(stderr, "Erreur d'écriture de %s\n", qPrintable(svg.fileName()));
    return 1;
  }
  for (int k = 2; k < argc; ++k) {
    const int taille = std::atoi(argv[k]);
    if (taille < 1 || taille > 1024) {
      std::fprintf(stderr, "Taille d'icône incorrecte : %s\n", argv[k]);
      return 2;
    }
    const QString nom = QString("%1x%1").arg(taille);
    if (!dossier.mkpath(nom) || !Image(taille).save(dossier.filePath(nom + "/pelitrax.png"))) {
      std::fprintf(stderr, "Erreur d'écriture de l'icône %s\n", qPrintable(nom));
      return 1;
    }
  }
  return 0;
}
