// Numbers to text and back under either decimal separator; the locale separator
// comes from the platform's regional settings (see regional_courant.h).
#pragma once

#include <limits>
#include <string>
#include <string_view>

inline constexpr double PasDeValeur = std::numeric_limits<double>::quiet_NaN();

// Text to real; NaN for anything that is no number (never throws).
double LitNombre(std::string_view texte);
double LitNombreDefaut(std::string_view texte, double defaut);

// General format: `precision` significant digits, at least `chiffresExposant`
// exponent digits, trailing zeros dropped, scientific notation when the integer part
// has more than `precision` digits or |x| < 1e-4; exponent written without '+'.
// `separateur` is the decimal separator written. NaN and infinities give "NAN"/"INF".
std::string FormatGeneral(double x, int precision, int chiffresExposant, char separateur);

std::string FormatNombrePoint(double x);                    // 7 digits, '.', NaN -> " "
std::string FormatFixePoint(double x, int precision, int decimales);  // 8-bit, '.'
std::string FormatNombreCourt(double x);                    // 3 digits, locale separator

// Key filter of numeric cells: ',' and '.' become the locale separator; anything
// outside BS, FF, CR, '+', '-', digits, 'E', 'e' becomes 0. Codes above 255 too.
void FiltreToucheNombre(char32_t& touche);

// "4.7k" -> "4.7E+3" (UTF-8 text; 'µ' is the micro sign U+00B5).
void DeveloppePrefixe(std::string& texte);

int ValeurChiffre(char c);

// If low > high they are swapped; then if equal, high := 2 x low (for a negative
// pair the two are then swapped again, so low <= high always holds).
void OrdonneBornes(double& bas, double& haut);
