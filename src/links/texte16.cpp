#include "links/texte16.h"

#include <algorithm>
#include <tuple>

TBloc16 BlocVersBibliotheque(const std::string& texte) {
  TBloc16 bloc{};
  const std::size_t n = std::min(texte.size(), bloc.size() - 1);
  for (std::size_t i = 0; i < n; ++i) bloc[i] = static_cast<unsigned char>(texte[i]);
  return bloc;
}

std::string TexteDeBibliotheque(const std::uint16_t* bloc) {
  if (!bloc) return {};
  // Read at once, before any other call that may reuse the library's block, and no
  // further than its terminator.
  std::string texte;
  for (std::size_t i = 0; i < std::tuple_size_v<TBloc16> && texte.size() < LongueurMaxiTexte16; ++i) {
    const auto c = static_cast<char>(bloc[i] & 0xFF);
    if (c == 0) break;
    texte += c;
  }
  return texte;
}
