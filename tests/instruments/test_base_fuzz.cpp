// The device database loaded from damaged files: the shipped RS232.INI mutated,
// truncated, grown with huge lines, or random bytes. Loading never crashes; it either
// stops with the message naming the file, or gives a usable database: every model
// found by its name, names unique, the list sorted, the USB meters there. The seeds
// are fixed and the rounds bounded, so a failure replays exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "aides_instruments.h"
#include "instruments/base_appareils.h"
#include "platform/simule/boucle_simulee.h"
#include "util/fichiers.h"
#include "util/ini.h"
#include "util/textes.h"

namespace fs = std::filesystem;

namespace {

class BaseAppareilsFuzz : public AvecRegional {
protected:
  void SetUp() override {
    AvecRegional::SetUp();
    dossier = fs::current_path() / "base_fuzz" / testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dossier);
    fs::create_directories(dossier);
    livree = LitFichier(std::string(PELITRAX_SOURCE_DIR) + "/share/RS232.INI").value_or("");
    ASSERT_GT(livree.size(), 1000u);
  }

  // Loads `octets` (as on disk) and checks what any load must give.
  void Verifie(const std::string& octets) {
    const std::string chemin = (dossier / "RS232.INI").string();
    // Written plainly: a safe write syncs the disk, a thousand times too slow here.
    std::ofstream(chemin, std::ios::binary | std::ios::trunc) << octets;
    TBaseAppareils b(boucle, dossier.string());
    std::string message;
    const bool charge = b.ChargeAppareils(message);
    const TFichierIni relu(chemin);
    std::vector<std::string> index = relu.Valeurs(TBaseAppareils::SectionIndex);
    std::erase(index, std::string());
    ASSERT_EQ(charge, !index.empty()) << message;
    if (!charge) {
      ASSERT_EQ(message, "Impossible : " + chemin + " non trouvé");
      ASSERT_TRUE(b.ListeAppareils.empty());
      return;
    }
    ASSERT_TRUE(message.empty());
    ASSERT_EQ(b.ListeAppareils.size(), index.size() + 5);
    ASSERT_NE(b.AppareilPH, nullptr);
    ASSERT_NE(b.AppareilTension, nullptr);
    ASSERT_NE(b.AppareilConductivite, nullptr);
    std::set<std::string> vus;
    for (std::size_t i = 0; i < b.ListeAppareils.size(); ++i) {
      const Tappareil& a = *b.ListeAppareils[i];
      if (i > 0) {
        ASSERT_LE(b.ListeAppareils[i - 1]->NomAppareil, a.NomAppareil);
      }
      ASSERT_TRUE(vus.insert(MinusculesAscii(a.NomAppareil)).second) << a.NomAppareil;
      ASSERT_EQ(b.ChercheAppareil(a.NomAppareil), &a);
      (void)a.FormatApp(1.5);
      (void)a.NomValeurUniteCourante();
    }
    // The same file offered for import reads without a stop, model for model.
    b.LitFichierAppareils(chemin);
    ASSERT_EQ(b.ListeAppareilsFichier.size(), index.size());
  }

  TBoucleSimulee boucle;
  fs::path dossier;
  std::string livree;
};

TEST_F(BaseAppareilsFuzz, FichierLivreMuteEtTronque) {
  std::mt19937 alea(0xba5e);
  const std::string alphabet = "[]=;\r\n \t0123456789$-.,ABCINDEXindex\xe9\xb5\xb0";
  for (std::size_t n = 0; n <= livree.size(); n += 1 + livree.size() / 60)
    ASSERT_NO_FATAL_FAILURE(Verifie(livree.substr(0, n))) << "tronqué à " << n;
  for (int tour = 0; tour < 250; ++tour) {
    std::string t = livree;
    const int n = 1 + static_cast<int>(alea() % 30);
    for (int i = 0; i < n; ++i) {
      const std::size_t p = alea() % t.size();
      switch (alea() % 4) {
        case 0: t[p] = alphabet[alea() % alphabet.size()]; break;
        case 1: t[p] = static_cast<char>(alea() % 256); break;
        case 2: t.erase(p, 1 + alea() % 200); break;
        default: t.insert(p, t.substr(alea() % t.size(), alea() % 300)); break;
      }
    }
    ASSERT_NO_FATAL_FAILURE(Verifie(t)) << "tour " << tour;
  }
}

TEST_F(BaseAppareilsFuzz, LignesEnormesEtOctetsQuelconques) {
  std::mt19937 alea(0xba5f);
  // A model whose every value is a megabyte long, and an index of thousands of
  // entries naming sections that do not exist.
  std::string enorme = "[Index]\r\n0=Géant\r\n";
  for (int i = 1; i < 1000; ++i) enorme += std::to_string(i) + "=Absent " + std::to_string(i % 50) + "\r\n";
  enorme += "[Géant]\r\n";
  for (const char* cle : {"Nom", "Symbole", "Unité", "Demande", "Maxi", "Precision", "Delai", "Com"})
    enorme += std::string(cle) + "=" + std::string(1 << 20, '9') + "\r\n";
  ASSERT_NO_FATAL_FAILURE(Verifie(enorme));
  ASSERT_NO_FATAL_FAILURE(Verifie("[Index]\r\n0=" + std::string(1 << 20, 'x')));
  for (int tour = 0; tour < 100; ++tour) {
    std::string t = "[Index]\r\n0=A\r\n";
    t.resize(t.size() + alea() % 2000);
    for (std::size_t i = 14; i < t.size(); ++i) t[i] = static_cast<char>(alea() % 256);
    ASSERT_NO_FATAL_FAILURE(Verifie(t)) << "tour " << tour;
  }
}

}  // namespace
