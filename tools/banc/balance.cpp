// The bench balance.
#include "banc/balance.h"

#include <cmath>
#include <cstdio>

namespace {
const char* const NumeroSerie = "I4 A \"B021002593\"\r\n";
constexpr int PasAttenteMs = 50;
}  // namespace

TReglageLigne TBalance::LigneParDefaut() { return TReglageLigne{}; }

TBalance::TBalance(TReglageLigne ligne) : TInstrumentCadence("balance", ligne) {}

void TBalance::Pose(std::int64_t ms, double masse) {
  brut_.Plonge(ms, masse);
  dernierePose_ = ms;
}

double TBalance::Lecture(std::int64_t ms) { return brut_.Valeur(ms) - zero_ - tare_; }

// Stopped moving: less than half a digit over the last 200 ms, as the motion detector
// of a balance judges it.
bool TBalance::Stable(std::int64_t ms) {
  if (dernierePose_ && ms - *dernierePose_ < 200) return false;
  return std::fabs(brut_.Valeur(ms) - brut_.Valeur(ms - 200)) < Resolution / 2;
}

std::string TBalance::Pesee(const char* statut, std::int64_t ms) {
  const double brut = brut_.Valeur(ms);
  if (brut > Capacite) return std::string(statut).substr(0, 1) + " +\r\n";
  const double net = Lecture(ms);
  if (net < -Capacite) return std::string(statut).substr(0, 1) + " -\r\n";
  char texte[40];
  std::snprintf(texte, sizeof texte, "%s %10.2f g\r\n", statut, net);
  return texte;
}

void TBalance::Commande(std::int64_t ms, const std::string& ligne) {
  const std::int64_t t = ms + DelaiReponseMs;
  if (ligne == "S") {
    attenteStable_ = ms;
    Reveil(ms);
  } else if (ligne == "SI") {
    Envoie(t, Pesee(Stable(ms) ? "S S" : "S D", ms));
  } else if (ligne == "Z") {
    if (Stable(ms)) {
      zero_ = brut_.Valeur(ms);
      tare_ = 0;
      Envoie(t, "Z A\r\n");
    } else {
      Envoie(t, "Z I\r\n");
    }
  } else if (ligne == "T") {
    tare_ = brut_.Valeur(ms) - zero_;
    char texte[40];
    std::snprintf(texte, sizeof texte, "T S %10.2f g\r\n", tare_);
    Envoie(t, texte);
  } else if (ligne == "I4") {
    Envoie(t, NumeroSerie);
  } else if (ligne == "@") {
    zero_ = tare_ = 0;
    attenteStable_.reset();
    Envoie(t, NumeroSerie);
  } else {
    Envoie(t, "ES\r\n");
  }
}

void TBalance::Reveil(std::int64_t ms) {
  if (!attenteStable_) return;
  if (Stable(ms)) {
    attenteStable_.reset();
    Envoie(ms + DelaiReponseMs, Pesee("S S", ms));
  } else if (ms - *attenteStable_ >= AttenteStableMaxMs) {
    attenteStable_.reset();
    Envoie(ms + DelaiReponseMs, "S I\r\n");
  } else {
    ReveilA(ms + PasAttenteMs);
  }
}
