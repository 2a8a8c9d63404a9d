// Texts exchanged with the USB meters' library: blocks of 16-bit units, one 8-bit
// character in the low byte of each unit, ended by a unit whose low byte is 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// A block of 256 bytes; what does not fit (past 127 characters) is left out.
using TBloc16 = std::array<std::uint16_t, 128>;
TBloc16 BlocVersBibliotheque(const std::string& texte);

// The text of a block the library returned (at least 256 bytes): the low bytes up to
// the first 0, at most 120 of them. A null address gives an empty text.
constexpr std::size_t LongueurMaxiTexte16 = 120;
std::string TexteDeBibliotheque(const std::uint16_t* bloc);
