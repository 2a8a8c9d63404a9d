// The user's side of a headless run: messages go to the standard error, questions
// are answered by the run's --oui or --non and said with their answer.
#pragma once

#include <string>

#include "platform/dialogue.h"

class TDialogueConsole final : public TDialogueUtilisateur {
public:
  explicit TDialogueConsole(bool oui) : oui_(oui) {}
  void Information(const std::string& texte) override;
  void Erreur(const std::string& texte) override;
  // Nothing waits on a console: as an error.
  void Signale(const std::string& texte) override { Erreur(texte); }
  bool Confirme(const std::string& question) override;
  bool Saisie(const std::string& titre, const std::string& invite, std::string& valeur) override;
  std::optional<std::string> ChoisitFichier(bool, const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void Bip(TBip) override {}
  bool ToucheEnfoncee(TTouche) const override { return false; }
  int Erreurs() const { return erreurs_; }

private:
  bool oui_;
  int erreurs_ = 0;
};
