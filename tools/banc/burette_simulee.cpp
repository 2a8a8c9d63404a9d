// The motorised burette of the bench.
#include "banc/burette_simulee.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cctype>
#include <cstdlib>

#include "banc/titrage.h"

namespace {

// A positive decimal written with `separateur`; nothing for anything else.
std::optional<double> LitVolume(std::string texte, char separateur) {
  if (texte.empty() || texte.size() > 12) return std::nullopt;
  bool point = false;
  for (char& c : texte) {
    if (c == separateur && !point) {
      point = true;
      c = '.';
    } else if (c < '0' || c > '9') {
      return std::nullopt;
    }
  }
  const double v = std::strtod(texte.c_str(), nullptr);
  if (!(v > 0)) return std::nullopt;
  return v;
}

}  // namespace

TReglageLigne TBuretteSimulee::LigneParDefaut() {
  TReglageLigne ligne;
  ligne.baud = 4800;
  ligne.bitsDonnees = 7;
  ligne.bitsStop = 2;
  return ligne;
}

TBuretteSimulee::TBuretteSimulee(std::shared_ptr<TTitrage> titrage, TReglageLigne ligne)
    : TInstrumentCadence("burette", ligne), titrage_(std::move(titrage)) {}

double TBuretteSimulee::VolumeDelivre(std::int64_t ms) const {
  if (!finOperation_ || remplissage_) return delivre_;
  const auto duree = *finOperation_ - debutVerse_;
  if (ms >= *finOperation_ || duree <= 0) return delivre_ + volumeVerse_;
  if (ms <= debutVerse_) return delivre_;
  return delivre_ + volumeVerse_ * static_cast<double>(ms - debutVerse_) / static_cast<double>(duree);
}

void TBuretteSimulee::Reveil(std::int64_t ms) {
  if (!finOperation_ || ms < *finOperation_) return;
  if (remplissage_) delivre_ = 0;
  else delivre_ += volumeVerse_;
  finOperation_.reset();
  remplissage_ = false;
  volumeVerse_ = 0;
}

void TBuretteSimulee::Commande(std::int64_t ms, const std::string& ligne) {
  if (muette_ || ligne.size() < 2) return;
  const std::string adresse = ligne.substr(0, 2);
  // The identification is answered whatever the address, so that a burette of another
  // address can be found and then given its address through 99.
  const bool identification = ligne.substr(2) == "RH" && std::isdigit(static_cast<unsigned char>(adresse[0])) &&
                              std::isdigit(static_cast<unsigned char>(adresse[1]));
  if (adresse != adresse_ && adresse != "99" && !identification) return;
  ++commandes_;
  derniereCommande_ = ligne;
  // An operation that ended before this command is over, even if no turn ran since.
  Reveil(ms);
  std::string reponse;
  if (erreurAuDemarrage_) {
    erreurAuDemarrage_ = false;
    reponse = "ERROR";
  } else {
    reponse = adresse + Reponse(ms, ligne.substr(2));
  }
  const bool verse = ligne.compare(2, 2, "DA") == 0;
  Envoie(ms + (verse ? delaiAccuseVerse_ : DelaiReponseMs), reponse + "\r\n");
}

std::string TBuretteSimulee::Reponse(std::int64_t ms, const std::string& ordre) {
  const bool occupee = Occupee(ms);
  if (ordre == "RS") return occupee ? "BUSY" : "READY";
  if (ordre == "VO") {
    char texte[32];
    std::snprintf(texte, sizeof texte, "V=%7.3f", VolumeDelivre(ms));
    return texte;
  }
  if (occupee) return "BUSY";
  if (ordre == "RH") return universelle_ ? "TITRONIC universal V 1.04" : "TITRONIC V 2.00";
  if (ordre.starts_with("AA") && ordre.size() == 4 && std::isdigit(static_cast<unsigned char>(ordre[2])) &&
      std::isdigit(static_cast<unsigned char>(ordre[3]))) {
    adresse_ = ordre.substr(2);
    return "Y";
  }
  if (ordre == "RA") {
    if (reponseCapacite_) return *reponseCapacite_;
    char texte[32];
    std::snprintf(texte, sizeof texte, "RA:%02d mL", capacite_);
    return texte;
  }
  if (ordre == "BF") {
    remplissage_ = true;
    finOperation_ = ms + dureeRemplissage_;
    ReveilA(finOperation_);
    return "Y";
  }
  if (ordre == "BN") return "Y";
  if (ordre.starts_with("GDM")) {
    const std::optional<double> v = LitVolume(ordre.substr(3), ',');
    if (!v || *v < 0.1 || *v > 100) return "ERROR";
    vitesse_ = *v;
    return "Y";
  }
  if (ordre.starts_with("MO") && ordre.size() == 3 && std::isdigit(static_cast<unsigned char>(ordre[2]))) return "Y";
  if (ordre.starts_with("DA")) {
    const std::optional<double> v = LitVolume(ordre.substr(2), '.');
    if (!v || delivre_ + *v > capacite_ + 1e-9) return "ERROR";
    volumeVerse_ = *v;
    debutVerse_ = ms;
    const auto duree = static_cast<std::int64_t>(std::llround(*v * 60000.0 / vitesse_));
    finOperation_ = ms + duree;
    ReveilA(finOperation_);
    if (titrage_) titrage_->Ajoute(ms, duree, *v);
    return "Y";
  }
  return "ERROR";
}
