// A cable pulled out and put back: the ports in use whose device went away are tried
// again at the acquisition's own tick, with the line settings they kept; once open,
// their instruments get their initialisation again and the cycle reads them as before.
// Meanwhile their channels show no value, so no point is made with a stale one.
#include <algorithm>
#include <cstdio>

#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "instruments/base_appareils.h"
#include "instruments/burette.h"
#include "util/durees.h"

namespace {

std::string NomPort(const TPortSerie& port) { return "COM" + std::to_string(port.ComNumber()); }

TPortSerie* PortDe(const Tappareil& A) {
  if (A.isOrigalys || A.isSysam) return nullptr;
  return dynamic_cast<TPortSerie*>(A.VoieSerie);
}
}  // namespace

std::vector<TPortSerie*> TCinetiqueMain::PortsEnService() const {
  std::vector<TPortSerie*> ports;
  auto ajoute = [&](const Tappareil* A) {
    if (TPortSerie* p = A ? PortDe(*A) : nullptr; p && std::find(ports.begin(), ports.end(), p) == ports.end())
      ports.push_back(p);
  };
  for (int i = 0; i < NbreVoies(); ++i) ajoute(Voie(i));
  if (ModeAcq == maBuretteRS232) ajoute(&base_.Burette());
  return ports;
}

void TCinetiqueMain::RebranchePorts() {
  for (TPortSerie* port : PortsEnService()) {
    // A device may go without a word from the system: a cheap look finds it.
    port->VerifieLiaison();
    double& perte = pertes_[port->ComNumber()];
    if (!port->Perdu()) {
      perte = 0;  // opened again by a new binding meanwhile
      continue;
    }
    if (perte == 0) {
      perte = port->DatePerte() != 0 ? port->DatePerte() : Maintenant();
      OublieValeurs(*port);
      vue_.SetStatut(1, NomPort(*port) + " perdu à " + TexteHeure(perte) + " : nouvel essai à chaque mesure");
    }
    try {
      port->SetOpen(true);
    } catch (const EPortSerie&) {
      continue;  // still away: the next tick tries again
    }
    Rebranche(*port);
  }
}

bool TCinetiqueMain::OublieValeurs(const TPortSerie& port) {
  bool utilise = false;
  for (int i = 0; i < NbreVoies(); ++i) {
    Tappareil* A = Voie(i);
    if (!A || PortDe(*A) != &port) continue;
    utilise = true;
    // Never asked again until the port is back, and no last reading passed off as a
    // live one.
    A->VoieSerieOK = false;
    A->ChaineLue.clear();
    A->ValeurCourante = PasDeValeur;
    LibelleVoie(i);
  }
  return utilise;
}

void TCinetiqueMain::Rebranche(TPortSerie& port) {
  try {
    AppliqueTrace(port, TraceCB);
  } catch (const EPortSerie& e) {
    plateforme_.dialogue.Erreur(e.what());
  }
  auto reprend = [&](Tappareil& A) {
    A.VoieSerieOK = true;
    A.ChaineLue.clear();
    // A device that was off lost its configuration as well.
    if (A.ChaineInit.empty()) return;
    try {
      port.PutString(A.ChaineInit);
    } catch (const EPortSerie&) {
      // Lost again at once: the next tick finds it.
    }
  };
  for (int i = 0; i < NbreVoies(); ++i)
    if (Tappareil* A = Voie(i); A && PortDe(*A) == &port) reprend(*A);
  if (ModeAcq == maBuretteRS232 && PortDe(base_.Burette()) == &port) {
    reprend(base_.Burette());
    base_.Burette().OublieInitialisation();
  }
  double& perte = pertes_[port.ComNumber()];
  vue_.SetStatut(1, NomPort(port) + " perdu à " + TexteHeure(perte) + ", rétabli à " + TexteHeure(Maintenant()));
  perte = 0;
}
