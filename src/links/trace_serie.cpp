// Trace buffer of a port and the trace file layout.
#include "links/trace_serie.h"

#include <algorithm>

namespace {
constexpr std::size_t LargeurLigne = 78;
const char* const Fin = "\r\n";
}  // namespace

void TTraceSerie::SetCapacite(std::uint32_t capacite) {
  capacite_ = std::min(capacite, CapaciteMaxi);
  while (entrees_.size() > capacite_) entrees_.pop_front();
}

void TTraceSerie::Ajoute(TSensTrace sens, std::string_view octets) {
  if (capacite_ == 0) return;
  for (char c : octets) {
    if (entrees_.size() == capacite_) entrees_.pop_front();
    entrees_.push_back({sens, static_cast<unsigned char>(c)});
  }
}

std::string TTraceSerie::FormateTrace(const std::vector<TEntreeTrace>& entrees) {
  static const char hex[] = "0123456789ABCDEF";
  std::string texte;
  std::size_t colonne = 0;
  for (std::size_t i = 0; i < entrees.size(); ++i) {
    const TEntreeTrace& e = entrees[i];
    if (i == 0 || e.sens != entrees[i - 1].sens) {
      if (i > 0) texte.append(Fin).append(Fin);
      const char* entete = e.sens == TSensTrace::Emission ? "Transmit: " : "Receive: ";
      texte += entete;
      colonne = std::char_traits<char>::length(entete);
    }
    char code[5];
    std::size_t largeur = 1;
    if (e.octet >= '!' && e.octet <= '~') {
      code[0] = static_cast<char>(e.octet);
    } else {
      code[0] = '[';
      code[1] = hex[e.octet >> 4];
      code[2] = hex[e.octet & 15];
      code[3] = ']';
      largeur = 4;
    }
    if (colonne + largeur > LargeurLigne) {
      texte += Fin;
      colonne = 0;
    }
    texte.append(code, largeur);
    colonne += largeur;
  }
  if (!entrees.empty()) texte += Fin;
  return texte;
}
