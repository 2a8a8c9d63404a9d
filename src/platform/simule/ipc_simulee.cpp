// In-memory servers of the simulated inter-process link.
#include "platform/simule/ipc_simulee.h"

#include <algorithm>
#include <map>
#include <memory>

#include "util/textes.h"

namespace {
std::map<std::string, TLiaisonIPCSimulee*>& Serveurs() {
  static std::map<std::string, TLiaisonIPCSimulee*> serveurs;
  return serveurs;
}

std::string Cle(const std::string& service, const std::string& sujet) {
  return MinusculesAscii(service) + '\n' + MinusculesAscii(sujet);
}

// What the client waits on; shared with the posted handling, which may run after
// the client gave up.
struct TReponse {
  bool donnee = false;
  bool acceptee = false;
};
}  // namespace

TLiaisonIPCSimulee::TLiaisonIPCSimulee(TBoucleSimulee& boucle) : boucle_(boucle) {}

TLiaisonIPCSimulee::~TLiaisonIPCSimulee() { ArreteEcoute(); }

bool TLiaisonIPCSimulee::Ecoute(const std::string& service, const std::string& sujet,
                                std::function<bool(const std::string& commande)> executer) {
  const std::string cle = Cle(service, sujet);
  if (service.empty() || !executer) return false;
  auto& serveurs = Serveurs();
  auto it = serveurs.find(cle);
  if (it != serveurs.end() && it->second != this) return false;
  if (!cle_.empty() && cle_ != cle) ArreteEcoute();
  serveurs[cle] = this;
  cle_ = cle;
  executer_ = std::move(executer);
  return true;
}

void TLiaisonIPCSimulee::ArreteEcoute() {
  if (cle_.empty()) return;
  auto& serveurs = Serveurs();
  auto it = serveurs.find(cle_);
  if (it != serveurs.end() && it->second == this) serveurs.erase(it);
  cle_.clear();
  executer_ = nullptr;
}

TLiaisonIPC::TResultat TLiaisonIPCSimulee::Execute(const std::string& service, const std::string& sujet,
                                                   const std::string& item, const std::string& commande,
                                                   int delaiMs) {
  auto& serveurs = Serveurs();
  auto it = serveurs.find(Cle(service, sujet));
  if (it == serveurs.end()) {
    envois_.push_back({service, sujet, item, commande, TResultat::PasDeServeur});
    return TResultat::PasDeServeur;
  }
  TLiaisonIPCSimulee* serveur = it->second;
  TBoucleSimulee& boucleServeur = serveur->boucle_;
  auto reponse = std::make_shared<TReponse>();
  // The command travels as the real one does: its bytes up to the first zero.
  const std::string recue = commande.substr(0, commande.find('\0'));
  const std::string cle = serveur->cle_;
  auto traite = [reponse, recue, cle] {
    // The server may have stopped (or gone) since the command was sent.
    auto trouve = Serveurs().find(cle);
    if (trouve == Serveurs().end()) {
      reponse->donnee = true;
      return;
    }
    TLiaisonIPCSimulee* s = trouve->second;
    s->recues_.push_back(recue);
    auto executer = s->executer_;
    reponse->acceptee = executer && executer(recue);
    reponse->donnee = true;
  };
  if (serveur->delaiTraitement_ > 0)
    boucleServeur.Planifie(boucleServeur.Millisecondes() + serveur->delaiTraitement_, traite);
  else
    boucleServeur.Poste(traite);

  const std::int64_t fin = boucle_.Millisecondes() + std::max(delaiMs, 0);
  while (!reponse->donnee) {
    if (&boucleServeur != &boucle_) boucleServeur.TraiteEnAttente();
    if (reponse->donnee) break;
    const std::int64_t reste = fin - boucle_.Millisecondes();
    if (reste <= 0 || boucle_.QuitteDemande()) break;
    // With two loops the server's clock follows the client's in small steps, so the
    // answer comes about when it is due.
    const bool deuxBoucles = &boucleServeur != &boucle_;
    boucle_.TraiteEvenements(static_cast<int>(deuxBoucles ? std::min<std::int64_t>(reste, 10) : reste));
    if (deuxBoucles && !reponse->donnee) {
      // The server's time follows the client's, as both clocks are the wall clock.
      const std::int64_t retard = boucle_.Millisecondes() - boucleServeur.Millisecondes();
      if (retard > 0) boucleServeur.Avance(retard);
    }
  }
  const TResultat resultat = reponse->donnee && reponse->acceptee ? TResultat::Accepte : TResultat::Refuse;
  envois_.push_back({service, sujet, item, commande, resultat});
  return resultat;
}
