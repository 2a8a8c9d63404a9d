// The plot of an engine's table as a PNG picture, for headless runs and the demo,
// drawn by the picture module (cli/image): loaded for --image only.
#pragma once

#include <memory>
#include <string>

#include <QLibrary>

#include "cli/image/module_image.h"

class QCoreApplication;
class TCinetiqueMain;

class TModuleImage {
public:
  // The module beside the program (a build folder), else in its installed folder;
  // null with the French reason when it is missing or not the runner's.
  static std::unique_ptr<TModuleImage> Charge(std::string& raison);

  // The application that the picture needs (fonts; no display is needed).
  std::unique_ptr<QCoreApplication> CreeApplication(int& argc, char** argv) const;

  // Written through a temporary file and a rename; false with the French reason when
  // the file could not be written.
  bool EcritImageGraphe(TCinetiqueMain& moteur, const std::string& chemin, std::string& raison, int largeur = 1280,
                        int hauteur = 800) const;

private:
  TModuleImage() = default;
  QLibrary bibliotheque_;  // never unloaded: the application's code lives there
  TCreeApplicationImage creeApplication_ = nullptr;
  TCreeImagePng creeImage_ = nullptr;
};
