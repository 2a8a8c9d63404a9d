// Rules of the acquisition mode dialog.
#include "dialogs/balayage.h"

#include <algorithm>
#include <cmath>

#include "core/cinetique.h"
#include "core/configuration.h"
#include "dialogs/formats_dialogue.h"
#include "instruments/base_appareils.h"
#include "instruments/burette.h"
#include "links/erreur_serie.h"
#include "util/cp1252.h"
#include "util/durees.h"
#include "util/nombres.h"

TBalayageDlg::TBalayageDlg(TCinetiqueMain& moteur) : moteur_(moteur) {}

std::string TBalayageDlg::MessageDureeIncorrecte(const std::string& texte) {
  return "'" + texte + "' n'est pas une heure correcte";
}

void TBalayageDlg::FormCreate() {
  TraceCB = LitTraceActive(moteur_.Plateforme().reglages);
  moteur_.TraceCB = TraceCB;
}

void TBalayageDlg::FormClose() {
  EcritTraceActive(moteur_.Plateforme().reglages, TraceCB);
  moteur_.TraceCB = TraceCB;
}

void TBalayageDlg::FormActivate() {
  // Each showing reports its own changes: a change reported once and kept would make
  // every later OK prepare a new acquisition, emptying the table without a question.
  modification = false;
  DeltatLabel = CaptionDeltat;
  oldDeltat = moteur_.DeltatMesure;
  oldDuree = moteur_.DureeMesure;
  moteur_.SetRS232RG(ComPortsBuretteRS232.items, ComPortsBuretteRS232.itemIndex, ComPortsBuretteRS232.caption,
                     moteur_.Burette().ComNumber);
  const Tmonde& X = moteur_.Graphe->mondeX;
  EditNom = X.Nom;
  EditUnite = X.Unite;
  EditMin = TexteReelDialogue(X.mini);
  EditMax = TexteReelDialogue(X.maxi);
  DeltatSpinMin = std::max<int>(moteur_.DeltatMin, 1);
  DeltatSpinMax = std::max(60, DeltatSpinMin);
  ModeAcqRG = moteur_.ModeAcq;
  NoteBookPage = ModeAcqRG;
  // From the interval the spin shows, the one it had when the dialog was last closed.
  MajTemps();
  SoundCB = std::clamp<int>(moteur_.CodeBeep, 0, static_cast<int>(ItemsSound.size()) - 1);
  AbscisseMaitreRG = moteur_.Graphe->AbscisseMaitre;
  Notifie();
}

void TBalayageDlg::ModeAcqRGClick(int index) {
  if (index < 0 || index >= NbreModesAcq) return;
  ModeAcqRG = index;
  NoteBookPage = index;
  Notifie();
}

void TBalayageDlg::DeltatSpinChange(int valeur) {
  DeltatSpin = std::clamp(valeur, DeltatSpinMin, DeltatSpinMax);
  MajTemps();
}

void TBalayageDlg::AjusteIntervalle() {
  // The interval stays within what the channels can be polled at and 60 s, and the
  // duration within 8..2048 intervals.
  moteur_.AjusteIntervalles();
}

void TBalayageDlg::MajTemps() {
  Dt = DeltatSpin;
  if (Dt < moteur_.DeltatMin) {
    Dt = moteur_.DeltatMin;
    DeltatSpin = Dt;
  }
  const std::int32_t duree = moteur_.DureeMesure;
  NbrePointsMax = duree / std::max(Dt, 1);
  if (NbrePointsMax > MaxPoints) Dt = duree / (MaxPoints + 1) + 1;
  else if (NbrePointsMax < 8) Dt = std::max(duree / 8, 1);
  Dt = std::clamp(Dt, std::max<std::int32_t>(moteur_.DeltatMin, 1), std::max<std::int32_t>(60, moteur_.DeltatMin));
  moteur_.DeltatMesure = static_cast<std::uint16_t>(Dt);
  AjusteIntervalle();
  AfficheBaseDeTemps();
}

void TBalayageDlg::AfficheBaseDeTemps() {
  const int deltat = std::max<int>(moteur_.DeltatMesure, 1);
  NbrePointsMax = moteur_.DureeMesure / deltat;
  Duree = TexteDuree(moteur_.Plateforme().regional, moteur_.DureeMesure);
  NombreLabel = "N=" + std::to_string(NbrePointsMax);
  if (DeltatSpin != deltat) {
    DeltatSpin = deltat;
    MajTemps();
    return;
  }
  Notifie();
}

void TBalayageDlg::DureeSBUpClick() {
  AugmenteDuree(moteur_.DureeMesure);
  DureeSBClick();
}

void TBalayageDlg::DureeSBDownClick() {
  DiminueDuree(moteur_.DureeMesure);
  DureeSBClick();
}

void TBalayageDlg::DureeSBClick() {
  ArrondiDuree(moteur_.DureeMesure);
  AjusteIntervalle();
  AfficheBaseDeTemps();
}

void TBalayageDlg::DureeKeyPress(char32_t& touche) {
  if (touche == 13) {
    touche = 0;
    DureeExit();
    return;
  }
  if (!CaractereDureeAdmis(touche)) touche = 0;
}

bool TBalayageDlg::DureeExit() {
  const auto secondes = LitDuree(Duree);
  if (!secondes) {
    moteur_.Plateforme().dialogue.Erreur(MessageDureeIncorrecte(Duree));
    AfficheBaseDeTemps();
    return false;
  }
  // A typed duration is fitted like a stepped one: the table holds 2048 points.
  moteur_.DureeMesure = *secondes;
  AjusteIntervalle();
  AfficheBaseDeTemps();
  return true;
}

void TBalayageDlg::SoundCBChange(int index) {
  SoundCB = std::clamp(index, 0, static_cast<int>(ItemsSound.size()) - 1);
  moteur_.CodeBeep = SoundCB;
}

void TBalayageDlg::SoundBtnClick() {
  if (moteur_.CodeBeep > 0 && moteur_.CodeBeep <= 6)
    moteur_.Plateforme().dialogue.Bip(static_cast<TBip>(moteur_.CodeBeep - 1));
}

void TBalayageDlg::TestBuretteBtnClick() {
  if (!ComPortsBuretteRS232.Choisi()) {
    TestBuretteLabel = PasDePort;
    Notifie();
    return;
  }
  TestBuretteBtnEnabled = false;
  Notifie();
  TVueModele& vue = moteur_.Vue();
  vue.SetSablier(true);
  TburetteRS232& B = moteur_.Burette();
  try {
    const int com = moteur_.NumeroCom(ComPortsBuretteRS232.itemIndex);
    B.ComNumber = static_cast<std::uint16_t>(com);
    TPortSerie* port = com >= 1 && com <= TCinetiqueMain::NbreComs ? moteur_.voieSerieCin[static_cast<std::size_t>(com)].get() : nullptr;
    B.VoieSerie = port;
    if (port && !port->Open()) {
      port->SetBaud(B.Baud);
      port->SetDataBits(B.DataBits);
      port->SetStopBits(B.StopBits);
      port->SetParity(static_cast<TParity>(B.Parite));
      port->SetSWFlowOptions(B.XonXoff ? swfBoth : swfNone);
      port->SetHWFlowOptions(B.RTSCTS ? THWFlowOptions{hwfUseRTS, hwfRequireCTS} : THWFlowOptions{});
      port->SetOpen(true);
      const TTraceLogState etat = TraceCB ? tlOn : tlOff;
      port->SetTracing(etat);
      port->SetLogging(etat);
      TBoucleEvenements& boucle = moteur_.Plateforme().boucle;
      const std::int64_t fin = boucle.Millisecondes() + PauseOuvertureMs;
      for (std::int64_t reste = PauseOuvertureMs; reste > 0; reste = fin - boucle.Millisecondes())
        boucle.TraiteEvenements(static_cast<int>(reste));
    }
    if (!port || !port->Open()) {
      B.VoieSerie = nullptr;
      TestBuretteLabel = ProblemePort;
    } else if (B.initBurette()) {
      B.VoieSerieOK = true;
      TestBuretteLabel = Cp1252VersUtf8(B.identification);
    } else {
      TestBuretteLabel = B.erreurInit;
    }
  } catch (const EPortSerie&) {
    B.VoieSerie = nullptr;
    TestBuretteLabel = ProblemePort;
  }
  vue.SetSablier(false);
  TestBuretteBtnEnabled = true;
  Notifie();
}

void TBalayageDlg::configBuretteBtnClick() {
  if (ReglageBurette) ReglageBurette();
}

void TBalayageDlg::ModificationClick() { modification = true; }

void TBalayageDlg::HelpBtnClick() {
  if (Aide) Aide(ContexteAide);
}

bool TBalayageDlg::OKBtnClick() {
  // The duration is read first: a text that is no duration leaves everything as it was.
  const auto d = LitDuree(Duree);
  if (!d) {
    moteur_.Plateforme().dialogue.Erreur(MessageDureeIncorrecte(Duree));
    AfficheBaseDeTemps();
    return false;
  }
  const auto mode = static_cast<TModeAcq>(std::clamp(ModeAcqRG, 0, NbreModesAcq - 1));
  modification = modification || moteur_.ModeAcq != mode;
  moteur_.ModeAcq = mode;
  if (ComPortsBuretteRS232.Choisi())
    moteur_.Burette().ComNumber = static_cast<std::uint16_t>(moteur_.NumeroCom(ComPortsBuretteRS232.itemIndex));
  if (mode == maTemps) modification = modification || DeltatSpin != oldDeltat || *d != oldDuree;
  moteur_.DeltatMesure = static_cast<std::uint16_t>(std::max(DeltatSpin, 1));
  moteur_.DureeMesure = *d;
  AjusteIntervalle();
  moteur_.Burette().prefixe = "01";
  if (mode == maClavier) {
    Tmonde& X = moteur_.Graphe->mondeX;
    X.Nom = EditNom;
    X.Unite = EditUnite;
    X.mini = LitNombreDefaut(EditMin, 0);
    X.maxi = LitNombreDefaut(EditMax, 5);
    OrdonneBornes(X.mini, X.maxi);
  }
  moteur_.Graphe->AbscisseMaitre =
      mode == maAppareilMaitre ? static_cast<TabscisseMaitre>(std::clamp(AbscisseMaitreRG, 0, 2)) : amTemps;
  return true;
}
