// The user's regional settings: decimal separator and date/time formats. Read at
// each use, never cached, as the user may change them while the program runs.
#pragma once

#include <string>

class TParametresRegionaux {
public:
  virtual ~TParametresRegionaux() = default;
  virtual char SeparateurDecimal() const = 0;
  // Date and time of a day-number real (see TBoucleEvenements::DateHeure) in the
  // user's short date and long time formats.
  virtual std::string DateCourte(double dateHeure) const = 0;
  virtual std::string HeureLongue(double dateHeure) const = 0;
};
