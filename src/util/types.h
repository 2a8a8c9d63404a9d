// Types shared by the instruments, the plot and the engine: the value column, point
// and channel indices.
#pragma once

#include <array>
#include <cstdint>

constexpr int MaxPoints = 2048;
// A column of values indexed 0..2048 (point counts and indices are indiceVecteur).
using vecteur = std::array<double, MaxPoints + 1>;
using indiceVecteur = std::uint16_t;  // 0..2048
using indiceVoie = std::uint8_t;      // acquisition channel 0..8
