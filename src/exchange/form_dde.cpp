// Client and server of the link with the analysis program.
#include "exchange/form_dde.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "core/cinetique.h"
#include "core/configuration.h"
#include "core/instance_unique.h"
#include "exchange/commande_dde.h"
#include "exchange/localise_tracoria.h"
#include "exchange/texte_donnees.h"
#include "platform/ipc.h"
#include "util/textes.h"

namespace {
const std::string ImpossibleDeLancer = "Impossible de lancer Tracoria";
const std::string UnMessageALaFois = "Un message à la fois SVP";
const std::string FonctionInconnue = "RS232/Pelitrax Fonction inconnue : ";
const std::string ErreurSyntaxe = "RS232/Pelitrax : erreur syntaxe macro DDE";
const std::string EffaceDonnees = " : les données non sauvées seront effacées. Continuer ?";

// A command that cannot be carried out as written; reported as a bad command.
struct ESyntaxeMacro : std::runtime_error {
  ESyntaxeMacro() : std::runtime_error("syntaxe") {}
};

// The hourglass while a transfer runs, whatever way it ends.
class TSablier {
public:
  explicit TSablier(TVueModele& vue) : vue_(vue) { vue_.SetSablier(true); }
  ~TSablier() { vue_.SetSablier(false); }
  TSablier(const TSablier&) = delete;
  TSablier& operator=(const TSablier&) = delete;

private:
  TVueModele& vue_;
};

// The configuration file the load will read: its extension becomes ".rs2".
bool ConfigurationExiste(const std::string& nom) {
  std::error_code erreur;
  return std::filesystem::is_regular_file(NomConfiguration(nom), erreur);
}
}  // namespace

const char* CommandeEnvoi(Tenvoi envoi) {
  switch (envoi) {
    case eAdd: return "CLIP|ADD";
    case eLoad: return "CLIP|LOAD";
    case ePlus: return "CLIP|PLUS";
    case eFocus: return "FOCUS";
  }
  return "";
}

const char* MessageRefus(Tenvoi envoi) { return envoi == eFocus ? "?" : "Transfert non exécuté"; }

TFormDDE::TFormDDE(TCinetiqueMain& moteur, std::string cheminProgramme)
    : moteur_(moteur), cheminProgramme_(std::move(cheminProgramme)) {
  LitConfiguration = [this](const std::string& nom) { return LitConfig(moteur_, nom); };
  SauveConfiguration = [this](const std::string& nom) { return SauveConfig(moteur_, nom); };
}

TFormDDE::~TFormDDE() {
  if (serveurActif_ && moteur_.Plateforme().ipc) moteur_.Plateforme().ipc->ArreteEcoute();
  // The engine may outlive this object: its hook must not call into it any more.
  if (crochetBranche_) moteur_.Dialogues.EnvoieTableauAnalyse = nullptr;
}

std::string TFormDDE::NomService() const {
  const std::size_t barre = cheminProgramme_.find_last_of("/\\");
  std::string nom = barre == std::string::npos ? cheminProgramme_ : cheminProgramme_.substr(barre + 1);
  return nom.substr(0, nom.find('.'));
}

bool TFormDDE::FormCreate() {
  TPlateforme& P = moteur_.Plateforme();
  cheminTracoria_ = LocaliseTracoria(P.reglages, P.shell);
  moteur_.Dialogues.EnvoieTableauAnalyse = [this] { EnvoieTableauAnalyse(); };
  crochetBranche_ = true;
  serveurActif_ = false;
  if (P.ipc && !NomService().empty())
    serveurActif_ = P.ipc->Ecoute(NomService(), SujetDDE, [this](const std::string& octets) {
      return RecoitCommande(octets);
    });
  return serveurActif_;
}

void TFormDDE::Attend(int ms) {
  TBoucleEvenements& boucle = moteur_.Plateforme().boucle;
  const std::int64_t fin = boucle.Millisecondes() + ms;
  for (std::int64_t reste = ms; reste > 0 && !boucle.QuitteDemande(); reste = fin - boucle.Millisecondes())
    boucle.TraiteEvenements(static_cast<int>(reste));
}

bool TFormDDE::Execute(Tenvoi envoi) {
  TPlateforme& P = moteur_.Plateforme();
  // One conversation at a time: a transfer asked for during the waits of another
  // (the end of an acquisition, a click) is refused, as a busy link refuses it.
  if (envoiEnCours_) {
    P.dialogue.Information(MessageRefus(envoi));
    return false;
  }
  envoiEnCours_ = true;
  struct TFin {
    bool& drapeau;
    ~TFin() { drapeau = false; }
  } fin{envoiEnCours_};
  try {
    if (!P.verrous.Existe(VerrouTracoria) && !cheminTracoria_.empty() && P.shell.Ouvre(cheminTracoria_))
      Attend(AttenteDemarrageMs);
    if (!P.ipc) throw std::runtime_error("pas de liaison");
    const std::string commande = CommandeEnvoi(envoi);
    TLiaisonIPC::TResultat r = P.ipc->Execute(ServiceTracoria, SujetDDE, ItemDDE, commande, DelaiReponseMs);
    if (r == TLiaisonIPC::TResultat::PasDeServeur) {
      Attend(AttenteSecondNomMs);
      r = P.ipc->Execute(ServiceTracoriaBis, SujetDDE, ItemDDE, commande, DelaiReponseMs);
    }
    if (r == TLiaisonIPC::TResultat::PasDeServeur) {
      P.dialogue.Information(ImpossibleDeLancer);
      return false;
    }
    if (r == TLiaisonIPC::TResultat::Refuse) {
      P.dialogue.Information(MessageRefus(envoi));
      return false;
    }
    return true;
  } catch (...) {
    P.dialogue.Information(ImpossibleDeLancer);
    return false;
  }
}

bool TFormDDE::EnvoieDonnees(bool viaDDE, bool nouvellePage) {
  TPlateforme& P = moteur_.Plateforme();
  // The clipboard the analysis program is reading stays as it is until it is done.
  if (viaDDE && envoiEnCours_) {
    P.dialogue.Information(MessageRefus(nouvellePage ? eAdd : eLoad));
    return false;
  }
  TSablier sablier(moteur_.Vue());
  P.pressePapiers.SetTexte(TexteDonnees(moteur_, cheminProgramme_));
  if (!viaDDE) return true;
  return Execute(nouvellePage ? eAdd : eLoad);
}

void TFormDDE::CopieDonnees() {
  EnvoieDonnees(false, true);
  moteur_.dataSaved = true;
}

bool TFormDDE::TransfereDonnees(bool nouvellePageChoisie) {
  const bool ok = EnvoieDonnees(true, nouvellePageChoisie && moteur_.PagePermise);
  moteur_.PagePermise = true;
  // Data the analysis program never got are still unsaved: the closing question
  // keeps protecting them.
  if (ok) moteur_.dataSaved = true;
  return ok;
}

void TFormDDE::EnvoieTableauAnalyse() {
  if (EnvoieDonnees(true, false)) moteur_.dataSaved = true;
}

bool TFormDDE::RecoitCommande(const std::string& octets) {
  // Bytes that are no text (too long, control bytes) are no command: refused, and
  // nobody is bothered with a box for them.
  const auto lignes = LignesCommande(octets);
  if (!lignes) return false;
  return ExecuteMacro(*lignes);
}

// Every answer goes back at once: what would wait for a person (a box, a question,
// the loading it decides) comes after the transaction, from the loop.
bool TFormDDE::ExecuteMacro(const std::vector<std::string>& lignes) {
  if (lignes.size() != 1) {
    DitApres(true, UnMessageALaFois);
    return false;
  }
  const std::string& ligne = lignes.front();
  try {
    const TCommandeDDE commande = DecoupeCommande(ligne);
    const std::string& verbe = commande.verbe;
    if (EgalSansCasse(verbe, "CONFIG|LOAD") || EgalSansCasse(verbe, "FILE|LOAD"))
      return Charge(ligne, commande.argument);
    if (EgalSansCasse(verbe, "CONFIG|SAVE") || EgalSansCasse(verbe, "FILE|SAVE")) {
      // Without a name the file would be ".rs2" in whatever folder is current.
      if (commande.argument.empty() || !SauveConfiguration) throw ESyntaxeMacro();
      const std::string nom = commande.argument;
      return Differe([this, nom] { SauveConfiguration(nom); });
    }
    if (EgalSansCasse(verbe, "FOCUS")) {
      moteur_.PagePermise = false;
      if (PrendFocus) PrendFocus();
      return true;
    }
    // Another copy of this program started without a file: the transfer state stays.
    if (ligne == TInstanceUnique::CommandePremierPlan) {
      if (PrendFocus) PrendFocus();
      return true;
    }
    if (EgalSansCasse(verbe, "GETDATA")) return DemandeAcquisition(ligne);
    DitApres(true, FonctionInconnue + ligne);
    return false;
  } catch (...) {
    DitApres(true, ErreurSyntaxe);
    return false;
  }
}

void TFormDDE::DitApres(bool erreur, const std::string& texte) {
  // One box at a time: a flood of bad commands gives one box, not a pile of them.
  if (boitePrevue_) return;
  boitePrevue_ = true;
  std::weak_ptr<int> vivant = vivant_;
  moteur_.Plateforme().boucle.Poste([this, vivant, erreur, texte] {
    if (!vivant.lock()) return;
    TDialogueUtilisateur& dialogue = moteur_.Plateforme().dialogue;
    if (erreur) dialogue.Erreur(texte);
    else dialogue.Information(texte);
    if (vivant.lock()) boitePrevue_ = false;
  });
}

bool TFormDDE::Differe(std::function<void()> action) {
  // One load or save at a time; another one meanwhile is refused.
  if (actionPrevue_) return false;
  actionPrevue_ = true;
  std::weak_ptr<int> vivant = vivant_;
  moteur_.Plateforme().boucle.Poste([this, vivant, action = std::move(action)] {
    if (!vivant.lock()) return;
    try {
      action();
    } catch (...) {
      if (vivant.lock()) DitApres(true, ErreurSyntaxe);
    }
    if (vivant.lock()) actionPrevue_ = false;
  });
  return true;
}

bool TFormDDE::DonneesNonSauvees() const { return moteur_.Graphe->NbrePoints > 0 && !moteur_.dataSaved; }

bool TFormDDE::AcquisitionEnCours(const std::string& ligne) {
  if (moteur_.EtatAcq != eaEnCours) return false;
  DitApres(false, "Acquisition en cours : la commande " + ligne + " est refusée");
  return true;
}

bool TFormDDE::Charge(const std::string& ligne, const std::string& nom) {
  if (nom.empty() || !LitConfiguration) throw ESyntaxeMacro();
  // Loading prepares a new acquisition, which empties the table.
  if (AcquisitionEnCours(ligne)) return false;
  // A file that is not there would load nothing.
  if (!ConfigurationExiste(nom)) return false;
  return Differe([this, ligne, nom] {
    // Looked at again: an acquisition may have started since the answer.
    if (AcquisitionEnCours(ligne)) return;
    if (DonneesNonSauvees() &&
        !Confirmation(moteur_.Plateforme().dialogue, "Chargement de la configuration " + nom + EffaceDonnees))
      return;
    LitConfiguration(nom);
  });
}

bool TFormDDE::DemandeAcquisition(const std::string& ligne) {
  if (AcquisitionEnCours(ligne)) return false;
  moteur_.PagePermise = true;
  // Prepared after the transaction, as the window message of the engine is.
  std::weak_ptr<int> vivant = vivant_;
  moteur_.Plateforme().boucle.Poste([this, vivant] {
    if (vivant.lock()) PrepareAcquisition();
  });
  return true;
}

void TFormDDE::PrepareAcquisition() {
  // The state is looked at again: an acquisition may have started, or points may
  // have been recorded, since the command was accepted.
  if (AcquisitionEnCours("GETDATA")) return;
  if (DonneesNonSauvees() &&
      !Confirmation(moteur_.Plateforme().dialogue, "Tracoria demande une nouvelle acquisition" + EffaceDonnees))
    return;
  moteur_.DemandeDonnees();
}
