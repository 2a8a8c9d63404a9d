// Writing and reading the stand-in analysis program's record.
#include "analyse-factice/journal_factice.h"

#include <charconv>

std::string BlocJournal(const std::string& genre, const std::string& texte) {
  return genre + " " + std::to_string(texte.size()) + "\n" + texte + "\n";
}

std::optional<std::vector<TEntreeJournal>> LitJournal(const std::string& contenu) {
  std::vector<TEntreeJournal> entrees;
  std::size_t i = 0;
  while (i < contenu.size()) {
    const std::size_t blanc = contenu.find(' ', i);
    const std::size_t fin = contenu.find('\n', i);
    if (blanc == std::string::npos || fin == std::string::npos || blanc > fin) return std::nullopt;
    std::size_t n = 0;
    const auto [p, erreur] = std::from_chars(contenu.data() + blanc + 1, contenu.data() + fin, n);
    if (erreur != std::errc() || p != contenu.data() + fin) return std::nullopt;
    if (fin + 1 + n + 1 > contenu.size() || contenu[fin + 1 + n] != '\n') return std::nullopt;
    entrees.push_back({contenu.substr(i, blanc - i), contenu.substr(fin + 1, n)});
    i = fin + 1 + n + 1;
  }
  return entrees;
}
