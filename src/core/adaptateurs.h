// The two vendor-library instrument families as the engine sees them: USB meters and
// the inputs of the interface box. This base is the null implementation (no library:
// nothing is connected); adaptateurs_bibliotheques.h is the real one.
#pragma once

#include <string>
#include <vector>

class Tappareil;

struct TMetreUSB {
  int ident = 0;          // 600 pH meter, 601 conductimeter
  std::string chemin;     // tells two meters of one kind apart
  bool connecte = false;
};

class TAdaptateurs {
public:
  virtual ~TAdaptateurs() = default;

  virtual bool UsbCharge() const { return false; }
  // Enumerates the meters again.
  virtual std::vector<TMetreUSB> EnumereUSB() { return {}; }
  // The meters of the last enumeration (the first one is made when none was).
  virtual std::vector<TMetreUSB> MetresUSB() { return {}; }
  // The definition to put on a channel for `metre`, made from the built-in `modele`
  // and attached to that meter.
  virtual Tappareil* DefinitionMetre(Tappareil& modele, const TMetreUSB& metre);
  // Links the definition to the meter with its identifier and path; true when connected.
  virtual bool LieUSB(Tappareil& appareil) { return false; }
  // The meter's value for the definition's request; NaN when none.
  virtual double ValeurUSB(Tappareil& appareil);

  virtual bool BoitierPresent() const { return false; }
  virtual void InitBoitier(const std::vector<Tappareil*>& appareils) {}
  virtual double ValeurBoitier(Tappareil& appareil);
};

// A connected meter with that identifier among `metres`.
bool MetreConnecte(const std::vector<TMetreUSB>& metres, int ident);
