// Durations (whole seconds) and time stamps (day-number reals: days since 1899-12-30
// plus the time of day as a fraction).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class TParametresRegionaux;

inline constexpr double MillisecondesParJour = 86400000.0;

// Hours:minutes:seconds of a duration as a time-of-day value (fraction of a day);
// 24 hours or more are refused by returning the value modulo one day.
double SecondesEnHeure(std::int32_t secondes);

// Elapsed seconds from b to a: |a - b| rounded to the millisecond, modulo one day.
double EcartEnSecondes(double a, double b);

// The rounding grid and the up/down steps of the measurement duration. A negative
// duration is taken as 0; a step whose result would not fit leaves it unchanged.
void ArrondiDuree(std::int32_t& duree);
void AugmenteDuree(std::int32_t& duree);
void DiminueDuree(std::int32_t& duree);

// Day-number real of a civil date and time, and back (used by the platforms and tests).
double EncodeDateHeure(int annee, int mois, int jour, int heure, int minute, int seconde, int ms);
struct THeureDecodee { int heure, minute, seconde, ms; };
THeureDecodee DecodeHeure(double dateHeure);
// Its time of day as "HH:MM:SS", whatever the user's formats.
std::string TexteHeure(double dateHeure);

// A duration as the duration fields show it: hours:minutes:seconds in the user's long
// time format, or, from a day on (the time base reaches 34 h at 60 s intervals), with
// its whole hours ("34:08:00"), which no time of day can hold.
std::string TexteDuree(const TParametresRegionaux& regional, std::int32_t secondes);

// A duration typed into those fields ("0:02:00", "1:30", "8", "34:08:00"): whole
// seconds, or nothing when the text is no duration (minutes and seconds 0..59, at
// most three fields separated by ':', at most DureeLueMaxi in all).
inline constexpr std::int32_t DureeLueMaxi = 1000000;
std::optional<std::int32_t> LitDuree(std::string_view texte);

// The characters a duration field lets through as they are typed.
bool CaractereDureeAdmis(char32_t c);
