// Scripted answers to the program's questions.
#include "reponses_scriptees.h"

#include <cstdio>

#include "util/textes.h"

TDialogueReponses::TDialogueReponses(TDialogueUtilisateur& reel, const std::string& reponses) : reel_(reel) {
  std::string mot;
  auto ajoute = [this, &mot] {
    if (EgalSansCasse(mot, "oui")) reponses_.push_back(true);
    else if (EgalSansCasse(mot, "non")) reponses_.push_back(false);
    mot.clear();
  };
  for (const char c : reponses) {
    if (c == ';' || c == ',') ajoute();
    else if (c != ' ') mot += c;
  }
  ajoute();
}

bool TDialogueReponses::Confirme(const std::string& question) {
  if (reponses_.empty()) return reel_.Confirme(question);
  const bool oui = reponses_.front();
  reponses_.pop_front();
  std::printf("Question : %s -> %s\n", question.c_str(), oui ? "oui" : "non");
  std::fflush(stdout);
  return oui;
}
