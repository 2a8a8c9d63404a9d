// The single-instance check and the handing over of a file to the running copy.
#include "core/instance_unique.h"

#include <filesystem>
#include <system_error>

std::string NomService(const std::string& executable) {
  std::string nom = executable;
  const auto dossier = nom.find_last_of("/\\");
  if (dossier != std::string::npos) nom.erase(0, dossier + 1);
  const auto point = nom.find('.');
  if (point != std::string::npos) nom.erase(point);
  return nom;
}

std::string CommandeChargement(const std::string& fichier) {
  std::error_code erreur;
  const auto absolu = std::filesystem::absolute(fichier, erreur);
  return "FILE|LOAD(" + (erreur ? fichier : absolu.lexically_normal().string()) + ")";
}

TIssueInstance TInstanceUnique::VerifieInstanceUnique(const std::string& executable,
                                                      const std::vector<std::string>& arguments, int delaiMs) {
  TIssueInstance issue;
  const std::string commandeFichier = arguments.empty() || arguments.front().empty()
                                          ? std::string()
                                          : CommandeChargement(arguments.front());
  verrou_ = verrous_.Prend(NomVerrou);
  // First copy, or a lock that could not be made at all: start-up goes on.
  if (verrou_ || !verrous_.Existe(NomVerrou) || !ipc_) {
    issue.commandeDepart = commandeFichier;
    return issue;
  }
  // Without a file, the running copy is only asked to come to the front.
  const std::string commande = commandeFichier.empty() ? std::string(CommandePremierPlan) : commandeFichier;
  const auto resultat = ipc_->Execute(NomService(executable), Sujet, Item, commande, delaiMs);
  if (resultat == TLiaisonIPC::TResultat::PasDeServeur) {
    // A lock without a server answering (a copy still starting, or hung): this copy
    // runs, as when no running window could be found.
    issue.commandeDepart = commandeFichier;
    return issue;
  }
  // Accepted or refused, the running copy got the command and says what it made of it.
  issue.continuer = false;
  return issue;
}
