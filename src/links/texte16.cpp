#include "links/texte16.h"

#include <cstring>

TBloc16 BlocVersBibliotheque(const std::string& texte) {
  TBloc16 bloc{};
  const std::size_t n = std::min(texte.size(), bloc.size() - 1);
  for (std::size_t i = 0; i < n; ++i) bloc[i] = static_cast<unsigned char>(texte[i]);
  return bloc;
}

std::string TexteDeBibliotheque(const std::uint16_t* bloc) {
  if (!bloc) return {};
  // Copied at once: the library may reuse its block at the next call.
  TBloc16 copie;
  std::memcpy(copie.data(), bloc, sizeof copie);
  std::string texte;
  for (const std::uint16_t u : copie) {
    const auto c = static_cast<char>(u & 0xFF);
    if (c == 0 || texte.size() >= LongueurMaxiTexte16) break;
    texte += c;
  }
  return texte;
}
