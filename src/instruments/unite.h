// Physical units: a name, a power of ten and the exponents of the seven SI base
// units; the parser of unit texts and the table of known units.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

enum TuniteSansDim : std::uint8_t { tuVide, tuDecibel, tuTour };

// The unit error ("Erreur unité"): a symbol that is not known, a misplaced exponent,
// a root that does not divide. SetUniteGrandeur catches it.
class EUnite : public std::runtime_error {
public:
  EUnite() : std::runtime_error("Erreur unité") {}
};

// A power-of-ten run after "1E" that is no integer: the one parse failure that
// reaches the caller of SetUniteGrandeur (the frame decoder then keeps its previous
// value).
class EConversionUnite : public std::runtime_error {
public:
  explicit EConversionUnite(const std::string& texte)
      : std::runtime_error("'" + texte + "' n'est pas une valeur entière correcte") {}
};

class Tunite {
public:
  // Exponents are indexed 1..7 as m, kg, s, A, K, mol, cd; element 0 is unused.
  using TDimension = std::array<std::int8_t, 8>;

  std::string FnomUnite;  // UTF-8; exponents written as superscripts
  TDimension Dimension{};
  TuniteSansDim sansDim = tuVide;
  std::string symboleGrandeur;
  std::int8_t Puissance = 0;  // power of ten relative to the coherent SI unit
  bool Correct = true;

  Tunite() { Init(); }

  void Init();
  void setUniteComplet(std::string_view nu, int p, int d1, int d2, int d3, int d4, int d5, int d6,
                       int d7);
  void RecopieUnite(const Tunite& U);

  // Parses a UTF-8 unit text ("mS/cm", "kg.m-3", "µS"); a malformed text or unknown
  // symbol leaves Correct false. Throws EConversionUnite only for a bad "1E" run.
  void SetUniteGrandeur(std::string_view texte);

  // Arithmetic; each raises EUnite (after Correct := false) when an exponent or the
  // power leaves the signed 8-bit range or a root does not divide.
  void PlusUnite(const Tunite& U0);
  void MoinsUnite(const Tunite& U0);
  void MulUnite(char op, const Tunite& U0, int puiss);
  void PuissUnite(char op, int puiss);
  void AdUnite(char op, const Tunite& Ug, const Tunite& Ud);
  void InverseUnite();
  [[noreturn]] void setErreurUnite();

private:
  void Eleve(const Tunite& U, char op, int puiss);
};

// The 38 known units in table order ("m", "A", "g" ... "dB", "tr"), built once on
// first use (thread-safe); names are compared exactly.
const std::vector<Tunite>& UnitesConnues();
// The empty unit (no name, all zero) kept beside the table.
const Tunite& UniteVide();
// The table unit with exactly this name, or null.
const Tunite* ChercheUniteConnue(std::string_view nom);
// Builds the table at start-up so that no later caller pays for it.
void ConstruitUnitesConnues();
