// Scripted answers of the simulated platform.
#include "platform/simule/dialogue_scripte.h"

#include <stdexcept>

void TDialogueScripte::AttendConfirmation(const std::string& texte, bool oui) {
  script_.push_back({TGenre::Confirme, texte, oui, {}});
}

void TDialogueScripte::AttendSaisie(const std::string& invite, const std::string& saisie, bool valide) {
  script_.push_back({TGenre::Saisie, invite, valide, saisie});
}

void TDialogueScripte::AttendFichier(const std::string& titre, const std::string& chemin, bool valide) {
  script_.push_back({TGenre::Fichier, titre, valide, chemin});
}

std::vector<std::string> TDialogueScripte::Messages() const {
  std::vector<std::string> textes;
  for (const auto& e : journal_)
    if (e.genre == TGenre::Information || e.genre == TGenre::Erreur || e.genre == TGenre::Signale)
      textes.push_back(e.texte);
  return textes;
}

void TDialogueScripte::Information(const std::string& texte) {
  journal_.push_back({TGenre::Information, texte, {}});
  PendantBoite(texte);
}

void TDialogueScripte::Erreur(const std::string& texte) {
  journal_.push_back({TGenre::Erreur, texte, {}});
  PendantBoite(texte);
}

void TDialogueScripte::PendantBoite(const std::string& texte) {
  // A copy: the hook may replace itself.
  if (auto pendant = pendant_) pendant(texte);
}

bool TDialogueScripte::Prend(TGenre genre, const std::string& texte, TAttendu& attendu) {
  if (!script_.empty() && script_.front().genre == genre &&
      (script_.front().texte.empty() || script_.front().texte == texte)) {
    attendu = script_.front();
    script_.pop_front();
    return true;
  }
  if (permanente_ >= 0) {
    attendu = {genre, texte, permanente_ == 1, {}, true};
    return true;
  }
  const std::string message = "question inattendue : \"" + texte + "\"" +
      (script_.empty() ? std::string() : " (le script attendait \"" + script_.front().texte + "\")");
  if (echec_) echec_(message); else throw std::logic_error(message);
  return false;
}

bool TDialogueScripte::Confirme(const std::string& question) {
  TAttendu attendu;
  const bool oui = Prend(TGenre::Confirme, question, attendu) && attendu.oui;
  journal_.push_back({TGenre::Confirme, question, oui ? "oui" : "non"});
  return oui;
}

bool TDialogueScripte::Saisie(const std::string& titre, const std::string& invite, std::string& valeur) {
  TAttendu attendu;
  const bool valide = Prend(TGenre::Saisie, invite, attendu) && attendu.oui;
  if (valide && !attendu.garde) valeur = attendu.saisie;
  journal_.push_back({TGenre::Saisie, invite, valide ? valeur : std::string()});
  return valide;
}

std::optional<std::string> TDialogueScripte::ChoisitFichier(bool, const std::string& titre, const std::string& filtre,
                                                           const std::string& extension) {
  TAttendu attendu;
  const bool valide = Prend(TGenre::Fichier, titre, attendu) && attendu.oui && !attendu.garde;
  journal_.push_back({TGenre::Fichier, titre + " [" + filtre + "] " + extension, valide ? attendu.saisie : std::string()});
  if (!valide) return std::nullopt;
  return attendu.saisie;
}

bool TDialogueScripte::ToucheEnfoncee(TTouche touche) const { return touches_[static_cast<int>(touche)]; }
void TDialogueScripte::SetTouche(TTouche touche, bool enfoncee) { touches_[static_cast<int>(touche)] = enfoncee; }
