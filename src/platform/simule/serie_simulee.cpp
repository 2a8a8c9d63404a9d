// Simulated serial lines and their devices.
#include "platform/simule/serie_simulee.h"

#include <algorithm>
#include <cmath>
#include <set>

class TPeripheriqueSimule final : public TPeripheriqueSerie {
public:
  TPeripheriqueSimule(std::shared_ptr<TLigneSimulee> ligne, TBoucleSimulee& boucle, const TReglageLigne& reglage)
      : ligne_(std::move(ligne)), boucle_(boucle), reglage_(reglage) {
    ligne_->peripherique_ = this;
    ++ligne_->ouvertures_;
    ligne_->reglage_ = reglage;
    if (ligne_->extremite_) ligne_->extremite_->LigneReglee(reglage);
  }
  ~TPeripheriqueSimule() override { Ferme(); }

  bool Regle(const TReglageLigne& reglage, std::string& raison) override {
    if (!ouvert_ || perdu_) {
      raison = "périphérique perdu";
      return false;
    }
    if (ligne_->reglagesRefuses_) {
      raison = "réglage non pris en charge";
      return false;
    }
    reglage_ = reglage;
    ligne_->reglage_ = reglage;
    if (ligne_->extremite_) ligne_->extremite_->LigneReglee(reglage);
    return true;
  }

  bool Ecrit(std::string_view octets) override {
    if (!ouvert_ || perdu_) return false;
    if (!ligne_->branchee_) return true;  // gone unnoticed: the bytes go nowhere
    // Each byte leaves after the previous one, taking its character time; bytes that
    // finish within the same millisecond reach the far end together.
    const double dureeUs = 1e6 * BitsParCaractere(reglage_) / std::max(reglage_.baud, 1);
    const double maintenantUs = static_cast<double>(boucle_.Millisecondes()) * 1000.0;
    finEmissionUs_ = std::max(finEmissionUs_, maintenantUs);
    std::int64_t instant = -1;
    std::string groupe;
    auto envoie = [&] {
      if (groupe.empty()) return;
      auto id = std::make_shared<std::uint64_t>(0);
      *id = boucle_.Planifie(instant, [this, id, paquet = groupe] {
        prevus_.erase(*id);
        Arrive(paquet);
      });
      prevus_.insert(*id);
      groupe.clear();
    };
    for (char c : octets) {
      finEmissionUs_ += dureeUs;
      const auto arrivee = static_cast<std::int64_t>(std::ceil(finEmissionUs_ / 1000.0 - 1e-9));
      if (arrivee != instant) {
        envoie();
        instant = arrivee;
      }
      groupe += c;
    }
    envoie();
    aEmettre_ += octets.size();
    return true;
  }

  std::size_t OctetsAEmettre() const override { return aEmettre_; }
  std::size_t OctetsRecus() const override { return recus_.size(); }
  std::string Prend(std::size_t max) override {
    const std::size_t n = std::min(max, recus_.size());
    std::string octets = recus_.substr(0, n);
    recus_.erase(0, n);
    return octets;
  }
  void VideReception() override { recus_.clear(); }

  void SetRappelDonnees(std::function<void()> rappel) override { rappelDonnees_ = std::move(rappel); }
  void SetRappelPerte(std::function<void(const std::string&)> rappel) override { rappelPerte_ = std::move(rappel); }

  void Ferme() override {
    if (!ouvert_) return;
    ouvert_ = false;
    Annule();
    const bool relie = ligne_->peripherique_ == this;
    if (relie) ligne_->peripherique_ = nullptr;
    if (relie && !perdu_ && ligne_->extremite_) ligne_->extremite_->LigneFermee();
    *vie_ = false;
  }

  // From the line: bytes of the far end.
  void Recoit(std::string_view octets) {
    if (!ouvert_ || perdu_ || !ligne_->branchee_) return;
    recus_.append(octets);
    if (avisPoste_) return;
    avisPoste_ = true;
    boucle_.Poste([this, vie = vie_] {
      if (!*vie) return;
      avisPoste_ = false;
      if (rappelDonnees_) {
        auto rappel = rappelDonnees_;
        rappel();
      }
    });
  }

  bool Verifie(std::string& raison) override {
    if (!ouvert_ || perdu_ || ligne_->branchee_) return true;
    raison = "périphérique débranché";
    Detache();
    return false;
  }

  // From the line: the device went away.
  void Perd(const std::string& raison) {
    if (!ouvert_ || perdu_) return;
    Detache();
    boucle_.Poste([this, vie = vie_, raison] {
      if (!*vie || !rappelPerte_) return;
      auto rappel = rappelPerte_;
      rappel(raison);
    });
  }

private:
  void Detache() {
    perdu_ = true;
    recus_.clear();
    Annule();
    ligne_->peripherique_ = nullptr;
  }
  void Arrive(const std::string& paquet) {
    aEmettre_ -= std::min(aEmettre_, paquet.size());
    ligne_->recu_ += paquet;
    if (ligne_->extremite_) ligne_->extremite_->Recoit(paquet);
  }
  void Annule() {
    for (std::uint64_t id : prevus_) boucle_.Annule(id);
    prevus_.clear();
    aEmettre_ = 0;
  }

  std::shared_ptr<TLigneSimulee> ligne_;
  TBoucleSimulee& boucle_;
  TReglageLigne reglage_;
  bool ouvert_ = true;
  bool perdu_ = false;
  bool avisPoste_ = false;
  std::string recus_;
  std::size_t aEmettre_ = 0;
  double finEmissionUs_ = 0;
  std::set<std::uint64_t> prevus_;
  std::function<void()> rappelDonnees_;
  std::function<void(const std::string&)> rappelPerte_;
  // Posted notifications check it: the device may be closed before they run.
  std::shared_ptr<bool> vie_ = std::make_shared<bool>(true);
};

void TLigneSimulee::Emet(std::string_view octets) {
  if (peripherique_) peripherique_->Recoit(octets);
}

void TLigneSimulee::Debranche() {
  branchee_ = false;
  if (peripherique_) peripherique_->Perd("périphérique débranché");
}

void TLigneSimulee::DebrancheEnSilence() { branchee_ = false; }

TSerieSimulee::~TSerieSimulee() = default;

TLigneSimulee& TSerieSimulee::AjouteLigne(const std::string& chemin) {
  auto& ligne = lignes_[chemin];
  if (!ligne) ligne = std::make_shared<TLigneSimulee>(chemin);
  return *ligne;
}

TLigneSimulee* TSerieSimulee::Ligne(const std::string& chemin) {
  auto it = lignes_.find(chemin);
  return it == lignes_.end() ? nullptr : it->second.get();
}

std::vector<std::string> TSerieSimulee::Peripheriques() const {
  std::vector<std::string> chemins;
  for (const auto& [chemin, ligne] : lignes_)
    if (ligne->branchee_) chemins.push_back(chemin);
  return chemins;
}

TPresence TSerieSimulee::Sonde(const std::string& chemin) {
  ++sondages_;
  const TLigneSimulee* ligne = Ligne(chemin);
  if (!ligne || !ligne->branchee_) return TPresence::Absent;
  if (ligne->occupee_ || ligne->peripherique_) return TPresence::Occupe;
  return TPresence::Present;
}

TOuvertureSerie TSerieSimulee::Ouvre(const std::string& chemin, const TReglageLigne& reglage) {
  auto it = lignes_.find(chemin);
  if (it == lignes_.end() || !it->second->branchee_)
    return {nullptr, TCodeSerie::Absent, "périphérique " + chemin + " introuvable"};
  TLigneSimulee& ligne = *it->second;
  if (ligne.occupee_ || ligne.peripherique_)
    return {nullptr, TCodeSerie::Occupe, chemin + " est utilisé par un autre programme"};
  if (ligne.reglagesRefuses_)
    return {nullptr, TCodeSerie::ReglageRefuse, "réglage refusé par " + chemin + " (" + DecritReglage(reglage) + ")"};
  return {std::make_unique<TPeripheriqueSimule>(it->second, boucle_, reglage), TCodeSerie::Aucun, {}};
}
