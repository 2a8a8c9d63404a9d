// A bench instrument on a simulated line.
#include "banc/jonction_simulee.h"

TJonctionSimulee::TJonctionSimulee(TBoucleSimulee& boucle, TLigneSimulee& ligne, TInstrumentBanc& instrument)
    : boucle_(boucle), ligne_(ligne), instrument_(instrument) {
  ligne_.SetExtremite(this);
  if (ligne_.Ouverte()) reglagePort_ = ligne_.Reglage();
  Planifie();
}

TJonctionSimulee::~TJonctionSimulee() {
  if (prevu_) boucle_.Annule(prevu_);
  if (ligne_.Extremite() == this) ligne_.SetExtremite(nullptr);
}

bool TJonctionSimulee::Accorde() const {
  if (!reglagePort_) return true;
  const TReglageLigne a = instrument_.Ligne();
  return a.baud == reglagePort_->baud && a.bitsDonnees == reglagePort_->bitsDonnees &&
         a.parite == reglagePort_->parite;
}

// A receiver sampling at the wrong rate or framing sees other bytes: a fixed scramble
// keeps the tests repeatable.
std::string TJonctionSimulee::Brouille(std::string_view octets) const {
  std::string resultat(octets);
  if (!Accorde())
    for (char& c : resultat) c = static_cast<char>((static_cast<unsigned char>(c) * 37u + 0x5Bu) | 0x80u);
  return resultat;
}

void TJonctionSimulee::LigneReglee(const TReglageLigne& reglage) { reglagePort_ = reglage; }

void TJonctionSimulee::Recoit(std::string_view octets) {
  instrument_.Recoit(boucle_.Millisecondes(), Brouille(octets));
  Planifie();
}

void TJonctionSimulee::Planifie() {
  const std::optional<std::int64_t> prochain = instrument_.ProchainInstant();
  if (prevu_ && prochain && *prochain == instantPrevu_) return;
  if (prevu_) boucle_.Annule(prevu_);
  prevu_ = 0;
  if (!prochain) return;
  instantPrevu_ = std::max(*prochain, boucle_.Millisecondes());
  prevu_ = boucle_.Planifie(instantPrevu_, [this] {
    prevu_ = 0;
    Tour();
  });
}

void TJonctionSimulee::Tour() {
  const std::string octets = instrument_.Sortie(boucle_.Millisecondes());
  if (!octets.empty()) ligne_.Emet(Brouille(octets));
  Planifie();
}
