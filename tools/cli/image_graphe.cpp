// Draws the engine's plot into the module's picture, as the window's paint box would
// show it.
#include "cli/image_graphe.h"

#include <QCoreApplication>

#include <cerrno>
#include <filesystem>

#include "core/cinetique.h"
#include "core/fichiers_donnees.h"
#include "util/fichiers.h"

#ifndef PELITRAX_MODULES_RELATIF
#define PELITRAX_MODULES_RELATIF "../lib/pelitrax"
#endif

std::unique_ptr<TModuleImage> TModuleImage::Charge(std::string& raison) {
  const std::string programme = DossierDe(CheminExecutableCourant());
  std::unique_ptr<TModuleImage> module(new TModuleImage);
  std::string chemins;
  for (const std::string& dossier : {programme, programme + "/" + PELITRAX_MODULES_RELATIF}) {
    const std::string chemin = std::filesystem::path(dossier + "/" + NomModuleImage).lexically_normal().string();
    chemins += (chemins.empty() ? "" : ", ") + chemin;
    std::error_code e;
    if (!std::filesystem::is_regular_file(chemin, e)) continue;
    module->bibliotheque_.setFileName(QString::fromStdString(chemin));
    if (!module->bibliotheque_.load()) {
      raison = "module d'image illisible : " + module->bibliotheque_.errorString().toStdString();
      return nullptr;
    }
    module->creeApplication_ =
        reinterpret_cast<TCreeApplicationImage>(module->bibliotheque_.resolve(SymboleCreeApplicationImage));
    module->creeImage_ = reinterpret_cast<TCreeImagePng>(module->bibliotheque_.resolve(SymboleCreeImagePng));
    if (!module->creeApplication_ || !module->creeImage_) {
      raison = "module d'image incomplet : " + chemin;
      return nullptr;
    }
    return module;
  }
  raison = "module d'image introuvable (" + chemins + ")";
  return nullptr;
}

std::unique_ptr<QCoreApplication> TModuleImage::CreeApplication(int& argc, char** argv) const {
  return std::unique_ptr<QCoreApplication>(creeApplication_(&argc, argv));
}

bool TModuleImage::EcritImageGraphe(TCinetiqueMain& moteur, const std::string& chemin, std::string& raison,
                                    int largeur, int hauteur) const {
  const std::unique_ptr<TImagePng> image(creeImage_(largeur, hauteur));
  if (!image) {
    raison = "image impossible";
    return false;
  }
  Tgraphe& g = *moteur.Graphe;
  g.LimiteFenetre = TRectPixel{0, 0, largeur - 1, hauteur - 1};
  for (int i = 0; i < moteur.NbreVoies(); ++i)
    if (Tappareil* a = moteur.Voie(i)) {
      g.mondeY[static_cast<std::size_t>(i)].Nom = a->SymboleGrandeur;
      g.mondeY[static_cast<std::size_t>(i)].Unite = a->UniteGrandeur;
    }
  g.DrawG(image->Surface());
  // Encoded in memory, then written like every other file: a full disk keeps the
  // previous picture.
  std::string png;
  if (!image->EncodePng(png)) {
    raison = "codage PNG impossible";
    return false;
  }
  if (!EcritFichierSur(chemin, png)) {
    raison = TexteErreurSysteme(errno);
    return false;
  }
  return true;
}
