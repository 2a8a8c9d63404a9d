// Pacing and command cutting of the bench instruments.
#include "banc/instrument.h"

#include <algorithm>

void TInstrumentCadence::Recoit(std::int64_t ms, std::string_view octets) {
  for (char c : octets) {
    if (c == '\r' || c == '\n') {
      if (!commande_.empty()) {
        const std::string ligne = std::move(commande_);
        commande_.clear();
        Commande(ms, ligne);
      }
    } else if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) {
      commande_.clear();  // noise on the line: the command under way is lost
    } else if (commande_.size() < 256) {
      commande_ += c;
    }
  }
}

void TInstrumentCadence::Envoie(std::int64_t ms, std::string_view texte) {
  const std::int64_t dureeUs = std::max<std::int64_t>(1000000LL * BitsParCaractere(ligne_) / std::max(ligne_.baud, 1), 1);
  finUs_ = std::max(finUs_, ms * 1000);
  for (char c : texte) {
    finUs_ += dureeUs;
    sortie_.push_back({finUs_, c});
  }
}

std::string TInstrumentCadence::Sortie(std::int64_t ms) {
  while (reveil_ && *reveil_ <= ms) {
    const std::int64_t instant = *reveil_;
    reveil_.reset();
    Reveil(instant);
  }
  std::string octets;
  while (!sortie_.empty() && sortie_.front().finUs <= ms * 1000) {
    octets += sortie_.front().valeur;
    sortie_.pop_front();
  }
  return octets;
}

std::optional<std::int64_t> TInstrumentCadence::ProchainInstant() const {
  std::optional<std::int64_t> prochain = reveil_;
  if (!sortie_.empty()) {
    const std::int64_t octet = (sortie_.front().finUs + 999) / 1000;
    prochain = prochain ? std::min(*prochain, octet) : octet;
  }
  return prochain;
}
