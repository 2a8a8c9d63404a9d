// The deterministic event loop of the simulated platform.
#include "platform/simule/boucle_simulee.h"

#include <algorithm>
#include <cstdint>

#include "util/durees.h"

class TBoucleSimulee::Minuterie final : public TMinuterie {
public:
  explicit Minuterie(TBoucleSimulee& boucle) : boucle_(boucle) {}
  ~Minuterie() override { Desarme(); }

  void SetIntervalle(int ms) override {
    intervalle_ = std::max(ms, 0);
    if (actif_) Arme(boucle_.maintenant_);
  }
  int Intervalle() const override { return intervalle_; }
  void SetActif(bool actif) override {
    if (actif == actif_) return;
    actif_ = actif;
    if (actif_) Arme(boucle_.maintenant_); else Desarme();
  }
  bool Actif() const override { return actif_; }
  void SetRappel(std::function<void()> rappel) override { rappel_ = std::move(rappel); }

private:
  // A zero interval fires as soon as the loop runs, like a window timer of 0 ms
  // (which Windows raises to its minimum); 1 ms keeps time moving.
  void Arme(std::int64_t depuis) {
    Desarme();
    id_ = boucle_.Planifie(depuis + std::max(intervalle_, 1), [this] { Tic(); });
  }
  void Desarme() {
    if (id_) boucle_.Annule(id_);
    id_ = 0;
  }
  void Tic() {
    id_ = 0;
    Arme(boucle_.maintenant_);  // next tick first, so the callback may stop the timer
    if (rappel_) {
      auto rappel = rappel_;  // the callback may replace itself
      rappel();
    }
  }

  TBoucleSimulee& boucle_;
  int intervalle_ = 1000;
  bool actif_ = false;
  std::uint64_t id_ = 0;
  std::function<void()> rappel_;
};

TBoucleSimulee::TBoucleSimulee(double dateDepart) : dateDepart_(dateDepart) {}
TBoucleSimulee::~TBoucleSimulee() = default;

double TBoucleSimulee::DateHeure() const {
  return dateDepart_ + static_cast<double>(maintenant_) / MillisecondesParJour;
}

std::unique_ptr<TMinuterie> TBoucleSimulee::CreeMinuterie() { return std::make_unique<Minuterie>(*this); }

void TBoucleSimulee::Poste(std::function<void()> message) { postes_.push_back(std::move(message)); }

std::uint64_t TBoucleSimulee::Planifie(std::int64_t instantMs, std::function<void()> action) {
  Cle cle{std::max(instantMs, maintenant_), ordre_++};
  std::uint64_t id = prochainId_++;
  prevus_.emplace(cle, Prevu{id, std::move(action)});
  cleDeId_.emplace(id, cle);
  return id;
}

void TBoucleSimulee::Annule(std::uint64_t id) {
  auto it = cleDeId_.find(id);
  if (it == cleDeId_.end()) return;
  prevus_.erase(it->second);
  cleDeId_.erase(it);
}

bool TBoucleSimulee::ExecutePoste() {
  if (postes_.empty()) return false;
  auto message = std::move(postes_.front());
  postes_.pop_front();
  message();
  return true;
}

bool TBoucleSimulee::ExecuteUnPrevuJusqua(std::int64_t limite) {
  if (prevus_.empty()) return false;
  auto it = prevus_.begin();
  if (it->first.instant > limite) return false;
  maintenant_ = std::max(maintenant_, it->first.instant);
  auto action = std::move(it->second.action);
  cleDeId_.erase(it->second.id);
  prevus_.erase(it);
  action();
  return true;
}

void TBoucleSimulee::TraiteEnAttente() {
  while (ExecutePoste() || ExecuteUnPrevuJusqua(maintenant_)) {
  }
}

void TBoucleSimulee::Avance(std::int64_t ms) {
  const std::int64_t cible = maintenant_ + std::max<std::int64_t>(ms, 0);
  for (;;) {
    if (ExecutePoste()) continue;
    if (!ExecuteUnPrevuJusqua(cible)) break;
  }
  maintenant_ = std::max(maintenant_, cible);
  TraiteEnAttente();
}

bool TBoucleSimulee::ExecutePostes() {
  if (!ExecutePoste()) return false;
  while (ExecutePoste()) {
  }
  return true;
}

void TBoucleSimulee::TraiteEvenements(int delaiMaxMs) {
  if (ExecutePostes()) return;
  if (ExecuteUnPrevuJusqua(maintenant_)) return;
  if (delaiMaxMs <= 0) return;
  const std::int64_t limite = maintenant_ + delaiMaxMs;
  if (!ExecuteUnPrevuJusqua(limite)) maintenant_ = limite;
}

void TBoucleSimulee::AttendEvenement() {
  if (ExecutePostes()) return;
  ExecuteUnPrevuJusqua(INT64_MAX);
}
