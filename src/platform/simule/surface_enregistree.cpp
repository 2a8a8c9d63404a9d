// Recording drawing surface for tests.
#include "platform/simule/surface_enregistree.h"

#include <algorithm>

TSurfaceEnregistree::TSurfaceEnregistree(int largeur, int hauteur, int largeurCaractere, int hauteurCaractere)
    : largeur_(largeur), hauteur_(hauteur), largeurCaractere_(largeurCaractere), hauteurCaractere_(hauteurCaractere) {}

TTraceEnregistre TSurfaceEnregistree::Nouveau(TGenreTrace genre) const {
  TTraceEnregistre t;
  t.genre = genre;
  t.crayon = crayon_;
  t.decoupe = decoupe_;
  t.decoupage = decoupage_;
  return t;
}

void TSurfaceEnregistree::Ligne(int x1, int y1, int x2, int y2) {
  TTraceEnregistre t = Nouveau(gtLigne);
  t.points = {{x1, y1}, {x2, y2}};
  t.couleur = crayon_.couleur;
  traces_.push_back(std::move(t));
}

void TSurfaceEnregistree::Polyligne(std::span<const TPointPixel> points) {
  TTraceEnregistre t = Nouveau(gtPolyligne);
  t.points.assign(points.begin(), points.end());
  t.couleur = crayon_.couleur;
  traces_.push_back(std::move(t));
}

void TSurfaceEnregistree::RemplitRectangle(const TRectPixel& r, TCouleur couleur) {
  TTraceEnregistre t = Nouveau(gtRectangle);
  t.rectangle = r;
  t.couleur = couleur;
  traces_.push_back(std::move(t));
}

void TSurfaceEnregistree::RemplitRectangles(std::span<const TRectPixel> r, TCouleur couleur) {
  for (const TRectPixel& un : r) RemplitRectangle(un, couleur);
}

int TSurfaceEnregistree::LargeurTexte(std::string_view texte) {
  // Code points, not bytes: continuation bytes of UTF-8 are not counted.
  const auto n = std::count_if(texte.begin(), texte.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
  return static_cast<int>(n) * largeurCaractere_;
}

void TSurfaceEnregistree::Texte(int x, int y, std::string_view texte, TAlignementTexte alignement) {
  TTraceEnregistre t = Nouveau(gtTexte);
  t.points = {{x, y}};
  t.texte = std::string(texte);
  t.alignement = alignement;
  t.couleur = couleurTexte_;
  const int l = LargeurTexte(texte);
  const int gauche = alignement == atGauche ? x : alignement == atCentre ? x - l / 2 : x - l;
  t.rectangle = TRectPixel{gauche, y, gauche + l, y + hauteurCaractere_};
  traces_.push_back(std::move(t));
}

void TSurfaceEnregistree::SetDecoupage(const TRectPixel& r) {
  decoupe_ = true;
  decoupage_ = r;
}

std::vector<TSegmentEnregistre> TSurfaceEnregistree::Segments() const {
  std::vector<TSegmentEnregistre> s;
  for (const TTraceEnregistre& t : traces_) {
    if (t.genre != gtLigne && t.genre != gtPolyligne) continue;
    for (std::size_t i = 1; i < t.points.size(); ++i)
      s.push_back(TSegmentEnregistre{t.points[i - 1], t.points[i], t.crayon, t.decoupe, t.decoupage});
  }
  return s;
}

std::vector<const TTraceEnregistre*> TSurfaceEnregistree::Genre(TGenreTrace genre) const {
  std::vector<const TTraceEnregistre*> r;
  for (const TTraceEnregistre& t : traces_)
    if (t.genre == genre) r.push_back(&t);
  return r;
}

bool TSurfaceEnregistree::ToutPresDeLaSurface(int marge) const {
  auto pres = [&](int x, int y) { return x >= -marge && x <= largeur_ + marge && y >= -marge && y <= hauteur_ + marge; };
  return std::all_of(traces_.begin(), traces_.end(), [&](const TTraceEnregistre& t) {
    const bool points = std::all_of(t.points.begin(), t.points.end(), [&](TPointPixel p) { return pres(p.x, p.y); });
    // A text is placed by its anchor; its box may run off the surface like any text.
    if (t.genre == gtTexte) return points;
    return points && pres(t.rectangle.gauche, t.rectangle.haut) && pres(t.rectangle.droite, t.rectangle.bas);
  });
}
