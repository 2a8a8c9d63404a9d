// A drawing surface that draws nothing and records every operation with the pen,
// colours and clipping in force, for tests that check what a plot drew and where.
#pragma once

#include <string>
#include <vector>

#include "platform/surface.h"

enum TGenreTrace : unsigned char { gtLigne, gtPolyligne, gtRectangle, gtTexte };

struct TTraceEnregistre {
  TGenreTrace genre = gtLigne;
  std::vector<TPointPixel> points;  // line: its 2 ends; polyline: all points; text: its (x, top)
  TRectPixel rectangle{};           // filled rectangle; for a text, its box from the metrics
  TCrayon crayon{};                 // pen in force (lines)
  TCouleur couleur{};               // fill colour, or text colour
  std::string texte;
  TAlignementTexte alignement = atGauche;
  bool decoupe = false;             // a clipping rectangle was in force
  TRectPixel decoupage{};
};

// One stroke of a line or polyline, with the pen and clipping it was drawn with.
struct TSegmentEnregistre {
  TPointPixel debut, fin;
  TCrayon crayon;
  bool decoupe;
  TRectPixel decoupage;
};

class TSurfaceEnregistree final : public TSurfaceDessin {
public:
  // Metrics: every character (UTF-8 code point) is largeurCaractere wide, every text
  // hauteurCaractere high.
  TSurfaceEnregistree(int largeur, int hauteur, int largeurCaractere = 8, int hauteurCaractere = 16);

  int Largeur() const override { return largeur_; }
  int Hauteur() const override { return hauteur_; }
  void SetCrayon(const TCrayon& crayon) override { crayon_ = crayon; }
  void Ligne(int x1, int y1, int x2, int y2) override;
  void Polyligne(std::span<const TPointPixel> points) override;
  void RemplitRectangle(const TRectPixel& r, TCouleur couleur) override;
  void RemplitRectangles(std::span<const TRectPixel> r, TCouleur couleur) override;
  void SetCouleurTexte(TCouleur couleur) override { couleurTexte_ = couleur; }
  void SetPolice(int taillePoints, bool gras) override {}
  void Texte(int x, int y, std::string_view texte, TAlignementTexte alignement) override;
  int LargeurTexte(std::string_view texte) override;
  int HauteurTexte(std::string_view texte) override { return hauteurCaractere_; }
  void SetDecoupage(const TRectPixel& r) override;
  void SupprimeDecoupage() override { decoupe_ = false; }

  const std::vector<TTraceEnregistre>& Traces() const { return traces_; }
  std::vector<TSegmentEnregistre> Segments() const;           // lines and polyline strokes
  std::vector<const TTraceEnregistre*> Genre(TGenreTrace genre) const;
  void Efface() { traces_.clear(); }
  // Whether every recorded coordinate lies within `marge` pixels of the surface.
  bool ToutPresDeLaSurface(int marge) const;

private:
  TTraceEnregistre Nouveau(TGenreTrace genre) const;

  int largeur_, hauteur_, largeurCaractere_, hauteurCaractere_;
  TCrayon crayon_{};
  TCouleur couleurTexte_{};
  bool decoupe_ = false;
  TRectPixel decoupage_{};
  std::vector<TTraceEnregistre> traces_;
};
