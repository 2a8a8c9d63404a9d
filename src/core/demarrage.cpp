// The start-up sequence shared by the desktop program and the headless tool.
#include "core/demarrage.h"

#include "instruments/unite.h"
#include "util/cp1252.h"
#include "util/textes.h"

TDemarrage Demarre(TPlateforme& plateforme, const std::string& dossierProgramme) {
  TDemarrage d;
  InitialiseDossierDocuments(plateforme.shell);
  d.dossierDocuments = DossierDocuments();
  ConstruitUnitesConnues();
  d.unites = UnitesConnues().size();
  d.adaptateurs = ChargeAdaptateurs(plateforme);
  d.base = std::make_unique<TBaseAppareils>(plateforme.boucle,
                                            dossierProgramme.empty() ? plateforme.shell.DossierProgramme() : dossierProgramme);
  d.base->SetDossierPartage(plateforme.shell.DossierPartage());
  std::string message;
  if (!d.base->ChargeAppareils(message)) d.messageArret = message;
  return d;
}

std::vector<std::string> RapportDemarrage(const TDemarrage& d) {
  std::vector<std::string> lignes;
  lignes.push_back("Dossier des documents : " + d.dossierDocuments);
  lignes.push_back("Unités connues : " + std::to_string(d.unites));
  auto etat = [](bool fichier, bool charge) -> std::string {
    return charge ? "chargée" : fichier ? "non chargée (point d'entrée manquant)" : "absente";
  };
  const TAdaptateursBibliotheques& bibliotheques = *d.adaptateurs;
  lignes.push_back("Bibliothèque des pH-mètres USB : " + etat(bibliotheques.UsbTrouvee(), bibliotheques.UsbCharge()));
  if (bibliotheques.UsbCharge())
    for (const TMetreUSB& m : bibliotheques.MetresConnus())
      lignes.push_back("  " + NomMetreUSB(m.ident) + " (" + std::to_string(m.ident) + ") " + Cp1252VersUtf8(m.chemin) +
                       (m.connecte ? " : connecté" : " : non connecté"));
  lignes.push_back("Bibliothèque du boîtier d'interface : " + etat(bibliotheques.BoitierTrouve(), bibliotheques.BoitierCharge()));
  if (bibliotheques.BoitierCharge())
    lignes.push_back(std::string("  Boîtier : ") + (bibliotheques.BoitierPresent() ? "présent" : "absent"));
  if (!d.messageArret.empty()) {
    lignes.push_back(d.messageArret);
    return lignes;
  }
  const TBaseAppareils& b = *d.base;
  lignes.push_back("Base d'appareils : " + b.NomFichierIni() + " (" + std::to_string(b.ListeAppareils.size()) + " modèles)");
  // Until the lab saves its own file, the models come from the shipped one.
  if (b.FichierLu() != b.NomFichierIni())
    lignes.push_back("Base d'appareils lue dans : " +
                     (b.FichierLu().empty() ? std::string("la base embarquée dans le programme") : b.FichierLu()));
  for (const auto& a : b.ListeAppareils) lignes.push_back("  " + a->NomAppareil);
  const TburetteRS232& burette = b.Burette();
  lignes.push_back("Burette : COM" + std::to_string(burette.ComNumber) + ", " + std::to_string(burette.Baud) + " bauds, " +
                   "capacité " + burette.FormatApp(burette.ValMaxi) + " " + burette.UniteGrandeur);
  return lignes;
}
