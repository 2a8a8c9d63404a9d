// The polling loop: the main timer starts a cycle, channels are asked one after the
// other, answers are gathered into frames and decoded; the master instrument's own
// transmissions drive the master-channel mode; the simulated "WTW 3310" replays its
// stored lines through the same reception path.
#include <algorithm>
#include <cmath>

#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "instruments/trames_wtw.h"
#include "instruments/base_appareils.h"
#include "instruments/burette.h"
#include "instruments/commande.h"
#include "util/durees.h"
#include "util/ticks.h"
#include "util/textes.h"

namespace {
bool Garde(unsigned char c) { return c == 9 || c == 10 || c == 13 || c == 17 || c == 19 || c >= 32; }

// The instrument is attached to this port (CP null: to no port).
bool SurPort(const Tappareil& A, const TPortSerie* CP) {
  return A.VoieSerie == static_cast<const TVoieAppareil*>(CP);
}

bool ParBibliotheque(const Tappareil& A) { return A.isOrigalys || A.isSysam; }

// Keeps the newest bytes of a frame buffer that no frame end ever cut.
void Borne(std::string& chaine, std::size_t maxi) {
  if (chaine.size() > maxi) chaine.erase(0, chaine.size() - maxi);
}
}  // namespace

void TCinetiqueMain::TimerTimer() {
  // A tick inside a wait or a question of the running cycle starts no second cycle.
  if (dansAttente_ > 0) return;
  if (ModeAcq == maAppareilMaitre) {
    RebranchePorts();
    return;
  }
  ++cycles_;
  const bool silence = !Reponse || cycleInacheve_;
  vue_.SetCaption(ctl::LabelPb, silence ? "Pas de réponse" : "");
  Reponse = false;
  VoieCourante = 0;
  if (NbreVoies() < 1) return;
  // The tick looks at the ports in use, so that no port needs a watch of its own: a
  // lost one is closed (and reported) before its request, and tried again until its
  // device is back.
  RebranchePorts();
  cycleInacheve_ = true;
  InterrogeVoie();
}

void TCinetiqueMain::PosteCycle() {
  plateforme_.boucle.Poste([vie = std::weak_ptr<bool>(vie_), this, avant = cycles_] {
    // Not when the state stopped the timer meanwhile (a dialog, the master mode), nor
    // when a tick started a cycle first.
    if (vie.lock() && Timer->Actif() && cycles_ == avant) TimerTimer();
  });
}

void TCinetiqueMain::InterrogeVoie() {
  while (VoieCourante < NbreVoies()) {
    Tappareil* A = Voie(VoieCourante);
    if (A && (A->EnvoiDirect || ParBibliotheque(*A))) {
      TraiteVoie();
      return;
    }
    auto* port = A ? dynamic_cast<TPortSerie*>(A->VoieSerie) : nullptr;
    if (A && A->VoieSerieOK && port && port->Open()) {
      if (A->Attente > 0) {
        ++dansAttente_;
        AttenteTicks(plateforme_.boucle, A->Attente / MillisecondesParTick);
        --dansAttente_;
        // The state may have changed while waiting (a dialog, the end of the program).
        if (EtatAcq == eaNone && !port->Open()) return;
      }
      try {
        port->FlushInBuffer();
        A->ChaineLue.clear();
        port->PutString(A->Demande);
        return;
      } catch (const EPortSerie& e) {
        A->VoieSerieOK = false;
        // A device gone at the request is a loss like any other; either way the
        // cycle goes on with the next channel.
        if (port->Perdu()) {
          PortPerdu(port, e.what());
        } else {
          plateforme_.dialogue.Erreur(e.what());
        }
      }
    }
    // A channel with no usable port is skipped rather than stalling those after it;
    // it shows no value, so no point is recorded while it is in use.
    if (A) {
      A->ValeurCourante = PasDeValeur;
      LibelleVoie(VoieCourante);
    }
    ++VoieCourante;
  }
  FinDeCycle();
}

void TCinetiqueMain::TriggerAvail(TPortSerie* CP, std::uint16_t Count) {
  std::string T;
  T.reserve(Count);
  for (int k = 0; k < Count; ++k) {
    unsigned char c = 0;
    if (!CP) {
      if (SimulationWTW) c = OctetSuivantWTW(LigneWTW, CaractereWTW);
    } else {
      try {
        c = CP->CharReady() ? static_cast<unsigned char>(CP->GetChar()) : 0;
      } catch (const EPortSerie&) {
        c = 0;
      }
    }
    if (Garde(c)) T.push_back(static_cast<char>(c));
  }
  if (EtatAcq == eaNone) return;

  // Who reads these characters: the polled channel being asked on this port; else
  // every channel on it whose instrument transmits on its own, each keeping its own
  // window of the latest frame, wherever it sits in the list of channels; else the
  // lowest channel on it (a late answer, which waits in its buffer). Without a port
  // the characters are the simulated instrument's: a channel left without its port
  // is not it.
  auto lit = [&](int i) {
    const Tappareil* A = Voie(i);
    return A && !ParBibliotheque(*A) && SurPort(*A, CP) &&
           (CP || A->NomAppareil.find("WTW 3310") != std::string::npos);
  };
  std::vector<int> voies;
  if (VoieCourante < NbreVoies() && lit(VoieCourante) && !Voie(VoieCourante)->EnvoiDirect) {
    voies.push_back(VoieCourante);
  } else {
    for (int i = 0; i < NbreVoies(); ++i)
      if (lit(i) && Voie(i)->EnvoiDirect) voies.push_back(i);
    if (voies.empty())
      for (int i = 0; i < NbreVoies() && voies.empty(); ++i)
        if (lit(i)) voies.push_back(i);
  }
  for (const int i : voies) Recueille(*Voie(i), T);
  for (const int voie : voies) {
    Tappareil& A = *Voie(voie);
    // A frame processed for an earlier channel may have used this one's already.
    if (!FrameComplete(A) || questionOuverte_[static_cast<std::size_t>(voie)]) continue;
    if (A.EnvoiDirect && ModeAcq == maAppareilMaitre && voie == Graphe->voieMaitre) {
      dateReception = Maintenant();
      TraiteMaitre();
    } else if (A.EnvoiDirect) {
      // A self-transmitting channel's value follows its frames; the poll cycle, which
      // the main timer alone starts, reads that value. A frame starting a cycle of its
      // own would ask the polled channels again while their answers are on the way
      // (nor, in the master-channel mode, may it make a point: the master's frames alone do).
      A.SetValeurCourante();
      if (A.depassement) ConfirmeDepassement(voie);
      LibelleVoie(voie);
    } else if (voie == VoieCourante) {
      TraiteVoie();
    }
    // A polled answer for a channel that is not the one asked (a late answer) waits in
    // its buffer, which the next request empties.
    if (EtatAcq == eaNone) return;
  }
}

void TCinetiqueMain::Recueille(Tappareil& A, const std::string& T) {
  std::string& B = A.ChaineLue;
  B += T;
  if (A.EnvoiDirect && A.FormatFixe) {
    const auto garde = static_cast<std::size_t>(std::max(A.NbreCarac, 1));
    if (B.size() > garde) B.erase(0, B.size() - garde);
    return;
  }
  if (A.EnvoiDirect) {
    while (static_cast<int>(std::count(B.begin(), B.end(), '\r')) > A.NbreLignes) B.erase(0, B.find('\r') + 1);
    if (!B.empty() && B.front() == '\n') B.erase(0, 1);
  }
  Borne(B, ChaineLueMaxi);
}

bool TCinetiqueMain::FrameComplete(const Tappareil& A) {
  return A.FormatFixe ? static_cast<int>(A.ChaineLue.size()) >= A.NbreCarac : CompteRetours(A.ChaineLue) >= A.NbreLignes;
}

void TCinetiqueMain::LibelleVoie(int i) {
  if (Tappareil* A = Voie(i)) vue_.SetCaption(ctl::Label(i), A->NomValeurUniteCourante());
}

void TCinetiqueMain::TraiteVoie() {
  if (VoieCourante >= NbreVoies()) return;
  Tappareil* A = Voie(VoieCourante);
  if (!A) {
    ++VoieCourante;
    InterrogeVoie();
    return;
  }
  const std::string F = A->ChaineLue;
  if (A->isOrigalys) A->ValeurCourante = adaptateurs_.ValeurUSB(*A);
  else if (A->isSysam) A->ValeurCourante = adaptateurs_.ValeurBoitier(*A);
  // A self-transmitting instrument's value is that of its latest complete frame
  // (decoded when it completed): the part of the next one that came since is no frame.
  const bool decode = ParBibliotheque(*A) || !A->EnvoiDirect || FrameComplete(*A);
  if (decode && !ParBibliotheque(*A)) A->SetValeurCourante();
  if (decode && A->depassement) ConfirmeDepassement(VoieCourante);
  Reponse = true;
  LibelleVoie(VoieCourante);
  if (EtatAcq == eaAttente || ModeAcq == maIncrement || ModeAcq == maClavier)
    PosteMajCurseurs();
  if (A->EnvoiDirect && ModeAcq == maAppareilMaitre) A->ChaineLue.clear();

  // One answer serves the channels right after this one when they are serial
  // instruments polled on the same port with the same request.
  if (!ParBibliotheque(*A) && !A->EnvoiDirect && !A->Demande.empty()) {
    while (VoieCourante + 1 < NbreVoies()) {
      Tappareil* S = Voie(VoieCourante + 1);
      if (!S || ParBibliotheque(*S) || S->EnvoiDirect || S->ComNumber != A->ComNumber || S->Demande != A->Demande)
        break;
      S->ChaineLue = F;
      S->SetValeurCourante();
      if (S->depassement) ConfirmeDepassement(VoieCourante + 1);
      LibelleVoie(VoieCourante + 1);
      ++VoieCourante;
    }
  }
  ++VoieCourante;
  if (VoieCourante < NbreVoies()) {
    InterrogeVoie();
    return;
  }
  FinDeCycle();
}

void TCinetiqueMain::FinDeCycle() {
  cycleInacheve_ = false;
  bool tous = true;
  for (int i = 0; i < NbreVoies(); ++i) {
    Tappareil* A = Voie(i);
    if (!A || !vue_.Controle(ctl::Stable(i)).visible) continue;
    const bool s = A->isStable();
    tous = tous && s;
    vue_.SetEnfonce(ctl::Stable(i), s);
    vue_.SetHint(ctl::Stable(i), s ? "Données stables" : "Données non stables");
  }
  if (EtatAcq == eaEnCours) {
    switch (ModeAcq) {
      case maTemps:
        if (envoiDirectGlb && Graphe->NbrePoints > 0) {
          const double t = std::nearbyint(EcartDebut(Maintenant()));
          if (Graphe->mondeX.valeur[Graphe->NbrePoints] <= t) AjoutePoint();
        } else {
          AjoutePoint();
        }
        break;
      case maIncrement:
      case maClavier: AjoutePoint(); break;
      case maAppareilMaitre: break;
      case maBuretteRS232: {
        TburetteRS232& B = Burette();
        if ((tous && B.delaiMinEcoule()) || B.delaiMaxEcoule()) PasBurette();
        else B.ValeurCourante = VolumeBurette();
        vue_.SetCaption(ctl::PanelDuree, B.SymboleGrandeur + "=" + B.FormatApp(B.ValeurCourante) + " " + B.UniteGrandeur);
        break;
      }
    }
  }
  VoieCourante = 0;
}

void TCinetiqueMain::TraiteMaitre() {
  const int m = Graphe->voieMaitre;
  Tappareil* M = Voie(m);
  if (!M) return;
  // The other channels' ports are looked at and tried again at each frame as well:
  // no point is made with the value of a channel that went away since the last tick.
  RebranchePorts();
  const std::string F = M->ChaineLue;
  M->SetValeurCourante();
  if (M->depassement) ConfirmeDepassement(m);
  Reponse = true;
  LibelleVoie(m);
  auto reste = [](Tappareil& A) {
    if (A.FormatFixe && static_cast<int>(A.ChaineLue.size()) > A.NbreCarac)
      A.ChaineLue.erase(0, static_cast<std::size_t>(std::max(A.NbreCarac, 0)));
    else
      A.ChaineLue.clear();
  };
  for (int i = 0; i < NbreVoies(); ++i) {
    Tappareil* S = Voie(i);
    if (i == m || !S) continue;
    // Instruments read through a vendor library have no port to share or to poll.
    if (ParBibliotheque(*S)) continue;
    if (S->ComNumber == M->ComNumber) {
      S->ChaineLue = F;
      S->SetValeurCourante();
      reste(*S);
      if (S->depassement) ConfirmeDepassement(i);
      LibelleVoie(i);
    } else if (!S->EnvoiDirect && S->VoieSerieOK) {
      auto* port = dynamic_cast<TPortSerie*>(S->VoieSerie);
      if (!port || !port->Open()) continue;
      try {
        port->FlushInBuffer();
        S->ChaineLue.clear();
        port->PutString(S->Demande);
      } catch (const EPortSerie& e) {
        plateforme_.dialogue.Erreur(e.what());
        S->VoieSerieOK = false;
      }
    }
  }
  if (EtatAcq == eaAttente) PosteMajCurseurs();
  reste(*M);
  if (EtatAcq == eaEnCours) {
    AjoutePoint();
    Beep();
  }
}

void TCinetiqueMain::ConfirmeDepassement(int i) {
  Tappareil* A = Voie(i);
  if (!A || questionOuverte_[static_cast<std::size_t>(i)]) return;
  const double v = A->ValeurCourante;
  questionOuverte_[static_cast<std::size_t>(i)] = true;
  ++dansAttente_;
  const bool oui = Confirmation(plateforme_.dialogue, A->NomValeurUniteCourante() + " valeur correcte ?");
  if (oui) {
    if (A->ValMini > v) {
      A->ValMini = v - (A->ValMaxi - A->ValMini) / 10;
      if (A->ValMini < 0 && v >= 0) A->ValMini = 0;
    }
    if (v > A->ValMaxi) A->ValMaxi = v + (A->ValMaxi - A->ValMini) / 10;
    Graphe->mondeY[static_cast<std::size_t>(i)].SetMinMax(A->ValMini, A->ValMaxi);
    Repeindre();
  } else {
    A->ValeurCourante = PasDeValeur;
    // Yes stops the question for this instrument: out-of-range values are filtered.
    A->FiltrageDepassement = Confirmation(plateforme_.dialogue, "Ne plus poser la question ?");
  }
  --dansAttente_;
  questionOuverte_[static_cast<std::size_t>(i)] = false;
}

void TCinetiqueMain::PosteMajCurseurs() {
  // The message may come after the engine is gone (a window closed meanwhile).
  plateforme_.boucle.Poste([vie = std::weak_ptr<bool>(vie_), this] {
    if (vie.lock()) MajCurseurs();
  });
}

void TCinetiqueMain::MajCurseurs() {
  if (surface_) Graphe->TraceCurseurs(*surface_);
  for (int i = 0; i < NbreVoies(); ++i)
    if (Tappareil* A = Voie(i)) Graphe->mondeY[static_cast<std::size_t>(i)].PosCurseur = Graphe->mondeY[static_cast<std::size_t>(i)].PosWindow(A->ValeurCourante);
  if (surface_) Graphe->TraceCurseurs(*surface_);
  vue_.DemandeRepeindre();
}

void TCinetiqueMain::TimerWTW1Timer() {
  TimerWTW2->SetActif(true);
  CaractereWTW = 1;
  LigneWTW = 0;
}

void TCinetiqueMain::TimerWTW2Timer() {
  TriggerAvail(nullptr, static_cast<std::uint16_t>(OctetsDuTopWTW(LigneWTW, CaractereWTW)));
  if (!SuiteWTW(LigneWTW, CaractereWTW)) TimerWTW2->SetActif(false);
}
