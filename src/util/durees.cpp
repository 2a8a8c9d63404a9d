// Durations in whole seconds with their stepping grid, and day-number time stamps.
#include "util/durees.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/regional.h"

namespace {

constexpr std::int64_t MsParJour = 86400000;
constexpr std::int64_t SecondesParJour = 86400;

// A duration split as the stepping rules read it.
struct THms {
  std::int64_t h, m, s;
};

// Negative durations have no meaning here; they are taken as 0.
THms Decoupe(std::int32_t duree) {
  const std::int64_t d = duree < 0 ? 0 : duree;
  return {d / 3600, (d / 60) % 60, d % 60};
}

// A step whose result would not fit leaves the duration as it was.
void Recompose(std::int32_t& duree, const THms& t) {
  const std::int64_t r = t.s + 60 * t.m + 3600 * t.h;
  if (r <= std::numeric_limits<std::int32_t>::max()) duree = static_cast<std::int32_t>(r);
}

std::int64_t AuMultipleSuperieur(std::int64_t v, std::int64_t pas) { return (v + pas - 1) / pas * pas; }

std::int64_t PasDesMinutes(std::int64_t m) { return m > 30 ? 10 : m > 10 ? 5 : 1; }

// Days from 1899-12-30 of a civil date (proleptic Gregorian calendar).
std::int64_t JoursDepuisOrigine(int annee, int mois, int jour) {
  const std::int64_t y = annee - (mois <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (mois + (mois > 2 ? -3 : 9)) + 2) / 5 + jour - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t depuis1970 = era * 146097 + doe - 719468;
  return depuis1970 + 25569;  // 1899-12-30 is 25569 days before 1970-01-01
}

}  // namespace

double SecondesEnHeure(std::int32_t secondes) {
  const std::int64_t s = ((static_cast<std::int64_t>(secondes) % SecondesParJour) + SecondesParJour) % SecondesParJour;
  return static_cast<double>(s * 1000) / MillisecondesParJour;
}

double EcartEnSecondes(double a, double b) {
  const double ecart = std::fabs(a - b);
  if (!std::isfinite(ecart)) return std::numeric_limits<double>::quiet_NaN();
  const std::int64_t ms = std::llround(std::fmod(ecart, 1.0) * MillisecondesParJour) % MsParJour;
  const std::int64_t h = ms / 3600000, m = (ms / 60000) % 60, s = (ms / 1000) % 60;
  return static_cast<double>(h * 3600 + m * 60 + s) + static_cast<double>(ms % 1000) * 0.001;
}

void ArrondiDuree(std::int32_t& duree) {
  THms t = Decoupe(duree);
  if (t.h > 0) {
    t.s = 0;
    t.m = AuMultipleSuperieur(t.m, 15);
  } else if (t.m <= 3) {
    t.s = AuMultipleSuperieur(t.s, 10);
  } else {
    t.s = 0;
    if (t.m > 30) t.m = AuMultipleSuperieur(t.m, 10);
    else if (t.m > 10) t.m = AuMultipleSuperieur(t.m, 5);
  }
  Recompose(duree, t);
}

void AugmenteDuree(std::int32_t& duree) {
  THms t = Decoupe(duree);
  if (t.h > 0) {
    t.m += 15;
    t.s = 0;
  } else if (t.m == 0) {
    t.s += 10;
  } else if (t.m <= 3) {
    t.s += 15;
  } else {
    t.s = 0;
    t.m += PasDesMinutes(t.m);
  }
  Recompose(duree, t);
}

void DiminueDuree(std::int32_t& duree) {
  THms t = Decoupe(duree);
  if (t.h > 0) {
    t.s = 0;
    t.m -= 15;  // borrows from the hours through the sum: 1 h 05 min gives 50 min
  } else if (t.m >= 4) {
    t.s = 0;
    t.m -= PasDesMinutes(t.m);
  } else if (t.m >= 1) {
    t.s -= 15;
  } else {
    t.s = t.s > 10 ? t.s - 10 : 10;  // never below 10 s by this step
  }
  Recompose(duree, t);
}

double EncodeDateHeure(int annee, int mois, int jour, int heure, int minute, int seconde, int ms) {
  const double jours = static_cast<double>(JoursDepuisOrigine(annee, mois, jour));
  const double fraction = static_cast<double>(((heure * 60 + minute) * 60 + seconde) * 1000 + ms) / MillisecondesParJour;
  // Before the origin the time of day still counts forward from midnight, so it is
  // written away from zero: -1.25 is 1899-12-29 06:00.
  return jours < 0 ? jours - fraction : jours + fraction;
}

THeureDecodee DecodeHeure(double dateHeure) {
  if (!std::isfinite(dateHeure)) return {0, 0, 0, 0};
  const std::int64_t t = std::llround(std::fabs(std::fmod(dateHeure, 1.0)) * MillisecondesParJour) % MsParJour;
  return {static_cast<int>(t / 3600000), static_cast<int>((t / 60000) % 60), static_cast<int>((t / 1000) % 60),
          static_cast<int>(t % 1000)};
}

std::string TexteHeure(double dateHeure) {
  const THeureDecodee h = DecodeHeure(dateHeure);
  char s[16];
  std::snprintf(s, sizeof s, "%02d:%02d:%02d", h.heure, h.minute, h.seconde);
  return s;
}

std::string TexteDuree(const TParametresRegionaux& regional, std::int32_t secondes) {
  if (secondes < 0) secondes = 0;
  if (secondes < SecondesParJour) return regional.HeureLongue(SecondesEnHeure(secondes));
  char texte[32];
  std::snprintf(texte, sizeof texte, "%d:%02d:%02d", secondes / 3600, (secondes / 60) % 60, secondes % 60);
  return texte;
}

std::optional<std::int32_t> LitDuree(std::string_view texte) {
  std::int64_t champs[3] = {0, 0, 0};
  int n = 0;
  bool chiffre = false;
  for (char c : texte) {
    if (c == ' ') continue;
    if (c == ':') {
      if (!chiffre || ++n > 2) return std::nullopt;
      chiffre = false;
    } else if (c >= '0' && c <= '9') {
      champs[n] = champs[n] * 10 + (c - '0');
      if (champs[n] > DureeLueMaxi) return std::nullopt;
      chiffre = true;
    } else {
      return std::nullopt;
    }
  }
  if (!chiffre) return std::nullopt;
  if (champs[1] > 59 || champs[2] > 59) return std::nullopt;
  const std::int64_t total = champs[0] * 3600 + champs[1] * 60 + champs[2];
  if (total > DureeLueMaxi) return std::nullopt;
  return static_cast<std::int32_t>(total);
}

bool CaractereDureeAdmis(char32_t c) {
  // The separators of the shown duration stay in place: ':' is not typed.
  static const std::u32string permis = U"\b\f %'.0123456789imns\u00B5";
  return c <= 255 && permis.find(c) != std::u32string::npos;
}
