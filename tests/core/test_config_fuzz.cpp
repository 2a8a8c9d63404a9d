// Configuration files damaged in every way (mutations of files the program wrote,
// truncations, huge lines, random bytes) loaded into one engine, file after file. A
// file refused changes nothing, neither the set-up nor any model of the database; a
// file loaded leaves a set-up that can run; every message names the file. The seeds
// are fixed and the rounds bounded, so a failure replays exactly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "moteur_essai.h"
#include "util/ini.h"

namespace fs = std::filesystem;

namespace {

// The whole of what a configuration may change: the set-up and every model.
std::string Etat(TMoteurEssai& e) {
  TCinetiqueMain& m = e.M();
  std::string t = std::to_string(m.NbreVoies()) + " " + std::to_string(m.DeltatMesure) + " " +
                  std::to_string(m.DureeMesure) + " " + std::to_string(m.ModeAcq) + " " + std::to_string(m.CodeBeep) +
                  " " + std::to_string(m.Graphe->AbscisseMaitre) + " " + std::to_string(m.EtatAcq) + "\n";
  for (int i = 0; i < m.NbreVoies(); ++i) t += (m.Voie(i) ? m.Voie(i)->NomAppareil : "<aucun>") + "\n";
  TFichierIni ini = TFichierIni::DepuisTexte("etat.ini", "");
  for (const auto& a : e.base.ListeAppareils) a->EcritIni(ini);
  return t + ini.Texte();
}

class ConfigFuzz : public ::testing::Test {
protected:
  ConfigFuzz() : dossier(DossierDuTest()), e(dossier) {}

  // Valid files as the program writes them: three channels, and the keyboard mode.
  std::vector<std::string> Valides() {
    std::vector<std::string> v;
    e.Voies({THERMO, PH, CONDUCTI});
    e.App(PH)->ComNumber = 7;
    e.M().DeltatMesure = 5;
    EXPECT_TRUE(SauveConfig(e.M(), (dossier / "a.rs2").string()));
    v.push_back(LitOctets(dossier / "a.rs2"));
    e.Voies({PH}, maClavier);
    EXPECT_TRUE(SauveConfig(e.M(), (dossier / "b.rs2").string()));
    v.push_back(LitOctets(dossier / "b.rs2"));
    e.p.dialogue.VideJournal();
    return v;
  }

  void Verifie(const std::string& octets) {
    const fs::path fichier = dossier / "essai.rs2";
    // Written plainly: a safe write syncs the disk, a thousand times too slow here.
    std::ofstream(fichier, std::ios::binary | std::ios::trunc) << octets;
    const std::string avant = Etat(e);
    e.p.dialogue.VideJournal();
    const bool charge = LitConfig(e.M(), fichier.string());
    const std::vector<std::string> messages = e.p.dialogue.Messages();
    for (const std::string& m : messages) ASSERT_EQ(m.rfind("Configuration " + fichier.string() + " :\n", 0), 0u) << m;
    ASSERT_EQ(e.base.ListeAppareils.size(), 3u + 5u);
    for (const std::string& nom : {PH, THERMO, CONDUCTI}) ASSERT_NE(e.App(nom), nullptr) << nom;
    ++(charge ? charges : refus);
    if (!charge) {
      ASSERT_EQ(Etat(e), avant);
      ASSERT_EQ(messages.size(), 1u);
      return;
    }
    TCinetiqueMain& m = e.M();
    ASSERT_GE(m.NbreVoies(), 1);
    ASSERT_LE(m.NbreVoies(), TCinetiqueMain::NbreVoiesMax);
    for (int i = 0; i < m.NbreVoies(); ++i) ASSERT_NE(m.Voie(i), nullptr) << i;
    ASSERT_GE(m.DeltatMesure, 1);
    ASSERT_GE(m.DureeMesure, 0);
    ASSERT_LE(messages.size(), 1u);
  }

  fs::path dossier;
  TMoteurEssai e;
  int charges = 0, refus = 0;
};

std::string Mute(std::mt19937& alea, std::string t) {
  static const std::string alphabet = "[]=;\r\n \t0123456789-,.eENomCOMNvoiesModeDeltat\xe9\xe8";
  const int n = 1 + static_cast<int>(alea() % 8);
  for (int i = 0; i < n && !t.empty(); ++i) {
    const std::size_t p = alea() % t.size();
    switch (alea() % 5) {
      case 0: t[p] = alphabet[alea() % alphabet.size()]; break;
      case 1: t[p] = static_cast<char>(alea() % 256); break;
      case 2: t.erase(p, 1 + alea() % 20); break;
      case 3: t.insert(p, std::to_string(static_cast<int>(alea()) % 100000)); break;
      default: t.insert(p, t.substr(alea() % t.size(), alea() % 60)); break;
    }
  }
  return t;
}

TEST_F(ConfigFuzz, FichiersEcritsMutesEtTronques) {
  const std::vector<std::string> valides = Valides();
  std::mt19937 alea(0xc0f);
  for (const std::string& v : valides)
    for (std::size_t n = 0; n <= v.size(); n += 1 + v.size() / 80)
      ASSERT_NO_FATAL_FAILURE(Verifie(v.substr(0, n))) << "tronqué à " << n;
  for (int tour = 0; tour < 600; ++tour)
    ASSERT_NO_FATAL_FAILURE(Verifie(Mute(alea, valides[alea() % valides.size()]))) << "tour " << tour;
  // Both outcomes were met many times, so both sets of checks ran.
  EXPECT_GT(charges, 100);
  EXPECT_GT(refus, 20);
}

TEST_F(ConfigFuzz, LignesEnormesEtOctetsQuelconques) {
  const std::vector<std::string> valides = Valides();
  const std::string m = std::string(1 << 20, '9');
  for (const std::string& t :
       {"[Acquisition]\r\nNvoies=" + m + "\r\nNom0=" + PH + "\r\nDeltat=" + m + "\r\nDuree=-" + m + "\r\n",
        "[Acquisition]\r\nNom=" + PH + "\r\nNvoies=9\r\n[" + PH + "]\r\nMaxi=" + m + "\r\nUnité=" + m + "\r\n",
        "[Acquisition]\r\nNom0=" + std::string(1 << 20, 'x') + "\r\n", valides[0] + std::string(4 << 20, '['),
        valides[1] + "\r\n[Clavier]\r\nMini=" + m + "\r\nMaxi=-" + m + "\r\n"})
    ASSERT_NO_FATAL_FAILURE(Verifie(t));
  std::mt19937 alea(0xc10);
  for (int tour = 0; tour < 100; ++tour) {
    std::string t(alea() % 600, '\0');
    for (char& c : t) c = static_cast<char>(alea() % 256);
    ASSERT_NO_FATAL_FAILURE(Verifie(alea() % 2 ? t : valides[0] + t)) << "tour " << tour;
  }
}

}  // namespace
