// Parity of a serial line, stored as 0..4 in device files; shared by the instrument
// definitions and the serial port object.
#pragma once

#include <cstdint>

enum TParity : std::uint8_t { pNone, pOdd, pEven, pMark, pSpace };
