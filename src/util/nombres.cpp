// Numbers to text and back, parsed and formatted here so that no C library locale
// is involved: the decimal separator is always the one asked of the platform.
#include "util/nombres.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "util/regional_courant.h"

namespace {

bool EstBlanc(char c) { return c == ' ' || c == '\t'; }
bool EstChiffre(char c) { return c >= '0' && c <= '9'; }

// Reads [blanks][sign]digits[sep digits][E[sign]digits][blanks] with at least one
// digit in the mantissa, and converts it; NaN for anything else.
double ConvertitAvecSeparateur(std::string_view t, char sep) {
  std::size_t i = 0;
  const std::size_t n = t.size();
  while (i < n && EstBlanc(t[i])) ++i;
  bool negatif = false;
  if (i < n && (t[i] == '+' || t[i] == '-')) negatif = t[i++] == '-';

  std::string entier, fraction;
  while (i < n && EstChiffre(t[i])) entier += t[i++];
  if (i < n && t[i] == sep) {
    ++i;
    while (i < n && EstChiffre(t[i])) fraction += t[i++];
  }
  if (entier.empty() && fraction.empty()) return PasDeValeur;

  std::string exposant;
  bool exposantNegatif = false;
  if (i < n && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) exposantNegatif = t[i++] == '-';
    while (i < n && EstChiffre(t[i])) exposant += t[i++];
    if (exposant.empty()) return PasDeValeur;
  }
  while (i < n && EstBlanc(t[i])) ++i;
  if (i != n) return PasDeValeur;

  std::string canonique = (entier.empty() ? "0" : entier) + "." + fraction;
  if (!exposant.empty()) canonique += std::string("e") + (exposantNegatif ? "-" : "") + exposant;
  double valeur = 0;
  const auto [fin, erreur] = std::from_chars(canonique.data(), canonique.data() + canonique.size(), valeur);
  if (erreur == std::errc::result_out_of_range) {
    // Too small is zero; too large is no value (never an infinity).
    const auto premier = entier.find_first_not_of('0');
    long long ordre = premier != std::string::npos ? static_cast<long long>(entier.size() - premier)
                                                   : -static_cast<long long>(fraction.find_first_not_of('0'));
    long long e = 0;
    for (char c : exposant) e = std::min(e * 10 + (c - '0'), 1000000000000LL);
    ordre += exposantNegatif ? -e : e;
    if (ordre >= 0) return PasDeValeur;
    valeur = 0;
  } else if (erreur != std::errc() || fin != canonique.data() + canonique.size()) {
    return PasDeValeur;
  }
  return negatif ? -valeur : valeur;
}

std::string Chiffres(int n, int minimum) {
  std::string s = std::to_string(n);
  if (static_cast<int>(s.size()) < minimum) s.insert(0, minimum - s.size(), '0');
  return s;
}

}  // namespace

double LitNombre(std::string_view texte) {
  const char sep = SeparateurDecimal();
  std::string t(texte);
  // Either separator is accepted: the first one of the other kind becomes the
  // locale's, and only that one, so "1.234,5" keeps two separators and fails.
  const char autre = sep == '.' ? ',' : '.';
  if (const auto p = t.find(autre); p != std::string::npos) t[p] = sep;
  return ConvertitAvecSeparateur(t, sep);
}

double LitNombreDefaut(std::string_view texte, double defaut) {
  const double v = LitNombre(texte);
  return std::isnan(v) ? defaut : v;
}

std::string FormatGeneral(double x, int precision, int chiffresExposant, char separateur) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
  if (x == 0) return "0";
  precision = std::clamp(precision, 1, 17);
  chiffresExposant = std::clamp(chiffresExposant, 0, 4);

  // Rounded once to `precision` digits: d.ddd e±x; the choice of notation follows
  // the rounded value, so 9999999.6 with 7 digits is 1E07.
  std::array<char, 64> tampon{};
  const auto fin = std::to_chars(tampon.data(), tampon.data() + tampon.size(), std::fabs(x),
                                 std::chars_format::scientific, precision - 1).ptr;
  const std::string_view s(tampon.data(), fin - tampon.data());
  const auto posE = s.find('e');
  std::string chiffres;
  for (char c : s.substr(0, posE))
    if (EstChiffre(c)) chiffres += c;
  const int e = std::atoi(std::string(s.substr(posE + 1)).c_str());
  while (chiffres.size() > 1 && chiffres.back() == '0') chiffres.pop_back();

  std::string r = x < 0 ? "-" : "";
  if (e + 1 <= precision && e >= -4) {
    if (e >= 0) {
      const auto nEntier = static_cast<std::size_t>(e + 1);
      if (chiffres.size() < nEntier) chiffres.append(nEntier - chiffres.size(), '0');
      r += chiffres.substr(0, nEntier);
      if (chiffres.size() > nEntier) r += separateur + chiffres.substr(nEntier);
    } else {
      r += std::string("0") + separateur + std::string(-e - 1, '0') + chiffres;
    }
  } else {
    r += chiffres[0];
    if (chiffres.size() > 1) r += separateur + chiffres.substr(1);
    r += 'E';
    if (e < 0) r += '-';
    r += Chiffres(std::abs(e), chiffresExposant);
  }
  return r;
}

std::string FormatNombrePoint(double x) {
  if (std::isnan(x)) return " ";
  return FormatGeneral(x, 7, 2, '.');
}

std::string FormatFixePoint(double x, int precision, int decimales) {
  if (std::isnan(x)) return " ";
  precision = std::clamp(precision, 1, 17);
  decimales = std::clamp(decimales, 0, 18);
  if (std::isinf(x) || std::fabs(x) >= 1e18) return FormatGeneral(x, precision, decimales, '.');

  std::array<char, 64> tampon{};
  const auto fin = std::to_chars(tampon.data(), tampon.data() + tampon.size(), std::fabs(x),
                                 std::chars_format::fixed, decimales).ptr;
  const std::string fixe(tampon.data(), fin);
  const auto point = fixe.find('.');
  const std::size_t nEntier = point == std::string::npos ? fixe.size() : point;
  if (nEntier > static_cast<std::size_t>(precision)) return FormatGeneral(x, precision, decimales, '.');
  // A value that rounds to zero carries no sign: "-0.00" would read as a
  // different number to whoever receives it.
  const bool zero = fixe.find_first_not_of("0.") == std::string::npos;
  return (x < 0 && !zero ? "-" : "") + fixe;
}

std::string FormatNombreCourt(double x) {
  if (std::isnan(x)) return " ";
  const double a = std::fabs(x);
  const int chiffresExposant = (a >= 1e-10 && a < 1e10) ? 1 : 2;
  return FormatGeneral(x, 3, chiffresExposant, SeparateurDecimal());
}

void FiltreToucheNombre(char32_t& touche) {
  if (touche == U',' || touche == U'.') {
    touche = static_cast<unsigned char>(SeparateurDecimal());
    return;
  }
  const bool admis = touche == 8 || touche == 12 || touche == 13 || touche == U'+' || touche == U'-' ||
                     (touche >= U'0' && touche <= U'9') || touche == U'E' || touche == U'e';
  if (!admis) touche = 0;
}

void DeveloppePrefixe(std::string& texte) {
  struct Prefixe { std::string_view lettre, exposant; };
  static constexpr std::array<Prefixe, 14> Prefixes = {{
      {"y", "E-24"}, {"z", "E-21"}, {"a", "E-18"}, {"f", "E-15"}, {"p", "E-12"},
      {"n", "E-9"}, {"\u00B5", "E-6"}, {"m", "E-3"}, {"k", "E+3"}, {"M", "E+6"},
      {"G", "E+9"}, {"T", "E+12"}, {"P", "E+15"}, {"E", "E+18"}}};
  for (const auto& p : Prefixes) {
    // At least one character must stand before the letter ("k" alone stays "k").
    if (texte.size() > p.lettre.size() && texte.ends_with(p.lettre)) {
      texte.resize(texte.size() - p.lettre.size());
      texte += p.exposant;
      return;
    }
  }
}

int ValeurChiffre(char c) { return EstChiffre(c) ? c - '0' : 0; }

void OrdonneBornes(double& bas, double& haut) {
  if (bas > haut) std::swap(bas, haut);
  if (bas == haut) {
    haut = 2 * bas;
    // Doubling a negative bound moves it below the other: keep them in order.
    if (bas > haut) std::swap(bas, haut);
  }
}
