// How the settings dialogs write reals and durations into their fields, and read
// durations back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class TParametresRegionaux;

// The shortest form of x with at most 15 significant digits and the user's decimal
// separator; empty for no value (NaN).
std::string TexteReelDialogue(double x);

// A duration as hours:minutes:seconds in the user's long time format. A duration of
// a day or more (the time base reaches 34 h at 60 s intervals) cannot be a time of
// day: it is written with its whole hours ("34:08:00"), which LitDureeDialogue reads.
std::string TexteDureeDialogue(const TParametresRegionaux& regional, std::int32_t secondes);

// A duration typed as a time of day ("0:02:00", "1:30"), or with whole hours beyond a
// day ("34:08:00"); nothing when the text is no duration.
std::optional<std::int32_t> LitDureeDialogue(std::string_view texte);
