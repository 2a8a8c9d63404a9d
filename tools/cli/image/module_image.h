// The picture of the plot (--image) is drawn by a module that the runner loads only
// for it: a run without a picture loads no graphics library. The module and the
// runner are built together; these are the entry points between them.
#pragma once

#include <string>

#include "platform/surface.h"

class QCoreApplication;

// A white picture to draw the plot on.
class TImagePng {
public:
  virtual ~TImagePng() = default;
  virtual TSurfaceDessin& Surface() = 0;
  // Ends the drawing (Surface() is then gone) and gives the picture as PNG bytes;
  // false when it cannot be encoded.
  virtual bool EncodePng(std::string& octets) = 0;
};

extern "C" {
// The application the picture's fonts need (a QGuiApplication), on the offscreen
// platform when there is no display. `argc` outlives it.
using TCreeApplicationImage = QCoreApplication* (*)(int* argc, char** argv);
// A picture of that size, owned by the caller; null when it cannot be made.
using TCreeImagePng = TImagePng* (*)(int largeur, int hauteur);
}

inline constexpr const char* NomModuleImage = "libpelitrax-image.so";
inline constexpr const char* SymboleCreeApplicationImage = "PelitraxCreeApplicationImage";
inline constexpr const char* SymboleCreeImagePng = "PelitraxCreeImagePng";
