// Tick timers of 55 ms and the wait that keeps dispatching events meanwhile. Ticks
// are counted on the loop's 64-bit monotonic clock, so no timer can straddle a wrap
// of a 32-bit millisecond counter and last for weeks.
#pragma once

#include <cstdint>

#include "platform/boucle.h"

inline constexpr int MillisecondesParTick = 55;
// Longest timer, in ticks (about 24.8 days).
inline constexpr std::int64_t TicksMaxi = 39045157;

struct TTempo {
  std::int64_t debut = 0;       // tick count at the start
  std::int64_t expiration = 0;  // expired once the count is past this
};

std::int64_t TicksCourants(const TBoucleEvenements& boucle);

// expiration := start + min(n, TicksMaxi): the timer expires between n and n + 1
// ticks after it was started.
void DemarreTempo(const TBoucleEvenements& boucle, TTempo& tempo, std::int64_t n);
bool TempoEcoulee(const TBoucleEvenements& boucle, const TTempo& tempo);

// Returns at once when n < 1; otherwise dispatches events until a timer of n ticks
// has expired, or the program has been asked to quit (the request stays standing,
// so the program still quits).
void AttenteTicks(TBoucleEvenements& boucle, std::int64_t n);
