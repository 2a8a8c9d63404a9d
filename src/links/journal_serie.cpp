// Log buffer of a port and the log file layout.
#include "links/journal_serie.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "links/trace_serie.h"
#include "util/durees.h"

TDateCivile DecodeDate(double dateHeure) {
  // Days since 1970-01-01 (day 25569) to year, month, day: days-from-civil inverted.
  // Rounded to the millisecond first, as DecodeHeure does, so 23:59:59.9996 is the next day.
  const long long ms = std::llround(dateHeure * MillisecondesParJour);
  const long long jours = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
  const long long z = jours - 25569 + 719468;
  const long long ere = (z >= 0 ? z : z - 146096) / 146097;
  const long long jde = z - ere * 146097;
  const long long ade = (jde - jde / 1460 + jde / 36524 - jde / 146096) / 365;
  const long long jda = jde - (365 * ade + ade / 4 - ade / 100);
  const long long mp = (5 * jda + 2) / 153;
  const auto jour = static_cast<int>(jda - (153 * mp + 2) / 5 + 1);
  const auto mois = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const auto annee = static_cast<int>(ade + ere * 400 + (mois <= 2 ? 1 : 0));
  return {annee, mois, jour};
}

std::string FormateDateJournal(double dateHeure) {
  const TDateCivile d = DecodeDate(dateHeure);
  const THeureDecodee h = DecodeHeure(dateHeure);
  char texte[48];
  std::snprintf(texte, sizeof texte, "%02d/%02d/%04d %02d:%02d:%02d", d.jour, d.mois, d.annee, h.heure, h.minute,
                h.seconde);
  return texte;
}

void TJournalSerie::SetCapacite(std::uint32_t capacite) {
  capacite_ = std::min(capacite, TTraceSerie::CapaciteMaxi);
  while (entrees_.size() > capacite_) entrees_.pop_front();
}

void TJournalSerie::Ajoute(std::int64_t ms, std::string texte) {
  if (capacite_ == 0) return;
  if (entrees_.size() == capacite_) entrees_.pop_front();
  entrees_.push_back({ms, std::move(texte)});
}

std::string TJournalSerie::Texte(const std::string& entete) const {
  std::string texte;
  std::size_t debut = 0;
  while (debut < entete.size()) {
    std::size_t fin = entete.find('\n', debut);
    if (fin == std::string::npos) fin = entete.size();
    texte.append(entete, debut, fin - debut).append("\r\n");
    debut = fin + 1;
  }
  texte += "\r\n";
  for (const Entree& e : entrees_) {
    const std::int64_t ecart = std::max<std::int64_t>(e.ms - origine_, 0);
    char temps[32];
    std::snprintf(temps, sizeof temps, "%8lld.%03lld  ", static_cast<long long>(ecart / 1000),
                  static_cast<long long>(ecart % 1000));
    texte.append(temps).append(e.texte).append("\r\n");
  }
  return texte;
}
