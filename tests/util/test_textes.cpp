// Greek transcription, folder paths, the Yes/No question, opening documents, case rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "faux_util.h"
#include "util/cp1252.h"
#include "util/textes.h"

namespace {

TEST(TranscritGrec, ChaqueLettreDonneSonOctetDansLeFichier) {
  struct Ligne {
    const char* lettre;
    unsigned char code;
  };
  const std::vector<Ligne> table = {
      {"α", 128}, {"β", 129}, {"γ", 134}, {"δ", 131}, {"ε", 132}, {"ζ", 149}, {"η", 135}, {"θ", 140},
      {"κ", 107}, {"λ", 136}, {"μ", 181}, {"ν", 138}, {"ξ", 147}, {"π", 139}, {"ρ", 141}, {"σ", 142},
      {"τ", 143}, {"φ", 133}, {"χ", 130}, {"ψ", 148}, {"ω", 144}, {"Γ", 152}, {"Δ", 150}, {"Θ", 155},
      {"Λ", 153}, {"Ξ", 158}, {"Π", 154}, {"Σ", 156}, {"Φ", 151}, {"Ψ", 159}, {"Ω", 157}};
  for (const auto& l : table) {
    SCOPED_TRACE(l.lettre);
    EXPECT_EQ(std::string(1, static_cast<char>(l.code)), Utf8VersCp1252(TranscritGrec(l.lettre)));
  }
}

TEST(TranscritGrec, CaracteresUnicodeProduits) {
  EXPECT_EQ("\u20AC", TranscritGrec("α"));    // 128 is the euro sign in 1252
  EXPECT_EQ("\u0081", TranscritGrec("β"));    // undefined in 1252: its own code
  EXPECT_EQ("\u201A", TranscritGrec("χ"));
  EXPECT_EQ("k", TranscritGrec("κ"));
  EXPECT_EQ("\u00B5S/cm", TranscritGrec("μS/cm"));
}

TEST(TranscritGrec, AutresCaracteresCopies) {
  const std::vector<std::string> inchanges = {
      "ι", "ο", "υ", "Α", "ς", "ϕ", "pH", "µS", "É=25 °C", "", "\xCE", "a\xCF"};
  for (const auto& t : inchanges) {
    SCOPED_TRACE(t);
    EXPECT_EQ(t, TranscritGrec(t));
  }
  EXPECT_EQ("\u2013t (s)", TranscritGrec("Δt (s)"));
  EXPECT_EQ("\u02C6=589 nm, \u0178", TranscritGrec("λ=589 nm, Ψ"));
  EXPECT_EQ("\x96t \xE9t\xE9", Utf8VersCp1252(TranscritGrec("Δt été")));
}

TEST(AvecSeparateurFinal, Chemins) {
  EXPECT_EQ("", AvecSeparateurFinal(""));
  EXPECT_EQ("/", AvecSeparateurFinal("/"));
  EXPECT_EQ("/home/u/", AvecSeparateurFinal("/home/u"));
  EXPECT_EQ("/home/u/", AvecSeparateurFinal("/home/u/"));
  EXPECT_EQ("Tracoria/", AvecSeparateurFinal("Tracoria"));
}

TEST(DossierSpecial, DossierDuShellAvecSeparateur) {
  TShellFaux shell;
  shell.dossiers[TDossierShell::Documents] = "/home/u/Documents";
  std::string dossier = "avant";
  DossierSpecial(shell, TDossierShell::Documents, dossier);
  EXPECT_EQ("/home/u/Documents/", dossier);

  shell.dossiers[TDossierShell::DonneesUtilisateur] = "/";
  DossierSpecial(shell, TDossierShell::DonneesUtilisateur, dossier);
  EXPECT_EQ("/", dossier);
}

TEST(DossierSpecial, EchecDuShellLaisseLaSortie) {
  TShellFaux shell;
  std::string dossier = "avant";
  DossierSpecial(shell, TDossierShell::Documents, dossier);
  EXPECT_EQ("avant", dossier);
  shell.dossiers[TDossierShell::Documents] = "";
  DossierSpecial(shell, TDossierShell::Documents, dossier);
  EXPECT_EQ("avant", dossier);
}

TEST(DossierDocuments, TracoriaDansLesDocumentsCreeSansTenirCompteDeLEchec) {
  TShellFaux shell;  // its CreeDossier fails
  shell.dossiers[TDossierShell::Documents] = "/home/u/Documents";
  InitialiseDossierDocuments(shell);
  EXPECT_EQ("/home/u/Documents/Tracoria/", DossierDocuments());
  EXPECT_EQ(std::vector<std::string>{"/home/u/Documents/Tracoria"}, shell.crees);
}

TEST(Confirmation, OuiSeulementPourOui) {
  TDialogueFaux dialogue;
  dialogue.reponse = true;
  EXPECT_TRUE(Confirmation(dialogue, "Perte des données courantes ?"));
  dialogue.reponse = false;
  EXPECT_FALSE(Confirmation(dialogue, "Perte des données courantes ?"));
  EXPECT_EQ(std::vector<std::string>(2, "Perte des données courantes ?"), dialogue.questions);
}

TEST(OuvreDocument, MessageSeulementEnCasDEchec) {
  TShellFaux shell;
  TDialogueFaux dialogue;
  OuvreDocument(shell, dialogue, "https://exemple.org/aide");
  EXPECT_EQ(std::vector<std::string>{"https://exemple.org/aide"}, shell.ouverts);
  EXPECT_TRUE(dialogue.informations.empty());

  shell.ouvertureReussie = false;
  OuvreDocument(shell, dialogue, "/doc/notice.pdf");
  EXPECT_EQ(std::vector<std::string>{"Impossible d'accéder à /doc/notice.pdf"}, dialogue.informations);
  EXPECT_TRUE(dialogue.erreurs.empty());
}

TEST(Casse, SeulementLesLettresAscii) {
  EXPECT_TRUE(EgalSansCasse("Unité", "UNITé"));
  EXPECT_FALSE(EgalSansCasse("Unité", "UNITÉ"));
  EXPECT_TRUE(EgalSansCasse("BuretteRS232", "burettErs232"));
  EXPECT_FALSE(EgalSansCasse("abc", "abcd"));
  EXPECT_FALSE(EgalSansCasse("a[", "A{"));  // '[' and '{' differ by the case bit but are no letters
  EXPECT_EQ("état 25 °c", MinusculesAscii("éTAT 25 °C"));
}

}  // namespace
