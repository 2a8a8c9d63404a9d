// Frame decoding: the text received from an instrument becomes ValeurCourante,
// driven only by the definition's fields (fixed or variable format, markers, rank of
// the number, lines, digit-group mark, verification text, unit prefix and unit text,
// range), with the stability buffer fed on the way.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "instruments/appareil.h"
#include "util/cp1252.h"
#include "util/nombres.h"
#include "util/regional_courant.h"

namespace {

// Positions are 1-based and 64-bit, so a hand-edited start of -2e9 or a long buffer
// cannot overflow; every access goes through Car(), which knows the text's bounds.
using Pos = std::int64_t;

Pos Longueur(const std::string& s) { return static_cast<Pos>(s.size()); }

// Copy(s, i, n): from position i, n characters; a start below 1 counts as 1, a
// negative length as 0, and the result stops at the end of s.
std::string Copie(const std::string& s, Pos i, Pos n) {
  if (i < 1) i = 1;
  if (n <= 0 || i > Longueur(s)) return {};
  return s.substr(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(n));
}

// Position of the first occurrence of m in s, 0 when none (or when m is empty).
Pos Position(const std::string& m, const std::string& s, Pos depuis = 1) {
  if (m.empty() || depuis < 1) return 0;
  const auto p = s.find(m, static_cast<std::size_t>(depuis - 1));
  return p == std::string::npos ? 0 : static_cast<Pos>(p) + 1;
}

unsigned char Car(const std::string& s, Pos i) {
  return i >= 1 && i <= Longueur(s) ? static_cast<unsigned char>(s[static_cast<std::size_t>(i - 1)])
                                    : 0;
}

bool EstChiffre(unsigned char c) { return c >= '0' && c <= '9'; }
bool EstSigneOuChiffre(unsigned char c) { return c == '+' || c == '-' || EstChiffre(c); }
bool EstCaractereUnite(unsigned char c) {
  return c == '-' || c == '.' || c == '/' || c == '1' || c == '2' || c == '3' ||
         (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == 169 || c == 176;
}
bool EstFinDeLigne(unsigned char c) { return c == 13 || c == 10; }

// A failure inside the conversion guard: the value falls back to the previous one.
struct EchecConversion {};

class TDecodeur {
public:
  explicit TDecodeur(Tappareil& a) : a_(a) {}

  void Decode() {
    if (a_.EnvoiDirect)
      Continu();
    else if (a_.FormatFixe)
      DecodeFixe();
    else
      DecodeVariable();
  }

private:
  // A rank of 0 set by hand reads as the first number.
  int Rang() const { return a_.NumeroOrdre < 1 ? 1 : a_.NumeroOrdre; }

  bool EstSeparateur(unsigned char c) const {
    return a_.SeparateurChiffre != 0 && c == static_cast<unsigned char>(a_.SeparateurChiffre);
  }

  // The number occupies debut .. fin - 1.
  void BornesNombre(const std::string& T, Pos& debut, Pos& fin) const {
    const Pos L = Longueur(T);
    while (debut < L && !EstSigneOuChiffre(Car(T, debut))) ++debut;
    fin = debut + 1;
    while (fin <= L && (EstChiffre(Car(T, fin)) || EstSeparateur(Car(T, fin)) || Car(T, fin) == 127))
      ++fin;
    if (fin <= L && (Car(T, fin) == ',' || Car(T, fin) == '.')) ++fin;
    while (fin <= L) {
      const unsigned char c = Car(T, fin);
      if (!(EstSigneOuChiffre(c) || EstSeparateur(c) || c == 'E' || c == 'e' || c == 127)) break;
      ++fin;
    }
  }

  // Skips a leading time (hh:mm:ss) or date (dd/mm/yy, dd/mm/yyyy) so that numbering
  // starts after it.
  static void SauteDateHeure(const std::string& T, Pos& p) {
    const Pos L = Longueur(T);
    int c = 0;
    Pos pos = p + 1;
    while (pos < L && !EstChiffre(Car(T, pos))) ++pos;
    if (pos == L) return;
    auto suivant = [&]() -> unsigned char {
      if (pos + 1 <= L) return Car(T, ++pos);
      return 0;
    };
    while (pos < L && (EstChiffre(Car(T, pos)) || Car(T, pos) == ':' || Car(T, pos) == '/')) {
      if (Car(T, pos) == ':') {
        const unsigned char x = suivant();
        const unsigned char y = suivant();
        if (EstChiffre(x) && EstChiffre(y)) ++c;
      }
      if (Car(T, pos) == '/') {
        const unsigned char x = suivant();
        const unsigned char y = suivant();
        const unsigned char d = Car(T, pos + 1);
        if (x == '2' && (y == '0' || y == '1') && EstChiffre(d)) pos += 2;  // four-digit year
        if (EstChiffre(x) && EstChiffre(y)) ++c;
      }
      ++pos;
    }
    if (c == 2) p = pos - 1;
  }

  void DecodeVariable() {
    const std::string T = a_.ChaineLue;
    Pos fin = 0;
    Pos debut = 1;
    SauteDateHeure(T, fin);
    for (int k = 0; k < Rang(); ++k) {
      debut = fin + 1;
      BornesNombre(T, debut, fin);
    }
    suite_ = Copie(T, fin, Longueur(T) - fin + 1);
    nombre_ = Longueur(T) < debut ? std::string() : Copie(T, debut, fin - debut);
    Convertit();
    a_.ChaineLue.clear();
  }

  void DecodeFixe() {
    const std::string& T = a_.ChaineLue;
    Pos debut = a_.DebutNombre >= 0 ? a_.DebutNombre : Longueur(T) + a_.DebutNombre + 1;
    if (debut < 1) debut = 1;
    Pos fin = 0;
    BornesNombre(T, debut, fin);
    suite_ = Copie(T, fin, Longueur(T) - fin + 1);
    nombre_ = Copie(T, debut, fin - debut);
    Convertit();
    a_.ChaineLue.clear();
  }

  void Continu() {
    ExtraitContinu();
    std::string& buffer = a_.ChaineLue;
    const Pos L = Longueur(buffer);
    if (!a_.TexteVerif.empty() && a_.NumeroVerif > 0 &&
        Position(a_.TexteVerif, suite_) != a_.NumeroVerif && L > 2) {
      // The frame at the head of the buffer failed its check: try the next line.
      Pos q = Position(nombre_, buffer);
      if (q < L) {
        do ++q;
        while (!(q == L || EstFinDeLigne(Car(buffer, q))));
      }
      if (q < L) {
        ++q;
        if (EstFinDeLigne(Car(buffer, q))) ++q;
      }
      buffer = Copie(buffer, q, L);
      ExtraitContinu();
    }
    if (!nombre_.empty() && Convertit()) {
      if (a_.FormatFixe) {
        buffer.clear();
      } else {
        const auto r = buffer.rfind('\r');
        if (r != std::string::npos) buffer.erase(0, r + 1);
        if (!buffer.empty() && buffer[0] == '\n') buffer.erase(0, 1);
      }
    }
  }

  void ExtraitContinu() {
    std::string T;
    Pos debut = 1;
    if (a_.Demande.empty()) {
      T = a_.ChaineLue;
      debut = a_.FormatFixe ? a_.DebutNombre : 1;
      nombre_ = T;
    } else if (a_.DebutNombre >= 1) {
      NombreApresRepere(a_.Demande);
      if (nombre_.empty() && !a_.DemandeBis.empty()) NombreApresRepere(a_.DemandeBis);
      T = nombre_;
      debut = a_.DebutNombre;
    } else {
      NombreAvantRepere(a_.Demande);
      T = nombre_;
      debut = 1;
    }
    // A start of 0 or less in a self-transmitted fixed frame reads from the first
    // character rather than before the text.
    if (debut < 1) debut = 1;
    if (Longueur(T) < debut) return;
    Pos fin = 0;
    if (a_.FormatFixe || Rang() == 1) {
      BornesNombre(T, debut, fin);
    } else {
      SauteDateHeure(T, fin);
      for (int k = 0; k < Rang(); ++k) {
        debut = fin + 1;
        BornesNombre(T, debut, fin);
      }
    }
    suite_ = Copie(T, fin, Longueur(T) - fin + 1);
    nombre_ = Copie(T, debut, fin - debut);
  }

  // The number is the |DebutNombre| characters just before the last marker.
  void NombreAvantRepere(const std::string& M) {
    std::string& s = a_.ChaineLue;
    Pos a = Position(M, s);
    if (a == 0) {
      nombre_.clear();
      return;
    }
    while (Position(M, s, a + Longueur(M)) != 0) {
      s.erase(0, static_cast<std::size_t>(a - 1 + Longueur(M)));
      a = Position(M, s);
    }
    const Pos n = -static_cast<Pos>(a_.DebutNombre);
    nombre_ = Copie(s, a + a_.DebutNombre, n);
  }

  // The frame starts with the marker; the number is found from DebutNombre on.
  void NombreApresRepere(const std::string& M) {
    std::string& s = a_.ChaineLue;
    if (!a_.FormatFixe) {
      while (CompteCR(s) > a_.NbreLignes) s.erase(0, s.find('\r') + 1);
      if (!s.empty() && s[0] == '\n') s.erase(0, 1);
    }
    Pos a = Position(M, s);
    if (a == 0) {
      nombre_.clear();
      return;
    }
    const Pos deuxieme = Position(M, s, a + Longueur(M));
    const Pos b = deuxieme == 0 ? 0 : deuxieme + Longueur(M) - 1;
    if (a_.FormatFixe && b > 0) {
      const Pos r = Longueur(s) - b - Longueur(M) + 1 - a_.DebutNombre;
      if (r > 4) {
        s = Copie(s, a + Longueur(M), Longueur(s));
        a = Position(M, s);
      }
    }
    if (a > 1) {
      const std::string P = s.substr(0, static_cast<std::size_t>(a - 1));
      s.erase(0, static_cast<std::size_t>(a - 1));
      const Pos k = static_cast<Pos>(a_.NbreCarac) - Longueur(s);
      if (a_.FormatFixe && k > 0) s += Copie(P, Longueur(P) - k + 1, k);
      a = 1;
    }
    nombre_ = Copie(s, a, Longueur(s) - a);
  }

  static Pos CompteCR(const std::string& s) {
    Pos n = 0;
    for (char c : s) n += c == '\r';
    return n;
  }

  bool Convertit() {
    a_.depassement = false;
    if (nombre_.empty()) return false;
    if (!a_.TexteVerif.empty() && a_.NumeroVerif > 0 &&
        Position(a_.TexteVerif, suite_) != a_.NumeroVerif)
      return false;
    std::string t;
    for (char c : nombre_)
      if (!EstSeparateur(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) != 127)
        t.push_back(c);
    bool reussi = false;
    try {
      if (a_.SymboleGrandeur == "pH" && t.size() > 2 && t.find('.') == std::string::npos &&
          t.find(',') == std::string::npos) {
        // A pH meter that sends its digits without a point: 701 is 7.01, 1234 is 12.34.
        const int n = EntierDeuxCaracteres(t);
        t.insert(n >= 10 && n <= 13 ? 2 : 1, 1, SeparateurDecimal());
      }
      if (t.empty()) throw EchecConversion();
      if (t.back() == '.') t += '0';
      double v = LitNombreDefaut(t, a_.oldValeurCourante);
      if (a_.LireCoeffUnite || a_.LireNomUnite) v *= LitPrefixeUnite();
      a_.ValeurCourante = v;
      auto& rouleau = a_.valeurRouleau;
      if (a_.nbreRouleau < 0) a_.nbreRouleau = 0;
      if (a_.nbreRouleau > 6) a_.nbreRouleau = 6;
      rouleau[static_cast<std::size_t>(a_.nbreRouleau)] = v;
      ++a_.nbreRouleau;
      if (a_.nbreRouleau > 6) {
        for (int i = 0; i < 6; ++i) rouleau[i] = rouleau[i + 1];
        a_.nbreRouleau = 6;
      }
      reussi = true;
    } catch (...) {
      a_.ValeurCourante = a_.oldValeurCourante;
    }
    const double v = a_.ValeurCourante;
    if (a_.ValMini > v || v > a_.ValMaxi) {
      if (a_.FiltrageDepassement)
        a_.ValeurCourante = PasDeValeur;
      else
        a_.depassement = true;
    }
    return reussi;
  }

  // The integer written by the first two characters (an optional sign then digits).
  static int EntierDeuxCaracteres(const std::string& t) {
    const unsigned char c0 = Car(t, 1), c1 = Car(t, 2);
    if (EstChiffre(c0) && EstChiffre(c1)) return (c0 - '0') * 10 + (c1 - '0');
    if ((c0 == '+' || c0 == '-') && EstChiffre(c1)) return c0 == '-' ? -(c1 - '0') : c1 - '0';
    throw EchecConversion();
  }

  // The factor of the prefix letter after the number; with LireNomUnite the unit
  // text that follows becomes UniteGrandeur when it names a valid unit.
  double LitPrefixeUnite() {
    const std::string& s = suite_;
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i == s.size()) return 1;
    double facteur = 1;
    switch (static_cast<unsigned char>(s[i])) {
      case 'p': facteur = 1e-12; break;
      case 'n': facteur = 1e-9; break;
      case 'u': case 181: case 127: case 129: case 230: facteur = 1e-6; break;
      case 'm': case 'M': facteur = 1e-3; break;  // 'M' is milli on these instruments
      case 'k': facteur = 1e3; break;
      case 'G': facteur = 1e9; break;
      default: break;
    }
    if (facteur != 1) ++i;
    if (a_.LireNomUnite && i < s.size()) {
      std::size_t fin = i;
      while (fin < s.size() && EstCaractereUnite(static_cast<unsigned char>(s[fin]))) ++fin;
      if (fin > i) {
        std::string unite = Cp1252VersUtf8(std::string_view(s).substr(i, fin - i));
        if (unite[0] == 'U') unite.replace(0, 1, "Ω");
        a_.Unite.SetUniteGrandeur(unite);
        if (a_.Unite.Correct) a_.UniteGrandeur = a_.Unite.FnomUnite;
      }
    }
    return facteur;
  }

  Tappareil& a_;
  std::string nombre_;  // TexteNombre: the characters of the number
  std::string suite_;   // TexteSuite: what follows the number
};

}  // namespace

void Tappareil::SetValeurCourante() noexcept {
  oldValeurCourante = ValeurCourante;
  reponseStab = ChaineLue.substr(0, 4);
  try {
    TDecodeur(*this).Decode();
  } catch (...) {
    ValeurCourante = PasDeValeur;
  }
}
