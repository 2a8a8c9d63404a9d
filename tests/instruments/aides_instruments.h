// Helpers of the instrument tests: a settable decimal separator, definitions built
// from the text of a device-file section, frames written in hex.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "instruments/appareil.h"
#include "util/ini.h"
#include "util/regional_courant.h"

class TRegionalEssai : public TParametresRegionaux {
public:
  char separateur = '.';
  char SeparateurDecimal() const override { return separateur; }
  std::string DateCourte(double) const override { return {}; }
  std::string HeureLongue(double) const override { return {}; }
};

// Installs the test's regional settings for the time of one test.
class AvecRegional : public ::testing::Test {
protected:
  void SetUp() override { InstalleRegional(&regional); }
  void TearDown() override { InstalleRegional(nullptr); }
  TRegionalEssai regional;
};

// A definition read from the section `nom` of an in-memory device file.
inline std::unique_ptr<Tappareil> DefinitionDepuis(const std::string& texteIni, const std::string& nom) {
  const TFichierIni ini = TFichierIni::DepuisTexte("essai.ini", texteIni);
  auto a = std::make_unique<Tappareil>();
  a->LitIni(nom, ini);
  return a;
}

// "4F 4B 0D" -> the bytes O K CR.
inline std::string Hex(const std::string& texte) {
  std::string r;
  int chiffres = 0;
  unsigned v = 0;
  for (char c : texte) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (d < 0) continue;
    v = v * 16 + static_cast<unsigned>(d);
    if (++chiffres == 2) {
      r.push_back(static_cast<char>(v));
      chiffres = 0;
      v = 0;
    }
  }
  return r;
}

// Names each case of a table after its `nom` field, so a failure says which row broke.
struct NomDuCas {
  template <typename T>
  std::string operator()(const ::testing::TestParamInfo<T>& cas) const {
    return cas.param.nom;
  }
};
