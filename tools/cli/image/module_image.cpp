// The module behind --image: a QGuiApplication and a QImage painted through the
// QPainter surface.
#include "cli/image/module_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <memory>
#include <type_traits>

#include "platform/qt/graphique/surface_qt.h"

namespace {
class TImagePngQt final : public TImagePng {
public:
  TImagePngQt(int largeur, int hauteur) : image_(largeur, hauteur, QImage::Format_RGB32) {
    image_.fill(Qt::white);
    surface_ = std::make_unique<TSurfaceQt>(image_);
  }
  TSurfaceDessin& Surface() override { return *surface_; }
  bool EncodePng(std::string& octets) override {
    surface_.reset();  // the painter ends before the picture is read
    QByteArray png;
    QBuffer tampon(&png);
    if (!tampon.open(QIODevice::WriteOnly) || !image_.save(&tampon, "PNG")) return false;
    octets.assign(png.constData(), static_cast<std::size_t>(png.size()));
    return true;
  }

private:
  QImage image_;
  std::unique_ptr<TSurfaceQt> surface_;
};
}  // namespace

extern "C" __attribute__((visibility("default"))) QCoreApplication* PelitraxCreeApplicationImage(int* argc,
                                                                                                   char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  return new QGuiApplication(*argc, argv);
}

extern "C" __attribute__((visibility("default"))) TImagePng* PelitraxCreeImagePng(int largeur, int hauteur) {
  if (largeur <= 0 || hauteur <= 0) return nullptr;
  return new TImagePngQt(largeur, hauteur);
}

// The runner checks that its entry points have the types it expects.
static_assert(std::is_same_v<decltype(&PelitraxCreeApplicationImage), TCreeApplicationImage>);
static_assert(std::is_same_v<decltype(&PelitraxCreeImagePng), TCreeImagePng>);
