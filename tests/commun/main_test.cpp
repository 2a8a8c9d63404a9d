// The main() of every test program: each test case runs in a folder of its own inside
// the program's scratch folder, because CTest runs the cases of one program at the
// same time and they would otherwise share their files (traces, copies, INI files).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {
class TDossierParCas final : public ::testing::EmptyTestEventListener {
public:
  void OnTestStart(const ::testing::TestInfo& info) override {
    depart_ = std::filesystem::current_path();
    std::string nom = std::string(info.test_suite_name()) + "." + info.name();
    for (char& c : nom)
      if (c == '/' || c == '\\') c = '_';
    const auto dossier = depart_ / "cas" / nom;
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
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new TDossierParCas);
  return RUN_ALL_TESTS();
}
