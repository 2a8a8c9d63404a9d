// User interaction answered from a script: each question a test expects is queued
// with its answer; a question nobody scripted is reported to the failure handler
// (a test installs one that fails the test) and answered No / Cancel.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogue.h"

class TDialogueScripte final : public TDialogueUtilisateur {
public:
  enum class TGenre { Information, Erreur, Signale, Confirme, Saisie, Fichier };
  struct TEchange {
    TGenre genre;
    std::string texte;    // message, question, or the input box's prompt
    std::string reponse;  // "oui"/"non" for questions, the typed text for inputs
  };

  // Queues the answer to the next question. `texte` empty accepts any question;
  // otherwise the question must be exactly that text.
  void AttendConfirmation(const std::string& texte, bool oui);
  // `saisie` typed then OK; `valide` false: Cancel.
  void AttendSaisie(const std::string& invite, const std::string& saisie, bool valide = true);
  // The file dialog titled `titre` (empty: any) chooses `chemin`; `valide` false: Cancel.
  void AttendFichier(const std::string& titre, const std::string& chemin, bool valide = true);
  // Answers every question the same way from now on (a headless run's --oui/--non).
  void ReponsePermanente(bool oui) { permanente_ = oui ? 1 : 0; }

  void SetEchec(std::function<void(const std::string&)> echec) { echec_ = std::move(echec); }
  // Runs while a message box is open (Information, Erreur), before the user closes
  // it: a test lets time pass behind a box there. Not for Signale, which waits on
  // nobody.
  void SetPendantBoite(std::function<void(const std::string&)> pendant) { pendant_ = std::move(pendant); }

  const std::vector<TEchange>& Journal() const { return journal_; }
  std::vector<std::string> Messages() const;  // information, error and reported texts, in order
  bool ScriptEpuise() const { return script_.empty(); }
  void VideJournal() { journal_.clear(); }

  void Information(const std::string& texte) override;
  void Erreur(const std::string& texte) override;
  void Signale(const std::string& texte) override { journal_.push_back({TGenre::Signale, texte, {}}); }
  bool Confirme(const std::string& question) override;
  bool Saisie(const std::string& titre, const std::string& invite, std::string& valeur) override;
  std::optional<std::string> ChoisitFichier(bool enregistrer, const std::string& titre, const std::string& filtre,
                                            const std::string& extension) override;
  void Bip(TBip bip) override { bips_.push_back(bip); }
  bool ToucheEnfoncee(TTouche touche) const override;

  void SetTouche(TTouche touche, bool enfoncee);
  const std::vector<TBip>& Bips() const { return bips_; }

private:
  struct TAttendu {
    TGenre genre;
    std::string texte;
    bool oui;
    std::string saisie;
    bool garde = false;  // a permanent answer keeps the input box's default text
  };
  bool Prend(TGenre genre, const std::string& texte, TAttendu& attendu);
  void PendantBoite(const std::string& texte);

  std::deque<TAttendu> script_;
  std::vector<TEchange> journal_;
  std::vector<TBip> bips_;
  int permanente_ = -1;
  bool touches_[3] = {false, false, false};
  std::function<void(const std::string&)> echec_;
  std::function<void(const std::string&)> pendant_;
};
