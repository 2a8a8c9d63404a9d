// Answers to the program's Yes/No questions read from the variable PELITRAX_REPONSES
// ("non;oui": the first question gets No, the second Yes), for a test that runs the
// real program and cannot reach its message boxes. Each scripted answer is written on
// the standard output as "Question : <question> -> <réponse>". Once the list is used
// up, or without the variable, the real boxes are shown.
#pragma once

#include <deque>
#include <string>

#include "platform/dialogue.h"

class TDialogueReponses final : public TDialogueUtilisateur {
public:
  static constexpr const char* Variable = "PELITRAX_REPONSES";

  // `reponses`: the variable's text ("oui"/"non" separated by ';'), may be empty.
  TDialogueReponses(TDialogueUtilisateur& reel, const std::string& reponses);

  void Information(const std::string& texte) override { reel_.Information(texte); }
  void Erreur(const std::string& texte) override { reel_.Erreur(texte); }
  void Signale(const std::string& texte) override { reel_.Signale(texte); }
  bool Confirme(const std::string& question) override;
  bool Saisie(const std::string& titre, const std::string& invite, std::string& valeur) override {
    return reel_.Saisie(titre, invite, valeur);
  }
  std::optional<std::string> ChoisitFichier(bool enregistrer, const std::string& titre, const std::string& filtre,
                                            const std::string& extension) override {
    return reel_.ChoisitFichier(enregistrer, titre, filtre, extension);
  }
  void Bip(TBip bip) override { reel_.Bip(bip); }
  bool ToucheEnfoncee(TTouche touche) const override { return reel_.ToucheEnfoncee(touche); }

private:
  TDialogueUtilisateur& reel_;
  std::deque<bool> reponses_;
};
