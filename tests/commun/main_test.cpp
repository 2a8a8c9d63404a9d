// The main() of every test program: HOME and the configuration folders point to the
// program's scratch folder, and each test case runs in a folder of its own inside it,
// because CTest runs the cases of one program at the same time and they would
// otherwise share their files (traces, copies, INI files).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
// The scratch folder CTest runs the program in, or one under the temporary folder when
// the program is run by hand from elsewhere (the source tree, say).
std::filesystem::path DossierDeTravail() {
  const auto ici = std::filesystem::current_path();
  if (ici.string().find("/scratch/") != std::string::npos) return ici;
  return std::filesystem::temp_directory_path() / "pelitrax-cas";
}

void PrepareEnvironnement() {
  const auto racine = DossierDeTravail();
  std::filesystem::create_directories(racine);
  ::setenv("HOME", racine.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (racine / "config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (racine / "data").c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
#ifdef PELITRAX_ARTEFACTS_DIR
  ::setenv("PELITRAX_ARTEFACTS", PELITRAX_ARTEFACTS_DIR, 1);
#endif
}

class TDossierParCas final : public ::testing::EmptyTestEventListener {
public:
  void OnTestStart(const ::testing::TestInfo& info) override {
    depart_ = std::filesystem::current_path();
    std::string nom = std::string(info.test_suite_name()) + "." + info.name();
    for (char& c : nom)
      if (c == '/' || c == '\\') c = '_';
    const auto dossier = DossierDeTravail() / "cas" / nom;
    std::error_code erreur;
    std::filesystem::remove_all(dossier, erreur);
    std::filesystem::create_directories(dossier);
    std::filesystem::current_path(dossier);
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    std::error_code erreur;
    std::filesystem::current_path(depart_, erreur);
  }

private:
  std::filesystem::path depart_;
};
}  // namespace

int main(int argc, char** argv) {
  PrepareEnvironnement();
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new TDossierParCas);
  return RUN_ALL_TESTS();
}
