// The acquisition state machine and the recording: "Acquérir", "Stop", "RàZ", the
// recording step of each mode, the keyboard entry, the duration and interval rules of
// the time base, and the titration that drives the burette.
#include <algorithm>
#include <cmath>

#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "instruments/base_appareils.h"
#include "instruments/burette.h"
#include "util/durees.h"
#include "util/nombres.h"
#include "util/regional_courant.h"
#include "util/textes.h"

namespace {
constexpr std::int32_t DureeMaxi = 60 * MaxPoints;
}  // namespace

double TCinetiqueMain::EcartDebut(double instant) const {
  // Whole date-times, so an overnight run does not jump back by a day.
  return std::round((instant - InstantDebut) * MillisecondesParJour) / 1000.0;
}

void TCinetiqueMain::AfficheTemps(double secondes) {
  vue_.SetCaption(ctl::PanelDuree, plateforme_.regional.HeureLongue(std::max(secondes, 0.0) / 86400.0));
}

void TCinetiqueMain::SetEtatAcq(TEtatAcquisition e) {
  EtatAcq = e;
  const int N = Graphe->NbrePoints;
  switch (e) {
    case eaEnCours:
    case eaNone: vue_.SetEnabled(ctl::EnregistreBtn, false); break;
    case eaTerminee:
      if (ModeAcq == maTemps) vue_.SetEnabled(ctl::EnregistreBtn, N == 0);
      else if (ModeAcq == maAppareilMaitre || ModeAcq == maBuretteRS232) vue_.SetEnabled(ctl::EnregistreBtn, false);
      break;
    case eaAttente:
    case eaIncrement:
    case eaClavier: vue_.SetEnabled(ctl::EnregistreBtn, NbreVoies() > 0); break;
  }
  vue_.SetEnabled(ctl::ResetBtn, (e == eaTerminee || e == eaIncrement || e == eaClavier) && N > 0);
  vue_.SetEnabled(ctl::StopBtn, e == eaEnCours);
  vue_.SetEnabled(ctl::RepereBtn, e == eaEnCours || e == eaIncrement || e == eaClavier);
  vue_.SetEnabled(ctl::NouveauFichierItem, N > 2);
  vue_.SetEnabled(ctl::TraSaveBtn, N > 2);
  vue_.SetEnabled(ctl::CopyBtn, N > 2);
  vue_.SetEnabled(ctl::UndoBtn, false);
  vue_.SetVisible(ctl::PanelTemps, ModeAcq == maTemps);
  int intervalle = DeltatMin * 1000;
  if (e == eaEnCours) {
    if (ModeAcq == maAppareilMaitre) intervalle = 1000;
    else if (ModeAcq == maBuretteRS232) intervalle = 500;
    else intervalle = DeltatMesure * 1000;
    intervalle = std::max(intervalle, DeltatMin * 1000);
  }
  Timer->SetIntervalle(intervalle);
  // In the master-channel mode the master's frames drive the loop; the tick there only
  // watches the ports, so that a master pulled out and put back is used again.
  Timer->SetActif(NbreVoies() > 0 && e != eaNone);
  Reponse = true;
  cycleInacheve_ = false;
  if (e == eaClavier) {
    vue_.SetTexte(ctl::ClavierEdit, "");
    vue_.SetFocus(ctl::ClavierEdit);
    vue_.SetCaption(ctl::ClavierGB, "Clavier=" + Graphe->mondeX.Nom + "/" + Graphe->mondeX.Unite);
  }
}

void TCinetiqueMain::EnregistreBtnClick() {
  Tappareil* A0 = Voie(0);
  InstantDebut = A0 && A0->EnvoiDirect && dateReception != 0 ? dateReception : Maintenant();
  erreurCopieSignalee_ = false;
  switch (ModeAcq) {
    case maTemps:
      envoiDirectGlb = false;
      for (int i = 0; i < NbreVoies(); ++i)
        if (Voie(i) && Voie(i)->EnvoiDirect) envoiDirectGlb = true;
      SetEtatAcq(eaEnCours);
      vue_.Grille().SetLigneHaut(2);
      // The simulated instrument replays from its first line, first character.
      LigneWTW = 0;
      CaractereWTW = 1;
      TimerTimer();
      break;
    case maIncrement:
      if (EtatAcq == eaAttente) SetEtatAcq(eaIncrement);
      else if (EtatAcq == eaIncrement) AjoutePoint();
      break;
    case maAppareilMaitre:
      AjoutePoint();
      SetEtatAcq(eaEnCours);
      break;
    case maClavier: SetEtatAcq(eaClavier); break;
    case maBuretteRS232: {
      TburetteRS232& B = Burette();
      // Back from a lost line while waiting: identified again before it dispenses.
      if (!B.Initialisee() && !PrepareBurette()) return;
      Timer->SetActif(false);
      SetEtatAcq(eaEnCours);
      Graphe->NbrePoints = 0;
      ++dansAttente_;
      B.reset();
      --dansAttente_;
      vue_.SetCaption(ctl::PanelDuree, "");
      AjoutePoint();
      if (EtatAcq == eaEnCours) Verse(B.VolumeMin);
      if (EtatAcq == eaEnCours) Timer->SetActif(true);
      vue_.Grille().SetLigneHaut(2);
      break;
    }
  }
  NbrePointsSauves = 0;
}

void TCinetiqueMain::StopBtnClick() {
  if (ModeAcq == maBuretteRS232 && EtatAcq == eaEnCours && NbreVoies() > 0) Timer->SetActif(true);
  if (Graphe->NbrePoints < 3) ResetBtnClick();
  else SetEtatAcq(eaTerminee);
}

void TCinetiqueMain::ResetBtnClick() {
  if (Graphe->NbrePoints >= 3 && !Confirmation(plateforme_.dialogue, "Suppression de toutes les données")) return;
  VideTableau(true);
  if (ModeAcq == maIncrement) SetEtatAcq(eaIncrement);
  else if (ModeAcq == maClavier) SetEtatAcq(eaClavier);
  else if (ModeAcq == maBuretteRS232) PrepareBurette();
  else SetEtatAcq(eaAttente);
  vue_.SetCaption(ctl::PanelDuree, "");
}

void TCinetiqueMain::AjoutePoint() {
  const int N = Graphe->NbrePoints;
  Tmonde& X = Graphe->mondeX;
  // The table holds 2048 points in every mode; a full time base ends here.
  if (N >= MaxPoints) {
    if (EtatAcq == eaEnCours) FinAcquisition();
    return;
  }
  auto& x = X.valeur;
  const auto n = static_cast<std::size_t>(N);
  Tappareil* A0 = Voie(0);
  const double maintenant = Maintenant();
  const TEtatAcquisition etatAvant = EtatAcq;
  const bool parReception = A0 && A0->EnvoiDirect && dateReception != 0;
  double t = 0;
  bool accepte = true;
  switch (ModeAcq) {
    case maTemps: {
      t = std::nearbyint(EcartDebut(parReception ? dateReception : maintenant));
      x[n] = t;
      AfficheTemps(EcartDebut(maintenant));
      const bool fichier = x[n] > DureeMesure / 8.0 || N > 16;
      vue_.SetEnabled(ctl::NouveauFichierItem, fichier);
      vue_.SetEnabled(ctl::TraSaveBtn, fichier);
      vue_.SetEnabled(ctl::CopyBtn, fichier);
      accepte = t >= static_cast<double>(N) * DeltatMesure;
      break;
    }
    case maIncrement:
      vue_.SetCaption(ctl::PanelDuree, std::to_string(N + 1));
      if (X.maxi < N + 16) {
        X.maxi += 16;
        Repeindre();
      }
      break;
    case maAppareilMaitre:
      if (Graphe->AbscisseMaitre == amTemps) {
        const double instant = dateReception != 0 ? dateReception : maintenant;
        x[n] = std::nearbyint(EcartDebut(instant));
        AfficheTemps(EcartDebut(instant));
        if (x[n] > X.maxi) {
          X.maxi = 1.5 * x[n];
          Repeindre();
        }
        accepte = N == 0 || x[n - 1] <= x[n];
      } else if (Graphe->AbscisseMaitre == amIndex) {
        vue_.SetCaption(ctl::PanelDuree, std::to_string(N + 1));
        if (X.maxi < N + 16) {
          X.maxi += 16;
          Repeindre();
        }
      } else if (Tappareil* M = Voie(Graphe->voieMaitre)) {
        vue_.SetCaption(ctl::PanelDuree, M->SymboleGrandeur + "=" + M->FormatApp(M->ValeurCourante) + " " + M->UniteGrandeur);
        x[n] = M->ValeurCourante;
      }
      break;
    case maClavier:
      if (surface_) Graphe->TraceCurseurs(*surface_);
      x[n] = valeurClavier;
      x[n + 1] = valeurClavier;
      X.PosCurseur = X.PosWindow(valeurClavier);
      if (surface_) Graphe->TraceCurseurs(*surface_);
      break;
    case maBuretteRS232: {
      TburetteRS232& B = Burette();
      x[n] = B.ValeurCourante;
      if (B.ValeurCourante > 0.95 * B.ValMaxi) SetEtatAcq(eaTerminee);
      break;
    }
  }
  for (int i = 0; i < NbreVoies(); ++i)
    if (!Voie(i) || std::isnan(Voie(i)->ValeurCourante)) accepte = false;
  if (accepte) AjouteLigne(N, 7, true);
  const int N2 = Graphe->NbrePoints;
  const bool fin = N2 >= MaxPoints || (ModeAcq == maTemps && EcartDebut(maintenant) > DureeMesure);
  if (fin) SetEtatAcq(eaTerminee);
  if (EtatAcq == eaTerminee && etatAvant != eaTerminee) FinAcquisition();
  if (ModeAcq == maClavier) {
    if (accepte) vue_.SetTexte(ctl::ClavierEdit, "");
    vue_.SetFocus(ctl::ClavierEdit);
  }
  if (ModeAcq != maTemps) ActiveApresPoint();
  if (ModeAcq == maBuretteRS232 && Graphe->NbrePoints >= MaxPoints) DivisePoints();
  MajCopieTexte();
  dernierPointAccepte_ = accepte;
}

void TCinetiqueMain::FinAcquisition() {
  if (EtatAcq != eaTerminee) SetEtatAcq(eaTerminee);
  if (AppelTracoria && Dialogues.EnvoieTableauAnalyse) Dialogues.EnvoieTableauAnalyse();
  AppelTracoria = false;
}

void TCinetiqueMain::ActiveApresPoint() {
  const int N = Graphe->NbrePoints;
  vue_.SetEnabled(ctl::UndoBtn, N > 0 && ModeAcq != maBuretteRS232);
  vue_.SetEnabled(ctl::NouveauFichierItem, N > 2);
  vue_.SetEnabled(ctl::TraSaveBtn, N > 2);
  vue_.SetEnabled(ctl::CopyBtn, N > 2);
  vue_.SetEnabled(ctl::ResetBtn, (EtatAcq == eaTerminee || EtatAcq == eaIncrement || EtatAcq == eaClavier) && N > 0);
}

void TCinetiqueMain::FormKeyPress(char32_t& touche) {
  // The space bar acts as "Acquérir" only while that button is enabled; otherwise it
  // would restart a running time base or empty a running titration.
  if (touche == U' ' && vue_.Controle(ctl::EnregistreBtn).enabled) EnregistreBtnClick();
  touche = 0;
}

void TCinetiqueMain::ClavierEditKeyPress(char32_t& touche) {
  if (touche == 13) {
    touche = 0;
    ValideClavierBtnClick();
    return;
  }
  static const std::u32string permis = U"\b\f%'+,-.0123456789Ee";
  if (touche > 255 || permis.find(touche) == std::u32string::npos) touche = 0;
}

void TCinetiqueMain::ValideClavierBtnClick() {
  if (ValideClavier()) AjoutePointClavier();
}

bool TCinetiqueMain::ValideClavier() {
  Tmonde& M = Graphe->mondeX;
  const double v = LitNombre(vue_.Texte(ctl::ClavierEdit));
  valeurClavier = v;
  if (std::isnan(v)) {
    plateforme_.dialogue.Information("Nombre mal écrit");
    vue_.SetFocus(ctl::ClavierEdit);
    return false;
  }
  if (v > M.maxi) {
    if (!Confirmation(plateforme_.dialogue, FormatNombreCourt(v) + " > maxi=" + FormatNombreCourt(M.maxi) + "\r\nVous confirmez ?")) {
      vue_.SetFocus(ctl::ClavierEdit);
      return false;
    }
    M.maxi = v + (M.maxi - M.mini) / 10;
    Repeindre();
  }
  if (M.mini > v) {
    if (!Confirmation(plateforme_.dialogue, FormatNombreCourt(v) + " < mini=" + FormatNombreCourt(M.mini) + "\r\nVous confirmez ?")) {
      vue_.SetFocus(ctl::ClavierEdit);
      return false;
    }
    M.mini = v - (M.maxi - M.mini) / 10;
    Repeindre();
  }
  return true;
}

void TCinetiqueMain::AjoutePointClavier() {
  // A typed value makes a point only while the keyboard mode is armed.
  if (EtatAcq != eaClavier) return;
  const int N = Graphe->NbrePoints;
  if (N >= MaxPoints) return;
  Tmonde& X = Graphe->mondeX;
  const double v = valeurClavier;
  if (surface_) Graphe->TraceCurseurs(*surface_);
  X.valeur[static_cast<std::size_t>(N)] = v;
  X.valeur[static_cast<std::size_t>(N + 1)] = v;
  X.PosCurseur = X.PosWindow(v);
  if (surface_) Graphe->TraceCurseurs(*surface_);
  bool complet = true;
  for (int i = 0; i < NbreVoies(); ++i)
    if (!Voie(i) || std::isnan(Voie(i)->ValeurCourante)) complet = false;
  if (complet) AjouteLigne(N, 5, false);
  if (Graphe->NbrePoints >= MaxPoints) FinAcquisition();
  vue_.SetTexte(ctl::ClavierEdit, "");
  vue_.SetFocus(ctl::ClavierEdit);
  const int n = Graphe->NbrePoints;
  vue_.SetEnabled(ctl::UndoBtn, n > 0);
  vue_.SetEnabled(ctl::NouveauFichierItem, n > 2);
  vue_.SetEnabled(ctl::TraSaveBtn, n > 2);
  vue_.SetEnabled(ctl::CopyBtn, n > 2);
  vue_.SetEnabled(ctl::ResetBtn, n > 0);
  MajCopieTexte();
}

void TCinetiqueMain::Beep() {
  if (CodeBeep >= 1 && CodeBeep <= 6) plateforme_.dialogue.Bip(static_cast<TBip>(CodeBeep - 1));
}

// ---- titration

bool TCinetiqueMain::PrepareBurette() {
  TburetteRS232& B = Burette();
  vue_.SetSablier(true);
  Timer->SetActif(false);
  bool resultat = true;
  TPortSerie* p = Port(B.ComNumber);
  if (!p || !p->Open() || B.VoieSerie == nullptr) {
    B.VoieSerieOK = setVoieSerieApp(B);
    if (!B.VoieSerieOK) {
      plateforme_.dialogue.Information("Problème voie série Burette");
      resultat = false;
    }
  }
  // The burette is initialised once its port is bound, also when the preparation
  // opened that port just before.
  if (resultat && !B.Initialisee()) {
    if (TPortSerie* q = Port(B.ComNumber)) q->SetOnTriggerAvail({});
    ++dansAttente_;
    resultat = B.initBurette();
    --dansAttente_;
    // The capacity is known only now: the volume axis follows it.
    if (resultat && ModeAcq == maBuretteRS232) {
      Graphe->mondeX.maxi = B.ValMaxi;
      Repeindre();
    }
  }
  if (!resultat && !B.erreurInit.empty()) plateforme_.dialogue.Information(B.erreurInit);
  for (int i = 0; i < NbreVoies(); ++i)
    if (Voie(i)) Voie(i)->Derive = B.ecartStable;
  B.ValeurCourante = 0;
  Timer->SetActif(NbreVoies() > 0);
  vue_.SetSablier(false);
  vue_.SetCaption(ctl::PanelDuree, "");
  SetEtatAcq(eaAttente);
  return resultat;
}

bool TCinetiqueMain::Verse(double dv) {
  TburetteRS232& B = Burette();
  ++dansAttente_;
  vue_.SetSablier(true);
  const bool ok = B.verse(dv);
  vue_.SetSablier(false);
  --dansAttente_;
  // A burette that cannot take the command ends the titration: nothing is dispensed blind.
  if (!ok) FinTitrage(!B.erreurDialogue.empty() ? B.erreurDialogue : "Problème voie série Burette");
  return ok;
}

double TCinetiqueMain::VolumeBurette() {
  TburetteRS232& B = Burette();
  ++dansAttente_;
  const double v = B.volume();
  --dansAttente_;
  if (B.Muette()) FinTitrage(B.erreurDialogue);
  return v;
}

void TCinetiqueMain::FinTitrage(const std::string& raison) {
  if (ModeAcq != maBuretteRS232 || EtatAcq != eaEnCours) return;
  // The live values go on; what was recorded stays.
  FinAcquisition();
  ++dansAttente_;
  plateforme_.dialogue.Information(raison);
  --dansAttente_;
}

void TCinetiqueMain::PasBurette() {
  if (EtatAcq != eaEnCours || ModeAcq != maBuretteRS232) return;
  TburetteRS232& B = Burette();
  if (B.busy) return;  // refilling or dispensing: the step waits for the next cycle
  Timer->SetActif(false);
  const int N = Graphe->NbrePoints;
  const double dernier = N > 0 ? Graphe->mondeX.valeur[static_cast<std::size_t>(N - 1)] : 0.0;
  const double w = VolumeBurette();
  if (EtatAcq == eaEnCours && !std::isnan(w) && w >= B.VolumeMin / 2 + dernier) {
    B.ValeurCourante = w;
    AjoutePoint();
    if (dernierPointAccepte_ && EtatAcq == eaEnCours) {
      const double dv = B.modeIncrement
                            ? B.incrementVolume
                            : B.deltaY(Graphe->mondeY[0].valeur, Graphe->mondeX.valeur, Graphe->NbrePoints);
      if (Verse(dv)) {
        for (int i = 0; i < NbreVoies(); ++i)
          if (Voie(i)) Voie(i)->ResetStabilite();
        B.ValeurCourante = VolumeBurette();
      }
    }
  }
  if (EtatAcq == eaEnCours) Timer->SetActif(true);
}

void TCinetiqueMain::BuretteBtnClick() {
  if (Dialogues.ReglageBurette) Dialogues.ReglageBurette();
}

// ---- time base

void TCinetiqueMain::AfficheDuree() {
  vue_.SetCaption(ctl::DureeEdit, TexteDuree(plateforme_.regional, DureeMesure));
  vue_.SetCaption(ctl::NombreLabel, "N=" + std::to_string(DureeMesure / std::max<int>(DeltatMesure, 1)));
  vue_.SetValeur(ctl::DeltatSE, DeltatMesure);
  if (ModeAcq == maTemps) {
    Graphe->mondeX.maxi = DureeMesure;
    Timer->SetIntervalle((EtatAcq == eaEnCours ? DeltatMesure : DeltatMin) * 1000);
  }
  Repeindre();
}

void TCinetiqueMain::AjusteIntervalles() {
  auto n = [this] { return DureeMesure / std::max<int>(DeltatMesure, 1); };
  while (n() > MaxPoints) {
    if (DeltatMesure < 60) ++DeltatMesure;
    else DureeMesure = DeltatMesure * MaxPoints;
  }
  while (n() < 8) {
    if (DeltatMesure > DeltatMin && DeltatMesure > 1) --DeltatMesure;
    else DureeMesure = DeltatMesure * 8;
  }
}

void TCinetiqueMain::AjusteDuree() {
  ArrondiDuree(DureeMesure);
  AjusteIntervalles();
  AfficheDuree();
}

void TCinetiqueMain::DeltatSEChange(int valeur) {
  DeltatMesure = static_cast<std::uint16_t>(std::clamp<int>(valeur, std::max<int>(DeltatMin, 1), 60));
  const int n = DureeMesure / DeltatMesure;
  if (n < 8) DeltatMesure = static_cast<std::uint16_t>(std::max(DureeMesure / 8, 1));
  else if (n > MaxPoints) DeltatMesure = static_cast<std::uint16_t>(DureeMesure / 2049 + 1);
  AfficheDuree();
}

void TCinetiqueMain::DureeSBDownClick() {
  DiminueDuree(DureeMesure);
  AjusteDuree();
}

void TCinetiqueMain::DureeSBUpClick() {
  if (EtatAcq != eaEnCours) {
    AugmenteDuree(DureeMesure);
    AjusteDuree();
    return;
  }
  // While running: double the duration, keeping at most 2048 intervals of at most 60 s.
  DureeMesure = std::min(DureeMesure * 2, DureeMaxi);
  if (DureeMesure / DeltatMesure > MaxPoints) {
    if (DeltatMesure * 2 <= 60) {
      DeltatMesure = static_cast<std::uint16_t>(DeltatMesure * 2);
      const int N = Graphe->NbrePoints / 2;
      for (int k = 1; k < N; ++k) {
        const auto s = static_cast<std::size_t>(2 * k), d = static_cast<std::size_t>(k);
        Graphe->mondeX.valeur[d] = Graphe->mondeX.valeur[s];
        for (int v = 0; v < NbreVoies(); ++v) {
          Graphe->mondeY[static_cast<std::size_t>(v)].valeur[d] = Graphe->mondeY[static_cast<std::size_t>(v)].valeur[s];
          if (Tappareil* A = Voie(v))
            vue_.Grille().SetCellule(v + 1, k + 2, FormatGeneral(Graphe->mondeY[static_cast<std::size_t>(v)].valeur[d], A->Precision, 2, SeparateurDecimal()));
        }
        vue_.Grille().SetCellule(0, k + 2, FormatGeneral(Graphe->mondeX.valeur[d], 7, 2, SeparateurDecimal()));
      }
      if (Graphe->NbrePoints > 1) {
        vue_.Grille().VideLignes(N + 2);
        Graphe->NbrePoints = static_cast<indiceVecteur>(N);
      }
      for (int k = Graphe->NbrePoints; k <= MaxPoints; ++k)
        Graphe->mondeX.valeur[static_cast<std::size_t>(k)] = static_cast<double>(k) * DeltatMesure;
      vue_.GrilleChangee();
    } else {
      DureeMesure = DeltatMesure * MaxPoints;
    }
  }
  AfficheDuree();
}

void TCinetiqueMain::DureeEditKeyPress(char32_t& touche) {
  if (touche == 13) {
    touche = 0;
    DureeEditExit();
    return;
  }
  if (!CaractereDureeAdmis(touche)) touche = 0;
}

void TCinetiqueMain::DureeEditExit() {
  const std::string texte = vue_.Texte(ctl::DureeEdit);
  const auto secondes = LitDuree(texte);
  if (!secondes) {
    plateforme_.dialogue.Erreur("'" + texte + "' n'est pas une heure correcte");
    AfficheDuree();
    return;
  }
  // A typed duration is fitted like any other: at least 8 and at most 2048 intervals.
  DureeMesure = *secondes;
  AjusteIntervalles();
  AfficheDuree();
}

// ---- dialogs

void TCinetiqueMain::AcquisitionItemClick() {
  if (!dataSaved && !Confirmation(plateforme_.dialogue, "Suppression des données")) return;
  SuspendAcq();
  const bool modifie = Dialogues.ModeAcquisition && Dialogues.ModeAcquisition();
  if (modifie) {
    vue_.SetValeur(ctl::DeltatSE, DeltatMesure);
    vue_.SetCaption(ctl::DureeEdit, TexteDuree(plateforme_.regional, DureeMesure));
    InitAttente();
  } else {
    ReprendAcq();
    Reponse = true;
  }
  Trace(TraceCB ? tlOn : tlDump);
}

void TCinetiqueMain::ClavierGBClick() {
  SuspendAcq();
  if (Dialogues.ModeAcquisition && Dialogues.ModeAcquisition()) {
    InitAttente();
  } else {
    ReprendAcq();
    Reponse = true;
  }
}

void TCinetiqueMain::AddAppItemClick() {
  if (Graphe->NbrePoints > 0 && !dataSaved && !Confirmation(plateforme_.dialogue, "Perte des données courantes ?"))
    return;
  SuspendAcq();
  if (Dialogues.ChoixAppareils && Dialogues.ChoixAppareils()) InitAttente();
  else ReprendAcq();
}
