// Random, mutated, huge and truncated text into the INI reader and the number and
// duration readers: nothing may crash or throw, what is read back is what was
// written, and a value the reader refuses is refused as a whole. The seeds are fixed
// and the rounds bounded, so a failure replays exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "util/cp1252.h"
#include "util/durees.h"
#include "util/faux_util.h"
#include "util/fichiers.h"
#include "util/ini.h"
#include "util/nombres.h"
#include "util/textes.h"

namespace fs = std::filesystem;

namespace {

// A device file as the lab keeps it: duplicated keys, comments, blanks, brackets.
const std::string IniValide =
    "; base des appareils\r\n[Index]\r\n0=pH-mètre [A]\r\n1=Balance\r\n1=Balance\r\n\r\n"
    "[pH-mètre [A]]\r\nNom = pH \r\nSymbole=pH\r\nUnité=\r\nMaxi=14\r\nDelai=$1F4\r\n"
    "Derive=0,1\r\n;Maxi=99\r\n\r\n[Balance]\r\nNom=masse\r\nUnité=g\r\nMini=-1e300\r\n"
    "Demande=|ESC|P\r\nCom=0x10\r\n";

const std::string AlphabetIni = "[]=;\r\n\r\n \tabcABC019$x-+.,éΩ";

std::string Mute(std::mt19937& alea, std::string t, const std::string& alphabet) {
  const int n = 1 + static_cast<int>(alea() % 6);
  for (int i = 0; i < n && !t.empty(); ++i) {
    const std::size_t p = alea() % t.size();
    switch (alea() % 5) {
      case 0: t[p] = alphabet[alea() % alphabet.size()]; break;
      case 1: t[p] = static_cast<char>(alea() % 256); break;
      case 2: t.erase(p, 1 + alea() % 8); break;
      case 3: t.insert(p, 1, alphabet[alea() % alphabet.size()]); break;
      default: t.insert(p, t.substr(alea() % t.size(), alea() % 40)); break;  // a piece repeated
    }
  }
  return t;
}

std::string Aleatoire(std::mt19937& alea, std::size_t maxi, const std::string& alphabet) {
  std::string t;
  const std::size_t n = alea() % (maxi + 1);
  for (std::size_t i = 0; i < n; ++i)
    t.push_back(alea() % 8 == 0 ? static_cast<char>(alea() % 256) : alphabet[alea() % alphabet.size()]);
  return t;
}

// Every entry the reader sees, in file order.
struct TVue {
  std::vector<std::string> sections;
  std::vector<std::vector<std::string>> cles, valeurs;
  bool operator==(const TVue&) const = default;
};

TVue Vue(const TFichierIni& ini) {
  TVue v;
  v.sections = ini.Sections();
  for (const std::string& s : v.sections) {
    v.cles.push_back(ini.Cles(s));
    v.valeurs.push_back(ini.Valeurs(s));
  }
  return v;
}

// The reader's invariants on any text: what it lists it finds, and the text it would
// write reads back to the same entries (a load then a save changes nothing).
void Verifie(const std::string& texte) {
  const TFichierIni ini = TFichierIni::DepuisTexte("x.ini", texte);
  const TVue vue = Vue(ini);
  for (std::size_t i = 0; i < vue.sections.size(); ++i) {
    ASSERT_TRUE(ini.SectionExiste(vue.sections[i]));
    for (const std::string& c : vue.cles[i]) {
      ASSERT_TRUE(ini.CleExiste(vue.sections[i], c)) << c;
      (void)ini.LitEntier(vue.sections[i], c, 0);
      (void)ini.LitReel(vue.sections[i], c, 0);
    }
  }
  const TFichierIni relu = TFichierIni::DepuisTexte("x.ini", ini.Texte());
  ASSERT_EQ(Vue(relu), vue);
  ASSERT_EQ(relu.Texte(), ini.Texte());
}

TEST(IniFuzz, MutationsOctetsAleatoiresEtTroncatures) {
  TRegionalInstalle regional(',');
  std::mt19937 alea(0x1a1);
  for (std::size_t n = 0; n <= IniValide.size(); ++n) ASSERT_NO_FATAL_FAILURE(Verifie(IniValide.substr(0, n))) << n;
  for (int tour = 0; tour < 4000; ++tour) {
    const std::string t = tour % 2 ? Mute(alea, IniValide, AlphabetIni) : Aleatoire(alea, 200, AlphabetIni);
    ASSERT_NO_FATAL_FAILURE(Verifie(t)) << "tour " << tour;
  }
}

TEST(IniFuzz, EcritureQuelconqueRelueTelleQuelleSansToucherAuReste) {
  TRegionalInstalle regional(',');
  std::mt19937 alea(0x1a2);
  const std::string alphabetValeur = "=[];\r\n \tabc019,.é";
  for (int tour = 0; tour < 2000; ++tour) {
    TFichierIni ini = TFichierIni::DepuisTexte("x.ini", Mute(alea, IniValide, AlphabetIni));
    const TVue avant = Vue(ini);
    const std::string section = alea() % 2 ? "Balance" : "Nouvelle";
    const std::string cle = alea() % 2 ? "Unité" : "Clé" + std::to_string(tour % 7);
    const std::string valeur = Aleatoire(alea, 30, alphabetValeur);
    ini.EcritTexte(section, cle, valeur);
    // A value holding line breaks, '=' or brackets stays one value of one key.
    const TFichierIni relu = TFichierIni::DepuisTexte("x.ini", ini.Texte());
    std::string attendu = valeur;
    for (char& c : attendu)
      if (c == '\r' || c == '\n') c = ' ';
    const auto d = attendu.find_first_not_of(" \t");
    attendu = d == std::string::npos ? "" : attendu.substr(d, attendu.find_last_not_of(" \t") - d + 1);
    ASSERT_EQ(relu.LitTexte(section, cle, "<absent>"), attendu) << "tour " << tour;
    // Every other section is read back as it was.
    const TVue apres = Vue(relu);
    for (std::size_t i = 0; i < avant.sections.size(); ++i) {
      if (MinusculesAscii(avant.sections[i]) == MinusculesAscii(section)) continue;
      if (i > 0 && avant.sections[i].empty()) continue;
      bool trouve = false;
      for (std::size_t j = 0; j < apres.sections.size() && !trouve; ++j)
        if (apres.sections[j] == avant.sections[i] && apres.valeurs[j] == avant.valeurs[i]) trouve = true;
      ASSERT_TRUE(trouve) << "tour " << tour << " section " << avant.sections[i];
    }
  }
}

TEST(IniFuzz, LignesEnormesEtFichierDOctetsQuelconques) {
  TRegionalInstalle regional('.');
  // A line of megabytes without an end, then a good key after it.
  const std::string enorme = "[A]\r\nx=" + std::string(4 << 20, '7') + "\r\n" + std::string(1 << 20, '[') +
                             "\n[B]\r\ncle=1\r\n";
  const TFichierIni ini = TFichierIni::DepuisTexte("x.ini", enorme);
  EXPECT_EQ(ini.LitEntier("A", "x", -1), -1);  // far past any integer: the default
  EXPECT_EQ(ini.LitTexte("A", "x", "").size(), std::size_t(4 << 20));
  EXPECT_EQ(ini.LitEntier("B", "cle", 0), 1);
  // From disk, any bytes at all (the 8-bit text of the file) are read, never refused.
  const fs::path dossier = fs::current_path() / "ini_fuzz";
  fs::create_directories(dossier);
  std::mt19937 alea(0x1a3);
  for (int tour = 0; tour < 50; ++tour) {
    std::string octets(alea() % 3000, '\0');
    for (char& c : octets) c = static_cast<char>(alea() % 256);
    const std::string chemin = (dossier / "quelconque.ini").string();
    ASSERT_TRUE(EcritFichierSur(chemin, octets));
    const TFichierIni lu(chemin);
    EXPECT_TRUE(lu.Lisible());
    ASSERT_NO_FATAL_FAILURE(Verifie(Cp1252VersUtf8(octets)));
  }
}

TEST(NombresFuzz, TexteQuelconqueEtAllerRetour) {
  TRegionalInstalle regional(',');
  std::mt19937 alea(0x4b1);
  const std::string alphabet = "0123456789012345678901234567890123456789.,eE+-  infINFnaNx$kmµM";
  for (int tour = 0; tour < 30000; ++tour) {
    const std::string t = Aleatoire(alea, 40, alphabet);
    const double x = LitNombre(t);
    ASSERT_EQ(LitNombreDefaut(t, 12.5), std::isnan(x) ? 12.5 : x) << t;
    std::string d = t;
    DeveloppePrefixe(d);
  }
  // What the program writes it reads back, under either separator.
  for (int tour = 0; tour < 20000; ++tour) {
    const double x = std::ldexp(static_cast<double>(alea()) - 2147483648.0, static_cast<int>(alea() % 200) - 100);
    const char sep = tour % 2 ? ',' : '.';
    regional.Regional().SetSeparateur(sep);
    const std::string t = FormatGeneral(x, 17, 0, sep);
    ASSERT_EQ(LitNombre(t), x) << t;
  }
  for (const std::string& enorme : {std::string(1 << 20, '9'), "0," + std::string(1 << 20, '1'),
                                    "1e" + std::string(1000, '9'), std::string(1 << 16, '-') + "1"}) {
    const double x = LitNombre(enorme);
    EXPECT_TRUE(std::isnan(x) || std::isfinite(x) || std::isinf(x));
  }
}

TEST(DureesFuzz, TexteQuelconqueDonneUneDureeBorneeOuRien) {
  std::mt19937 alea(0xd0);
  for (int tour = 0; tour < 30000; ++tour) {
    const std::string t = Aleatoire(alea, 12, "0123456789::: ");
    const auto s = LitDuree(t);
    if (!s) continue;
    ASSERT_GE(*s, 0) << t;
    ASSERT_LE(*s, DureeLueMaxi) << t;  // hours beyond a day are durations too
    // Read back from its own h:mm:ss, it is the same duration.
    char texte[16];
    std::snprintf(texte, sizeof texte, "%d:%02d:%02d", *s / 3600, *s / 60 % 60, *s % 60);
    ASSERT_EQ(LitDuree(texte), s) << t;
  }
  EXPECT_FALSE(LitDuree(std::string(1 << 20, '9')));
  EXPECT_FALSE(LitDuree(std::string(1 << 20, ':')));
  EXPECT_EQ(LitDuree(std::string(1 << 20, ' ') + "1:00"), 3600);
}

}  // namespace
