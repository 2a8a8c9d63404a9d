// Messages and questions of a headless run, on the standard error.
#include "cli/dialogue_console.h"

#include <cstdio>

namespace {
// A message may hold CR LF; the console shows each line on its own.
std::string SurUneLigne(std::string texte) {
  for (std::size_t i = 0; (i = texte.find("\r\n", i)) != std::string::npos;) texte.replace(i, 2, " ");
  return texte;
}
}  // namespace

void TDialogueConsole::Information(const std::string& texte) {
  std::fprintf(stderr, "\n%s\n", SurUneLigne(texte).c_str());
}

void TDialogueConsole::Erreur(const std::string& texte) {
  ++erreurs_;
  std::fprintf(stderr, "\nErreur : %s\n", SurUneLigne(texte).c_str());
}

bool TDialogueConsole::Confirme(const std::string& question) {
  std::fprintf(stderr, "\n%s %s\n", SurUneLigne(question).c_str(), oui_ ? "oui" : "non");
  return oui_;
}

bool TDialogueConsole::Saisie(const std::string& titre, const std::string& invite, std::string& valeur) {
  std::fprintf(stderr, "\n%s : %s %s\n", titre.c_str(), invite.c_str(), oui_ ? valeur.c_str() : "(annulé)");
  return oui_;
}
