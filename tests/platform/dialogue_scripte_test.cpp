// Scripted answers: a scripted question gets its answer, an unscripted one fails.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/simule/dialogue_scripte.h"

TEST(DialogueScripte, QuestionsScripteesDansLOrdre) {
  TDialogueScripte d;
  d.AttendConfirmation("Données non sauvées, quitter ?", false);
  d.AttendConfirmation("", true);
  d.AttendSaisie("Texte du repère", "pic");
  EXPECT_FALSE(d.Confirme("Données non sauvées, quitter ?"));
  EXPECT_TRUE(d.Confirme("Suppression des données"));
  std::string v = "défaut";
  EXPECT_TRUE(d.Saisie("Repère", "Texte du repère", v));
  EXPECT_EQ(v, "pic");
  EXPECT_TRUE(d.ScriptEpuise());
  ASSERT_EQ(d.Journal().size(), 3u);
  EXPECT_EQ(d.Journal()[1].reponse, "oui");
}

TEST(DialogueScripte, QuestionInattendueEchoue) {
  TDialogueScripte d;
  EXPECT_THROW(d.Confirme("Perte des données courantes ?"), std::logic_error);
  std::string signale;
  d.SetEchec([&](const std::string& m) { signale = m; });
  d.AttendConfirmation("autre question", true);
  EXPECT_FALSE(d.Confirme("Perte des données courantes ?"));  // answered No
  EXPECT_NE(signale.find("Perte des données courantes ?"), std::string::npos);
}

TEST(DialogueScripte, SaisieAnnuleeGardeLaValeur) {
  TDialogueScripte d;
  d.AttendSaisie("", "ignoré", false);
  std::string v = "1,5";
  EXPECT_FALSE(d.Saisie("t", "invite", v));
  EXPECT_EQ(v, "1,5");
}

TEST(DialogueScripte, ReponsePermanenteEtMessages) {
  TDialogueScripte d;
  d.ReponsePermanente(true);
  EXPECT_TRUE(d.Confirme("n'importe quoi"));
  std::string v = "défaut";
  EXPECT_TRUE(d.Saisie("t", "invite", v));
  EXPECT_EQ(v, "défaut");
  d.Erreur("Nombre mal écrit");
  d.Information("fini");
  EXPECT_EQ(d.Messages(), (std::vector<std::string>{"Nombre mal écrit", "fini"}));
}
