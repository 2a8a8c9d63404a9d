// Draws the engine's plot into an image, as the window's paint box would show it.
#include "cli/image_graphe.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cerrno>

#include "core/cinetique.h"
#include "platform/qt/services_qt.h"
#include "platform/qt/surface_qt.h"
#include "util/fichiers.h"

bool EcritImageGraphe(TCinetiqueMain& moteur, const std::string& chemin, std::string& raison, int largeur,
                      int hauteur) {
  QImage image(largeur, hauteur, QImage::Format_RGB32);
  image.fill(Qt::white);
  Tgraphe& g = *moteur.Graphe;
  g.LimiteFenetre = TRectPixel{0, 0, largeur - 1, hauteur - 1};
  for (int i = 0; i < moteur.NbreVoies(); ++i)
    if (Tappareil* a = moteur.Voie(i)) {
      g.mondeY[static_cast<std::size_t>(i)].Nom = a->SymboleGrandeur;
      g.mondeY[static_cast<std::size_t>(i)].Unite = a->UniteGrandeur;
    }
  {
    TSurfaceQt surface(image);
    g.DrawG(surface);
  }
  // Encoded in memory, then written like every other file: a full disk keeps the
  // previous picture.
  QByteArray png;
  QBuffer tampon(&png);
  if (!tampon.open(QIODevice::WriteOnly) || !image.save(&tampon, "PNG")) {
    raison = "codage PNG impossible";
    return false;
  }
  if (!EcritFichierSur(chemin, std::string_view(png.constData(), static_cast<std::size_t>(png.size())))) {
    raison = TexteErreurSysteme(errno);
    return false;
  }
  return true;
}
