// Random and truncated bytes into the frame decoder and the unit parser: nothing may
// crash, hang, throw toward the caller or leave the definition inconsistent. The seed
// is fixed and the rounds bounded, so a failure replays exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "aides_instruments.h"
#include "instruments/appareil.h"
#include "instruments/commande.h"
#include "instruments/unite.h"
#include "util/regional_courant.h"

namespace {

// Bytes that frames are made of, weighted toward what steers the decoder.
const std::string Alphabet = std::string("0123456789012345678901234567890123456789+-.,.,eE:/  \r\n\r\n") +
                             "pHmSgkuMGnVAUΩ^*" + "\x7f\xb0\xa9\xb5\xe6\x81\xff" + std::string(1, '\0') + "\t|";

// Frames of real layouts, cut at every length.
const std::vector<std::string> Reelles = {
    "  7.02pH    25.0oC \r",       "  12.5mS    25.0oC \r",        "  1413uS    25.0oC \r",
    "+   123.56 g  \r\n",          "ST,+00123.45  g\r\n",          "OL,+999999.9  g\r\n",
    "01V=12.345\r",                "  12.345 g\r\n",               "05/12/2024 14:02:33 7.01\r",
    "p07.02pH: m011.9mV:T025.0C@ 2007-04-18 18:48:48K\r\n",      "12.5 mS/",
    "12.5 1E--3m\r",               "pH   7.00pH\r\nT    21.5 \xb0" "C\r\nmV   0.2mV\r\n"};

std::string Aleatoire(std::mt19937& alea, std::size_t maxi) {
  std::string t;
  const std::size_t n = alea() % (maxi + 1);
  for (std::size_t i = 0; i < n; ++i) {
    if (alea() % 8 == 0)
      t.push_back(static_cast<char>(alea() % 256));
    else
      t.push_back(Alphabet[alea() % Alphabet.size()]);
  }
  return t;
}

std::int32_t EntierExtreme(std::mt19937& alea) {
  static const std::int32_t extremes[] = {INT32_MIN, -100000, -9, -8, -1, 0, 1, 2, 3, 4, 5, 16, 40, INT32_MAX};
  if (alea() % 2) return extremes[alea() % std::size(extremes)];
  return static_cast<std::int32_t>(alea() % 41) - 20;
}

// A definition with random fields, extremes included, as a hand-edited device file
// or a direct assignment could leave it.
void DefinitionAleatoire(std::mt19937& alea, Tappareil& a) {
  a.EnvoiDirect = alea() % 2;
  a.FormatFixe = alea() % 2;
  a.DebutNombre = EntierExtreme(alea);
  a.NbreCarac = EntierExtreme(alea);
  a.NumeroOrdre = static_cast<std::uint8_t>(alea() % 3 == 0 ? alea() % 256 : alea() % 4);
  a.NbreLignes = static_cast<std::uint8_t>(alea() % 3 == 0 ? alea() % 256 : alea() % 4);
  a.SeparateurChiffre = alea() % 2 ? static_cast<char>(alea() % 256) : 0;
  a.Demande = alea() % 3 ? Aleatoire(alea, 4) : std::string();
  a.DemandeBis = alea() % 3 ? std::string() : Aleatoire(alea, 3);
  a.TexteVerif = alea() % 3 ? std::string() : Aleatoire(alea, 3);
  a.NumeroVerif = EntierExtreme(alea);
  a.SymboleGrandeur = alea() % 3 ? "pH" : "V";
  a.LireCoeffUnite = alea() % 2;
  a.LireNomUnite = alea() % 2;
  a.ValMini = alea() % 2 ? -1e300 : 0;
  a.ValMaxi = alea() % 2 ? 14 : 1e300;
  a.FiltrageDepassement = alea() % 2;
  a.Precision = EntierExtreme(alea);
  a.Derive = alea() % 2 ? 0.1 : -1;
  a.lectureSTAB = alea() % 4 == 0;
  a.nbreRouleau = alea() % 5 == 0 ? EntierExtreme(alea) : a.nbreRouleau;
}

void Decode(Tappareil& a, const std::string& trame) {
  const std::size_t avant = trame.size();
  const std::int32_t rouleauAvant = a.nbreRouleau;
  a.ChaineLue = trame;
  a.SetValeurCourante();
  // The decoder only ever consumes its buffer.
  ASSERT_LE(a.ChaineLue.size(), avant);
  // A count set out of range by hand is brought back by the next reading, never used.
  if (a.nbreRouleau != rouleauAvant) {
    ASSERT_GE(a.nbreRouleau, 1);
    ASSERT_LE(a.nbreRouleau, 6);
  }
  ASSERT_LE(a.reponseStab.size(), 4u);
  if (a.depassement) {
    ASSERT_FALSE(a.FiltrageDepassement);
  }
  if (a.FiltrageDepassement && !std::isnan(a.ValeurCourante)) {
    ASSERT_GE(a.ValeurCourante, a.ValMini);
    ASSERT_LE(a.ValeurCourante, a.ValMaxi);
  }
  (void)a.isStable();
  (void)a.NomValeurUniteCourante();
  (void)a.FormatApp(a.ValeurCourante);
}

TEST(DecodageFuzz, OctetsAleatoiresSurDefinitionsAleatoires) {
  TRegionalEssai regional;
  InstalleRegional(&regional);
  std::mt19937 alea(0x5eed1234);
  for (int tour = 0; tour < 20000; ++tour) {
    regional.separateur = alea() % 2 ? '.' : ',';
    Tappareil a;
    DefinitionAleatoire(alea, a);
    for (int trame = 0; trame < 3; ++trame) {
      ASSERT_NO_FATAL_FAILURE(Decode(a, Aleatoire(alea, 60))) << "tour " << tour;
    }
  }
  InstalleRegional(nullptr);
}

TEST(DecodageFuzz, TramesReellesTronqueesEtMelangees) {
  TRegionalEssai regional;
  InstalleRegional(&regional);
  std::mt19937 alea(42);
  for (int tour = 0; tour < 300; ++tour) {
    Tappareil a;
    DefinitionAleatoire(alea, a);
    for (const std::string& r : Reelles) {
      for (std::size_t n = 0; n <= r.size(); ++n) ASSERT_NO_FATAL_FAILURE(Decode(a, r.substr(0, n)));
      // A real frame with its bytes flipped here and there.
      std::string abimee = r;
      for (char& c : abimee)
        if (alea() % 6 == 0) c = static_cast<char>(alea() % 256);
      ASSERT_NO_FATAL_FAILURE(Decode(a, abimee));
    }
  }
  InstalleRegional(nullptr);
}

TEST(DecodageFuzz, FluxContinuQuiGrandit) {
  // A self-transmitting instrument whose buffer keeps growing between calls.
  std::mt19937 alea(7);
  for (int tour = 0; tour < 200; ++tour) {
    Tappareil a;
    DefinitionAleatoire(alea, a);
    a.EnvoiDirect = true;
    for (int morceau = 0; morceau < 40; ++morceau) {
      a.ChaineLue += Aleatoire(alea, 20);
      const std::size_t avant = a.ChaineLue.size();
      a.SetValeurCourante();
      ASSERT_LE(a.ChaineLue.size(), avant);
      if (a.ChaineLue.size() > 4000) a.ChaineLue.clear();
    }
  }
}

TEST(UniteFuzz, TextesAleatoiresEtTronques) {
  std::mt19937 alea(1999);
  const std::string symboles = "mkMGnpµuΩ°CSAVgLlmolHzPaJWNsTFbardBtr1E23/.*-+^⁺⁻ ²³";
  auto essaie = [](const std::string& t) {
    Tunite u;
    try {
      u.SetUniteGrandeur(t);
    } catch (const EConversionUnite&) {
      return;  // the one failure that reaches the caller
    }
    if (t.find_first_not_of(' ') == std::string::npos) {
      ASSERT_TRUE(u.Correct);  // nothing: no dimension
    }
  };
  for (int tour = 0; tour < 30000; ++tour) {
    std::string t;
    const int n = static_cast<int>(alea() % 24);
    for (int i = 0; i < n; ++i) {
      if (alea() % 10 == 0)
        t.push_back(static_cast<char>(alea() % 256));  // and broken UTF-8
      else
        t.push_back(symboles[alea() % symboles.size()]);
    }
    ASSERT_NO_FATAL_FAILURE(essaie(t)) << t;
  }
  for (const char* r : {"mS/cm", "kg.m-3", "1E3m", "J/kg.K", "µS/cm", "m/s2", "kΩ", "°C", "1E-3mol/L"}) {
    const std::string s = r;
    for (std::size_t n = 0; n <= s.size(); ++n) ASSERT_NO_FATAL_FAILURE(essaie(s.substr(0, n)));
  }
  ASSERT_NO_FATAL_FAILURE(essaie(std::string(300, 'm')));
}

TEST(CommandeFuzz, DecodeEtCodeSurOctetsAleatoires) {
  std::mt19937 alea(314);
  for (int tour = 0; tour < 20000; ++tour) {
    std::string t;
    const int n = static_cast<int>(alea() % 40);
    for (int i = 0; i < n; ++i) t.push_back(alea() % 3 ? "|CRLFESXON"[alea() % 10] : static_cast<char>(alea() % 256));
    const std::string octets = DecodeCommande(t);
    ASSERT_LE(octets.size(), 250u);
    if (octets.size() < 200) {
      ASSERT_EQ(DecodeCommande(CodeCommande(octets)), octets);
    }
    std::vector<std::string> lignes;
    LignesRecues(t, lignes);
  }
}

}  // namespace
