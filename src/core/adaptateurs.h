// The two vendor-library instrument families as the engine sees them: USB meters and
// the inputs of the interface box. Without the libraries, nothing is connected.
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
  // Links the definition to the meter with its identifier and path; true when connected.
  virtual bool LieUSB(Tappareil& appareil) { return false; }
  // The meter's value for the definition's request; NaN when none.
  virtual double ValeurUSB(Tappareil& appareil);

  virtual bool BoitierPresent() const { return false; }
  virtual void InitBoitier(const std::vector<Tappareil*>& appareils) {}
  virtual double ValeurBoitier(Tappareil& appareil);
};
