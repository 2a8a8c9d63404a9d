// Speed of the live plot on the QPainter surface, drawn as the window's paint box
// draws it (a 1280 x 800 RGB32 image with its own painter and 12-pixel font, the
// plot's own pens): a full repaint of 9 channels x 2048 points on noisy and on smooth
// data, with lines (time base) and as points only (goal: under 8 ms); a recorded
// point; a crosshair move (drawn twice in not-xor). For reference, the same noisy
// curves as wide antialiased polylines, the drawing the surface does not use.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <string>

#include "commun_bench.h"
#include "platform/qt/graphique/surface_qt.h"
#include "plot/couleurs.h"
#include "plot/graphe.h"

namespace {

constexpr int Largeur = 1280;
constexpr int Hauteur = 800;

enum TDonnees { Bruitees, Lisses };

// Nine overlapping curves over 2048 points. Noisy: each point jumps by up to a fifth
// of the axis, so every segment spans many pixels (a conductivity cell in a stirred
// beaker, an unshielded voltage). Smooth: slow sines, segments of a pixel or two.
std::unique_ptr<Tgraphe> GrapheComplet(TDonnees donnees, bool avecLigne) {
  auto g = std::make_unique<Tgraphe>();
  g->NbreVoies = 9;
  g->avecLigne = avecLigne;
  g->LimiteFenetre = TRectPixel{0, 0, Largeur, Hauteur};
  g->mondeX.Nom = std::string("t");  // not from a literal: GCC 12 -O3 warns wrongly (-Wrestrict)
  g->mondeX.Unite = std::string("s");
  g->mondeX.SetMinMax(0, 2048);
  for (int v = 0; v < 9; ++v) {
    g->mondeY[v].Nom = std::string("V");
    g->mondeY[v].Unite = std::string("mV");
    g->mondeY[v].SetMinMax(-1.5, 1.5);
  }
  std::mt19937 hasard(20240611);
  std::uniform_real_distribution<double> bruit(-0.3, 0.3);
  for (int i = 0; i < MaxPoints; ++i) {
    g->mondeX.valeur[i] = i;
    for (int v = 0; v < 9; ++v) {
      const double onde = std::sin(2 * std::numbers::pi * i / (200.0 + 40 * v) + v);
      g->mondeY[v].valeur[i] = donnees == Bruitees ? onde + bruit(hasard) : onde;
    }
  }
  g->NbrePoints = MaxPoints;
  return g;
}

// The paint box's image and painter (core/window/oscillo.cpp).
struct TBoiteDessin {
  TBoiteDessin() : image(Largeur, Hauteur, QImage::Format_RGB32) {
    image.fill(Qt::white);
    peintre = std::make_unique<QPainter>(&image);
    QFont police = peintre->font();
    police.setPixelSize(12);
    peintre->setFont(police);
    surface = std::make_unique<TSurfaceQt>(*peintre, Largeur, Hauteur);
  }
  ~TBoiteDessin() {
    surface.reset();
    peintre.reset();
  }
  QImage image;
  std::unique_ptr<QPainter> peintre;
  std::unique_ptr<TSurfaceQt> surface;
};

// One picture of each repaint, for a person to judge the look beside the speed.
void SauveImage(const TBoiteDessin& boite, const std::string& nom) {
  const auto dossier = bench::DossierArtefacts();
  if (dossier.empty()) return;
  boite.image.save(QString::fromStdString((dossier / ("bench_repaint_" + nom + ".png")).string()), "PNG");
}

void RepaintComplet(benchmark::State& state) {
  const auto donnees = static_cast<TDonnees>(state.range(0));
  const bool avecLigne = state.range(1) != 0;
  auto g = GrapheComplet(donnees, avecLigne);
  TBoiteDessin boite;
  for (auto _ : state) {
    g->DrawG(*boite.surface);
    benchmark::DoNotOptimize(boite.image.constBits());
  }
  const std::string nom = std::string(donnees == Bruitees ? "bruitees" : "lisses") + (avecLigne ? "_lignes" : "_points");
  SauveImage(boite, nom);
  state.SetLabel("9 voies x 2048 points, donnees " + nom);
}
BENCHMARK(RepaintComplet)
    ->ArgNames({"donnees", "lignes"})
    ->Args({Bruitees, 1})
    ->Args({Lisses, 1})
    ->Args({Bruitees, 0})
    ->Args({Lisses, 0})
    ->Unit(benchmark::kMillisecond);

void PointEnregistre(benchmark::State& state) {
  auto g = GrapheComplet(Bruitees, true);
  TBoiteDessin boite;
  g->DrawG(*boite.surface);
  for (auto _ : state)
    for (int v = 0; v < 9; ++v) g->TracePoint(*boite.surface, static_cast<indiceVoie>(v), 1000);
  state.SetLabel("TracePoint sur 9 voies");
}
BENCHMARK(PointEnregistre)->Unit(benchmark::kMicrosecond);

void DeplacementCurseurs(benchmark::State& state) {
  auto g = GrapheComplet(Bruitees, true);
  TBoiteDessin boite;
  g->DrawG(*boite.surface);
  g->mondeX.PosCurseur = g->mondeX.PosWindow(1500);
  for (int v = 0; v < 9; ++v) g->mondeY[v].PosCurseur = g->mondeY[v].PosWindow(g->mondeY[v].valeur[1500]);
  for (auto _ : state) {
    g->TraceCurseurs(*boite.surface);  // erase at the old place
    g->TraceCurseurs(*boite.surface);  // draw at the new one
  }
  state.SetLabel("9 curseurs effaces et redessines");
}
BENCHMARK(DeplacementCurseurs)->Unit(benchmark::kMicrosecond);

// The noisy curves alone as 2-pixel antialiased polylines straight on QPainter: why
// the surface draws 1-pixel aliased segments instead.
void ReferencePolylignesAntialiasees(benchmark::State& state) {
  auto g = GrapheComplet(Bruitees, true);
  TBoiteDessin boite;
  g->DrawG(*boite.surface);  // lays out the plot area and the axes' scales
  std::array<QPolygon, 9> courbes;
  for (int v = 0; v < 9; ++v)
    for (int i = 0; i < MaxPoints; ++i) {
      std::int32_t x = 0, y = 0;
      g->WindowXY(g->mondeX.valeur[i], g->mondeY[v].valeur[i], static_cast<indiceVoie>(v), x, y);
      courbes[static_cast<std::size_t>(v)] << QPoint(x, y);
    }
  QPainter& p = *boite.peintre;
  p.setRenderHint(QPainter::Antialiasing, true);
  for (auto _ : state) {
    p.fillRect(0, 0, Largeur, Hauteur, Qt::white);
    for (int v = 0; v < 9; ++v) {
      const TCouleur c = CouleurVoie(static_cast<indiceVoie>(v));
      p.setPen(QPen(QColor(c.Rouge(), c.Vert(), c.Bleu()), 2));
      p.drawPolyline(courbes[static_cast<std::size_t>(v)]);
    }
    benchmark::DoNotOptimize(boite.image.constBits());
  }
  p.setRenderHint(QPainter::Antialiasing, false);
  SauveImage(boite, "reference_antialiasee");
  state.SetLabel("courbes bruitees seules, polylignes antialiasees de 2 pixels");
}
BENCHMARK(ReferencePolylignesAntialiasees)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bench::PrepareDossier("repaint");
  int argcQt = 1;
  QGuiApplication application(argcQt, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
