// The 2-D drawing surface the plot paints on: filled rectangles, lines with a pen,
// text with alignment and measurement, a clipping rectangle. Integer pixels, y down.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// An RGB colour, 0xRRGGBB.
struct TCouleur {
  std::uint32_t rgb = 0;
  constexpr std::uint8_t Rouge() const { return static_cast<std::uint8_t>(rgb >> 16); }
  constexpr std::uint8_t Vert() const { return static_cast<std::uint8_t>(rgb >> 8); }
  constexpr std::uint8_t Bleu() const { return static_cast<std::uint8_t>(rgb); }
  friend constexpr bool operator==(TCouleur, TCouleur) = default;
};

struct TPointPixel {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(TPointPixel, TPointPixel) = default;
};

// A rectangle whose right and bottom edges lie just outside it, as a client
// rectangle: (0, 0, width, height) is the whole surface.
struct TRectPixel {
  int gauche = 0;
  int haut = 0;
  int droite = 0;
  int bas = 0;
  constexpr bool Vide() const { return droite <= gauche || bas <= haut; }
  constexpr bool Contient(int x, int y) const {
    return x >= gauche && x < droite && y >= haut && y < bas;
  }
  friend constexpr bool operator==(TRectPixel, TRectPixel) = default;
};

enum TStyleTrait : std::uint8_t { stPlein, stTirets, stPoints };
// mtNonXor: destination := not (pen xor destination); drawing the same thing twice
// restores what was there, which moves the live crosshairs without a repaint.
enum TModeTrait : std::uint8_t { mtCopie, mtNonXor };
// Horizontal placement of a text about its x; the given y is always the text's top.
enum TAlignementTexte : std::uint8_t { atGauche, atCentre, atDroite };

struct TCrayon {
  TCouleur couleur{};
  int largeur = 1;
  TStyleTrait style = stPlein;
  TModeTrait mode = mtCopie;
  friend constexpr bool operator==(const TCrayon&, const TCrayon&) = default;
};

class TSurfaceDessin {
public:
  virtual ~TSurfaceDessin() = default;

  virtual int Largeur() const = 0;
  virtual int Hauteur() const = 0;

  virtual void SetCrayon(const TCrayon& crayon) = 0;
  // Lines take both end points; a polyline joins its points in order with the
  // current pen (the fast path for a curve of many points).
  virtual void Ligne(int x1, int y1, int x2, int y2) = 0;
  virtual void Polyligne(std::span<const TPointPixel> points) = 0;

  // Filled rectangles ignore the pen and its mode; many at once for point marks.
  virtual void RemplitRectangle(const TRectPixel& r, TCouleur couleur) = 0;
  virtual void RemplitRectangles(std::span<const TRectPixel> r, TCouleur couleur) = 0;

  // Text: UTF-8, written in the text colour (independent of the pen), top at y.
  virtual void SetCouleurTexte(TCouleur couleur) = 0;
  // taillePoints 0 keeps the surface's own font size.
  virtual void SetPolice(int taillePoints, bool gras) = 0;
  virtual void Texte(int x, int y, std::string_view texte, TAlignementTexte alignement) = 0;
  virtual int LargeurTexte(std::string_view texte) = 0;
  virtual int HauteurTexte(std::string_view texte) = 0;

  // Everything drawn afterwards is limited to r, until SupprimeDecoupage.
  virtual void SetDecoupage(const TRectPixel& r) = 0;
  virtual void SupprimeDecoupage() = 0;
};
