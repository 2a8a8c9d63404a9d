// Clipboard text, named single-instance locks and vendor libraries.
#pragma once

#include <memory>
#include <string>

class TPressePapiers {
public:
  virtual ~TPressePapiers() = default;
  virtual void SetTexte(const std::string& texte) = 0;
  virtual std::string Texte() const = 0;
};

// A named lock held by a running program (the single-instance check, the analysis
// program's running lock). Released when the object goes.
class TVerrou {
public:
  virtual ~TVerrou() = default;
};

class TVerrous {
public:
  virtual ~TVerrous() = default;
  virtual bool Existe(const std::string& nom) const = 0;
  // Takes the lock; nothing when another program holds it.
  virtual std::unique_ptr<TVerrou> Prend(const std::string& nom) = 0;
};

class TBibliotheque {
public:
  virtual ~TBibliotheque() = default;
  // The entry point's address, or null when the library lacks it.
  virtual void* Symbole(const std::string& nom) = 0;
};

class TBibliotheques {
public:
  virtual ~TBibliotheques() = default;
  // Loads by base name ("OrigaMeterUSB"); nothing when the library is absent.
  virtual std::unique_ptr<TBibliotheque> Charge(const std::string& nomDeBase) = 0;
};
