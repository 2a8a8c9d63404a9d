// Physical units: arithmetic on powers and exponents, the unit-text parser and the
// table of known units.
#include "instruments/unite.h"

#include <string>

namespace {

constexpr char32_t Micro = 0x00B5;
constexpr char32_t Omega = 0x03A9;
constexpr char32_t ExposantPlus = 0x207A;
constexpr char32_t ExposantMoins = 0x207B;
constexpr std::size_t LongueurMaxi = 255;  // positions of the parse are 8-bit

// UTF-8 to code points; a byte that starts no valid sequence stands for itself, so
// any input is accepted and nothing is read past its end.
std::u32string VersCodes(std::string_view t) {
  std::u32string r;
  std::size_t i = 0;
  while (i < t.size()) {
    const auto b = static_cast<unsigned char>(t[i]);
    std::size_t n = 0;
    char32_t c = b;
    if (b >= 0xC2 && b <= 0xDF) {
      n = 1;
      c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      n = 2;
      c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      n = 3;
      c = b & 0x07;
    }
    bool valide = i + n < t.size() || n == 0;
    for (std::size_t k = 1; valide && k <= n; ++k) {
      const auto s = static_cast<unsigned char>(t[i + k]);
      if ((s & 0xC0) != 0x80) valide = false;
      c = (c << 6) | (s & 0x3F);
    }
    if (!valide) {
      r.push_back(b);
      ++i;
    } else {
      r.push_back(c);
      i += n + 1;
    }
  }
  return r;
}

std::string VersUtf8(const std::u32string& codes) {
  std::string r;
  for (char32_t c : codes) {
    if (c < 0x80) {
      r.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      r.push_back(static_cast<char>(0xC0 | (c >> 6)));
      r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      r.push_back(static_cast<char>(0xE0 | (c >> 12)));
      r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      r.push_back(static_cast<char>(0xF0 | (c >> 18)));
      r.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      r.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      r.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return r;
}

bool EstLettre(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool EstChiffre(char32_t c) { return c >= '0' && c <= '9'; }

bool PuissancePrefixe(char32_t c, int& p) {
  switch (c) {
    case 'E': p = 18; return true;
    case 'P': p = 15; return true;
    case 'T': p = 12; return true;
    case 'G': p = 9; return true;
    case 'M': p = 6; return true;
    case 'k': p = 3; return true;
    case 'h': p = 2; return true;
    case 'd': p = -1; return true;
    case 'c': p = -2; return true;
    case 'm': p = -3; return true;
    case Micro: p = -6; return true;
    case 'n': p = -9; return true;
    case 'p': p = -12; return true;
    case 'f': p = -15; return true;
    case 'a': p = -18; return true;
    default: return false;
  }
}

char32_t Exposant(int chiffre) {
  static constexpr char32_t exposants[10] = {0x2070, 0x00B9, 0x00B2, 0x00B3, 0x2074,
                                             0x2075, 0x2076, 0x2077, 0x2078, 0x2079};
  return exposants[chiffre];
}

const Tunite* Cherche(const std::u32string& nom) { return ChercheUniteConnue(VersUtf8(nom)); }

// The integer of a "1E" run: an optional sign then digits, within 32 bits.
bool LitEntierSigne(const std::u32string& t, long long& v) {
  std::size_t i = 0;
  bool moins = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) moins = t[i++] == '-';
  if (i == t.size()) return false;
  v = 0;
  for (; i < t.size(); ++i) {
    if (!EstChiffre(t[i])) return false;
    v = v * 10 + (t[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (moins) v = -v;
  return v >= -2147483648LL && v <= 2147483647LL;
}

std::vector<Tunite> ConstruitTable() {
  struct Ligne {
    const char* nom;
    int p, d1, d2, d3, d4, d5, d6, d7;
  };
  static constexpr Ligne lignes[] = {
      {"m", 0, 1, 0, 0, 0, 0, 0, 0},        {"A", 0, 0, 0, 0, 1, 0, 0, 0},
      {"g", -3, 0, 1, 0, 0, 0, 0, 0},       {"K", 0, 0, 0, 0, 0, 1, 0, 0},
      {"mol", 0, 0, 0, 0, 0, 0, 1, 0},      {"cd", 0, 0, 0, 0, 0, 0, 0, 1},
      {"H", 0, 2, 1, -2, -2, 0, 0, 0},      {"mol/L", 3, -3, 0, 0, 0, 0, 1, 0},
      {"F", 0, -2, -1, 4, 2, 0, 0, 0},      {"N", 0, 1, 1, -2, 0, 0, 0, 0},
      {"Ω", 0, 2, 1, -3, -2, 0, 0, 0},      {"S", 0, -2, -1, 3, 2, 0, 0, 0},
      {"T", 0, 0, 1, -2, -1, 0, 0, 0},      {"V", 0, 2, 1, -3, -1, 0, 0, 0},
      {"Hz", 0, 0, 0, -1, 0, 0, 0, 0},      {"s", 0, 0, 0, 1, 0, 0, 0, 0},
      {"Pa", 0, -1, 1, -2, 0, 0, 0, 0},     {"J", 0, 2, 1, -2, 0, 0, 0, 0},
      {"W", 0, 2, 1, -3, 0, 0, 0, 0},       {"C", 0, 0, 0, 1, 1, 0, 0, 0},
      {"Wb", 0, 2, 1, -2, -1, 0, 0, 0},     {"lm", 0, 0, 0, 0, 0, 0, 0, 1},
      {"N/m", 0, 0, 1, -2, 0, 0, 0, 0},     {"J/K", 0, 2, 1, -2, 0, -1, 0, 0},
      {"J/kg.K", 0, 2, 0, -2, 0, -1, 0, 0}, {"V/m", 0, 1, 1, -3, -1, 0, 0, 0},
      {"S/m", 0, -3, -1, 3, 2, 0, 0, 0},    {"W/m.K", 0, 1, 1, -3, 0, -1, 0, 0},
      {"C.m", 0, 1, 0, 1, 1, 0, 0, 0},      {"Ωm", 0, 3, 1, -3, -2, 0, 0, 0},
      {"N.m", 0, 2, 1, -2, 0, 0, 0, 0},     {"A/m", 0, -1, 0, 0, 1, 0, 0, 0},
      {"1", 0, 0, 0, 0, 0, 0, 0, 0},        {"L", -3, 3, 0, 0, 0, 0, 0, 0},
      {"°C", 0, 0, 0, 0, 0, 1, 0, 0},       {"bar", 5, -1, 1, -2, 0, 0, 0, 0},
      {"dB", 0, 0, 0, 0, 0, 0, 0, 0},       {"tr", 0, 0, 0, 0, 0, 0, 0, 0},
  };
  std::vector<Tunite> table;
  table.reserve(std::size(lignes));
  for (const auto& l : lignes) {
    Tunite u;
    u.setUniteComplet(l.nom, l.p, l.d1, l.d2, l.d3, l.d4, l.d5, l.d6, l.d7);
    table.push_back(u);
  }
  table[36].sansDim = tuDecibel;
  table[37].sansDim = tuTour;
  return table;
}

}  // namespace

void Tunite::Init() {
  FnomUnite.clear();
  Dimension.fill(0);
  sansDim = tuVide;
  symboleGrandeur.clear();
  Puissance = 0;
  Correct = true;
}

void Tunite::setUniteComplet(std::string_view nu, int p, int d1, int d2, int d3, int d4, int d5,
                             int d6, int d7) {
  FnomUnite = std::string(nu);
  Puissance = static_cast<std::int8_t>(p);
  Dimension = {0,
               static_cast<std::int8_t>(d1),
               static_cast<std::int8_t>(d2),
               static_cast<std::int8_t>(d3),
               static_cast<std::int8_t>(d4),
               static_cast<std::int8_t>(d5),
               static_cast<std::int8_t>(d6),
               static_cast<std::int8_t>(d7)};
}

void Tunite::RecopieUnite(const Tunite& U) {
  FnomUnite = U.FnomUnite;
  Puissance = U.Puissance;
  sansDim = U.sansDim;
  Dimension = U.Dimension;
  Correct = U.Correct;
}

void Tunite::setErreurUnite() {
  Correct = false;
  throw EUnite();
}

namespace {
// An exponent or a power that leaves the signed 8-bit range is a unit error rather
// than a silent wrap.
std::int8_t Octet(long long v, Tunite& u) {
  if (v < -128 || v > 127) u.setErreurUnite();
  return static_cast<std::int8_t>(v);
}
}  // namespace

void Tunite::PlusUnite(const Tunite& U0) {
  Correct = Correct && U0.Correct;
  if (!Correct) return;
  const Tunite u = U0;
  const std::int8_t p = Octet(Puissance + u.Puissance, *this);
  TDimension d{};
  for (int k = 1; k <= 7; ++k) d[k] = Octet(Dimension[k] + u.Dimension[k], *this);
  Puissance = p;
  Dimension = d;
  if (u.sansDim != tuVide) sansDim = sansDim == tuVide ? u.sansDim : tuVide;
}

void Tunite::MoinsUnite(const Tunite& U0) {
  Correct = Correct && U0.Correct;
  if (!Correct) return;
  const Tunite u = U0;
  const std::int8_t p = Octet(Puissance - u.Puissance, *this);
  TDimension d{};
  for (int k = 1; k <= 7; ++k) d[k] = Octet(Dimension[k] - u.Dimension[k], *this);
  Puissance = p;
  Dimension = d;
  if (u.sansDim != tuVide) sansDim = tuVide;
}

void Tunite::Eleve(const Tunite& U0, char op, int puiss) {
  const Tunite u = U0;  // U0 may be the receiver itself
  TDimension d{};
  std::int8_t p = 0;
  if (op == '*') {
    p = Octet(static_cast<long long>(u.Puissance) * puiss, *this);
    for (int k = 1; k <= 7; ++k) d[k] = Octet(static_cast<long long>(u.Dimension[k]) * puiss, *this);
  } else if (op == '/') {
    if (puiss == 0 || u.Puissance % puiss != 0) setErreurUnite();
    p = Octet(u.Puissance / puiss, *this);
    for (int k = 1; k <= 7; ++k) {
      if (u.Dimension[k] % puiss != 0) setErreurUnite();
      d[k] = Octet(u.Dimension[k] / puiss, *this);
    }
  } else {
    setErreurUnite();
  }
  Puissance = p;
  Dimension = d;
  sansDim = puiss == 1 ? u.sansDim : tuVide;
}

void Tunite::MulUnite(char op, const Tunite& U0, int puiss) {
  Correct = Correct && U0.Correct;
  if (!Correct) return;
  Eleve(U0, op, puiss);
}

void Tunite::PuissUnite(char op, int puiss) {
  if (!Correct) return;
  Eleve(*this, op, puiss);
}

void Tunite::AdUnite(char op, const Tunite& Ug, const Tunite& Ud) {
  Correct = Ug.Correct && Ud.Correct;
  if (!Correct) return;
  const Tunite g = Ug;
  const Tunite d = Ud;
  TDimension r{};
  std::int8_t p = 0;
  TuniteSansDim genre = tuVide;
  if (op == '+') {
    p = Octet(g.Puissance + d.Puissance, *this);
    for (int k = 1; k <= 7; ++k) r[k] = Octet(g.Dimension[k] + d.Dimension[k], *this);
    if (g.sansDim != tuVide && d.sansDim == tuVide) genre = g.sansDim;
    if (g.sansDim == tuVide && d.sansDim != tuVide) genre = d.sansDim;
  } else if (op == '-') {
    p = Octet(g.Puissance - d.Puissance, *this);
    for (int k = 1; k <= 7; ++k) r[k] = Octet(g.Dimension[k] - d.Dimension[k], *this);
    genre = d.sansDim == tuVide ? g.sansDim : tuVide;
  } else {
    setErreurUnite();
  }
  Puissance = p;
  Dimension = r;
  sansDim = genre;
}

void Tunite::InverseUnite() {
  if (!Correct) return;
  const std::int8_t p = Octet(-static_cast<int>(Puissance), *this);
  TDimension d{};
  for (int k = 1; k <= 7; ++k) d[k] = Octet(-static_cast<int>(Dimension[k]), *this);
  Puissance = p;
  Dimension = d;
  sansDim = tuVide;
}

void Tunite::SetUniteGrandeur(std::string_view texte) {
  std::string sansBlanc;
  for (char c : texte)
    if (c != ' ') sansBlanc.push_back(c);
  FnomUnite = sansBlanc;
  Puissance = 0;
  Correct = true;
  Dimension.fill(0);
  sansDim = tuVide;
  if (sansBlanc.empty()) return;
  std::u32string nom = VersCodes(sansBlanc);
  if (nom.size() > LongueurMaxi) {
    Correct = false;
    return;
  }
  if (const Tunite* u = ChercheUniteConnue(sansBlanc)) {
    RecopieUnite(*u);
    return;
  }
  // Positions are 1-based as in the rules of unit texts: at(i) is the i-th character.
  const std::size_t L = nom.size();
  auto at = [&nom](std::size_t i) { return nom[i - 1]; };
  auto estSigne = [](char32_t c) { return c == '+' || c == '-'; };
  std::size_t i = 1;
  bool denominateur = false;
  try {
    if (L >= 2 && nom[0] == '1' && nom[1] == 'E') {
      std::size_t j = 3;
      while (j < L && (estSigne(at(j)) || EstChiffre(at(j)))) ++j;
      if (j > 3) {
        const std::u32string suite = nom.substr(2, j - 3);
        long long v = 0;
        if (!LitEntierSigne(suite, v)) throw EConversionUnite(VersUtf8(suite));
        Puissance = Octet(v, *this);
        i = j;
      }
    }
    while (i <= L) {
      Tunite C;
      if (at(i) == '/') {
        ++i;
        denominateur = true;
        if (i > L) setErreurUnite();  // a text ending with '/' names no unit
      }
      int prefixe = 0;
      if (i < L && PuissancePrefixe(at(i), prefixe) &&
          (EstLettre(at(i + 1)) || at(i + 1) == Omega || at(i + 1) == Micro)) {
        C.Puissance = static_cast<std::int8_t>(prefixe);
        ++i;
      }
      std::size_t fin = i + 1;
      while (fin <= L && EstLettre(at(fin))) ++fin;
      if (const Tunite* u = Cherche(nom.substr(i - 1, fin - i))) {
        C.PlusUnite(*u);
        i = fin;
      } else {
        const Tunite* trouve = nullptr;
        std::size_t n = 1;
        for (;; ++n) {
          trouve = Cherche(nom.substr(i - 1, n));
          if (trouve || i + n > L || !EstLettre(at(i + n))) break;
        }
        if (!trouve) setErreurUnite();
        C.PlusUnite(*trouve);
        i += n;
      }
      if (i > L) {
        if (denominateur) C.InverseUnite();
      } else {
        if (at(i) == '^') {
          ++i;
          if (i > L) setErreurUnite();
        }
        bool moins = false;
        const char32_t s = at(i);
        if (s == '+' || s == '-' || s == ExposantPlus || s == ExposantMoins) {
          moins = s == '-' || s == ExposantMoins;
          nom[i - 1] = moins ? ExposantMoins : ExposantPlus;
          ++i;
          if (i > L) setErreurUnite();
        }
        int exposant = 1;
        if (EstChiffre(at(i))) {
          const int d = static_cast<int>(at(i) - '0');
          nom[i - 1] = Exposant(d);
          exposant = moins ? -d : d;
          ++i;
        }
        if (denominateur) exposant = -exposant;
        C.MulUnite('*', C, exposant);
      }
      PlusUnite(C);
      if (i < L && (at(i) == '*' || at(i) == '-' || at(i) == '.')) ++i;
    }
  } catch (const EUnite&) {
    Correct = false;
  }
  FnomUnite = VersUtf8(nom);
}

const std::vector<Tunite>& UnitesConnues() {
  static const std::vector<Tunite> table = ConstruitTable();
  return table;
}

const Tunite& UniteVide() {
  static const Tunite vide;
  return vide;
}

const Tunite* ChercheUniteConnue(std::string_view nom) {
  for (const Tunite& u : UnitesConnues())
    if (u.FnomUnite == nom) return &u;
  return nullptr;
}

void ConstruitUnitesConnues() { (void)UnitesConnues(); }
