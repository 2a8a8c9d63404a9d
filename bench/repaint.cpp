// Speed of the live plot on the QPainter surface: a full repaint of 9 channels x
// 2048 points into a 1280 x 800 image (goal: under 8 ms), a recorded point, and a
// crosshair move (drawn twice in not-xor).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "platform/qt/surface_qt.h"
#include "plot/graphe.h"

namespace {

std::unique_ptr<Tgraphe> GrapheComplet(bool avecLigne) {
  auto g = std::make_unique<Tgraphe>();
  g->NbreVoies = 9;
  g->avecLigne = avecLigne;
  g->LimiteFenetre = TRectPixel{0, 0, 1280, 800};
  g->mondeX.Nom = std::string("t");  // not from a literal: GCC 12 -O3 warns wrongly (-Wrestrict)
  g->mondeX.Unite = std::string("s");
  g->mondeX.SetMinMax(0, 2048);
  for (int v = 0; v < 9; ++v) {
    g->mondeY[v].Nom = std::string("V");
    g->mondeY[v].Unite = std::string("mV");
    g->mondeY[v].SetMinMax(-1.2, 1.2);
  }
  for (int i = 0; i < MaxPoints; ++i) {
    g->mondeX.valeur[i] = i;
    // Overlapping noisy curves: every segment is a few pixels long, as in real data.
    for (int v = 0; v < 9; ++v)
      g->mondeY[v].valeur[i] = std::sin(2 * std::numbers::pi * i / (200.0 + 40 * v) + v) + 0.05 * std::sin(i * 1.7);
  }
  g->NbrePoints = MaxPoints;
  return g;
}

void RepaintComplet(benchmark::State& state) {
  auto g = GrapheComplet(state.range(0) != 0);
  QImage image(1280, 800, QImage::Format_RGB32);
  for (auto _ : state) {
    TSurfaceQt surface(image);
    g->DrawG(surface);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(state.range(0) ? "9 voies x 2048 points, avec lignes" : "9 voies x 2048 points, points seuls");
}
BENCHMARK(RepaintComplet)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void PointEnregistre(benchmark::State& state) {
  auto g = GrapheComplet(true);
  QImage image(1280, 800, QImage::Format_RGB32);
  {
    TSurfaceQt surface(image);
    g->DrawG(surface);
  }
  TSurfaceQt surface(image);
  for (auto _ : state)
    for (int v = 0; v < 9; ++v) g->TracePoint(surface, static_cast<indiceVoie>(v), 1000);
  state.SetLabel("TracePoint sur 9 voies");
}
BENCHMARK(PointEnregistre)->Unit(benchmark::kMicrosecond);

void DeplacementCurseurs(benchmark::State& state) {
  auto g = GrapheComplet(true);
  QImage image(1280, 800, QImage::Format_RGB32);
  {
    TSurfaceQt surface(image);
    g->DrawG(surface);
  }
  g->mondeX.PosCurseur = g->mondeX.PosWindow(1500);
  for (int v = 0; v < 9; ++v) g->mondeY[v].PosCurseur = g->mondeY[v].PosWindow(g->mondeY[v].valeur[1500]);
  TSurfaceQt surface(image);
  for (auto _ : state) {
    g->TraceCurseurs(surface);  // erase at the old place
    g->TraceCurseurs(surface);  // draw at the new one
  }
  state.SetLabel("9 curseurs effaces et redessines");
}
BENCHMARK(DeplacementCurseurs)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argcQt = 1;
  QGuiApplication application(argcQt, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
