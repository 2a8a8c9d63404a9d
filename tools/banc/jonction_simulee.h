// Joins a bench instrument to a line of the simulated platform: the instrument runs
// on the simulated loop's virtual clock. A port whose speed, data bits or parity
// differ from the instrument's exchanges garbled bytes with it, as a real line would.
#pragma once

#include <cstdint>
#include <optional>

#include "banc/instrument.h"
#include "platform/simule/boucle_simulee.h"
#include "platform/simule/serie_simulee.h"

class TJonctionSimulee final : public TExtremiteSerie {
public:
  // `instrument` and `ligne` outlive the junction; the loop outlives them all.
  TJonctionSimulee(TBoucleSimulee& boucle, TLigneSimulee& ligne, TInstrumentBanc& instrument);
  ~TJonctionSimulee() override;
  TJonctionSimulee(const TJonctionSimulee&) = delete;
  TJonctionSimulee& operator=(const TJonctionSimulee&) = delete;

  void Recoit(std::string_view octets) override;
  void LigneReglee(const TReglageLigne& reglage) override;
  void LigneFermee() override { reglagePort_.reset(); }

  // To call after changing the instrument from outside (a load on the balance).
  void Reveille() { Planifie(); }
  bool Accorde() const;

private:
  void Planifie();
  void Tour();
  std::string Brouille(std::string_view octets) const;

  TBoucleSimulee& boucle_;
  TLigneSimulee& ligne_;
  TInstrumentBanc& instrument_;
  std::optional<TReglageLigne> reglagePort_;
  std::uint64_t prevu_ = 0;
  std::int64_t instantPrevu_ = 0;
};
