// Colours of the plot, shared with the channel panels and the dialogs.
#pragma once

#include <array>

#include "platform/surface.h"
#include "util/types.h"

inline constexpr TCouleur CouleurFond{0xFFFFFF};
inline constexpr TCouleur CouleurAxeX{0x808080};    // horizontal axis, its grid, labels and title
inline constexpr TCouleur CouleurRepere{0x0000FF};  // marker lines

// By channel number: blue, red, green, navy, fuchsia, lime, teal, purple, black.
inline constexpr std::array<TCouleur, 9> CouleursVoies = {
    TCouleur{0x0000FF}, TCouleur{0xFF0000}, TCouleur{0x008000}, TCouleur{0x000080}, TCouleur{0xFF00FF},
    TCouleur{0x00FF00}, TCouleur{0x008080}, TCouleur{0x800080}, TCouleur{0x000000}};

constexpr TCouleur CouleurVoie(indiceVoie voie) { return voie < CouleursVoies.size() ? CouleursVoies[voie] : TCouleur{}; }
