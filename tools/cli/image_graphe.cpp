// Draws the engine's plot into an image, as the window's paint box would show it.
#include "cli/image_graphe.h"

#include <QImage>

#include "core/cinetique.h"
#include "platform/qt/services_qt.h"
#include "platform/qt/surface_qt.h"

bool EcritImageGraphe(TCinetiqueMain& moteur, const std::string& chemin, int largeur, int hauteur) {
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
  return image.save(VersQString(chemin), "PNG");
}
