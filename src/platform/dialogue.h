// User interaction: message boxes, Yes/No questions, a text input box, beeps, key state.
#pragma once

#include <string>

enum class TBip { Defaut, Asterisque, Exclamation, Question, Erreur };
enum class TTouche { Ctrl, Shift, CapsLock };

class TDialogueUtilisateur {
public:
  virtual ~TDialogueUtilisateur() = default;
  virtual void Information(const std::string& texte) = 0;
  virtual void Erreur(const std::string& texte) = 0;
  // Yes/No confirmation; true only for Yes.
  virtual bool Confirme(const std::string& question) = 0;
  // Text input box; `valeur` holds the default on entry and the typed text on OK.
  // Returns false on Cancel, leaving `valeur` unchanged.
  virtual bool Saisie(const std::string& titre, const std::string& invite, std::string& valeur) = 0;
  virtual void Bip(TBip bip) = 0;
  virtual bool ToucheEnfoncee(TTouche touche) const = 0;
};
