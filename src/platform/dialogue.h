// User interaction: message boxes, Yes/No questions, a text input box, beeps, key state.
#pragma once

#include <optional>
#include <string>

// The system sounds, in the order of the beep codes 1..6 of the master-channel mode.
enum class TBip { Simple, Asterisque, Exclamation, Main, Question, Defaut };
enum class TTouche { Ctrl, Shift, CapsLock };

class TDialogueUtilisateur {
public:
  virtual ~TDialogueUtilisateur() = default;
  virtual void Information(const std::string& texte) = 0;
  virtual void Erreur(const std::string& texte) = 0;
  // A fault told without stopping what runs (a channel lost while acquiring): the
  // report stays on screen, but nothing waits for the user to close it.
  virtual void Signale(const std::string& texte) = 0;
  // Yes/No confirmation; true only for Yes.
  virtual bool Confirme(const std::string& question) = 0;
  // Text input box; `valeur` holds the default on entry and the typed text on OK.
  // Returns false on Cancel, leaving `valeur` unchanged.
  virtual bool Saisie(const std::string& titre, const std::string& invite, std::string& valeur) = 0;
  // A file dialog: `filtre` in the form "Tracoria (*.qw3)|*.qw3|Tableur CSV (*.csv)|*.csv",
  // `extension` the default one added to a name typed without ("QW3"). The chosen
  // path, or nothing when the user cancels.
  virtual std::optional<std::string> ChoisitFichier(bool enregistrer, const std::string& titre,
                                                    const std::string& filtre, const std::string& extension) = 0;
  virtual void Bip(TBip bip) = 0;
  virtual bool ToucheEnfoncee(TTouche touche) const = 0;
};
