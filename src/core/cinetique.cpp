// The engine's life: creation, preparation of an acquisition, binding of instruments
// to their ports, suspension around dialogs, USB meters, and shut-down.
#include "core/cinetique.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/noms_controles.h"
#include "instruments/base_appareils.h"
#include "instruments/burette.h"
#include "plot/couleurs.h"
#include "util/durees.h"
#include "util/nombres.h"
#include "util/textes.h"

namespace {
const std::string CleRecents = "Software\\RS232\\AppareilRecent";
const std::string CleTrace = "Software\\RS232\\FichierTrace";
}  // namespace

TCinetiqueMain::TCinetiqueMain(TPlateforme& plateforme, TBaseAppareils& base, TTablePorts& table,
                               TAdaptateurs* adaptateurs)
    : plateforme_(plateforme), base_(base), table_(table), adaptateurs_(adaptateurs ? *adaptateurs : adaptateursNuls_) {
  NumeroComTable.fill(1);
  Graphe = std::make_unique<Tgraphe>();
  Timer = plateforme_.boucle.CreeMinuterie();
  Timer->SetIntervalle(5000);
  Timer->SetRappel([this] { TimerTimer(); });
  TimerWTW1 = plateforme_.boucle.CreeMinuterie();
  TimerWTW1->SetIntervalle(2000);
  TimerWTW1->SetRappel([this] { TimerWTW1Timer(); });
  TimerWTW2 = plateforme_.boucle.CreeMinuterie();
  TimerWTW2->SetIntervalle(20);
  TimerWTW2->SetRappel([this] { TimerWTW2Timer(); });
}

TCinetiqueMain::~TCinetiqueMain() { FormDestroy(); }

TburetteRS232& TCinetiqueMain::Burette() { return base_.Burette(); }

TPortSerie* TCinetiqueMain::Port(int com) const {
  // A COM number outside 1..50, from a device file or a configuration, names no port.
  if (com < 1 || com > NbreComs) return nullptr;
  return voieSerieCin[static_cast<std::size_t>(com)].get();
}

double TCinetiqueMain::Maintenant() const { return plateforme_.boucle.DateHeure(); }

void TCinetiqueMain::SetNbreVoies(int n) { Graphe->NbreVoies = std::clamp(n, 0, NbreVoiesMax); }

void TCinetiqueMain::FormCreate() {
  vue_.SetVisible(ctl::HelpBtn, std::filesystem::exists(base_.NomFichierAide()));
  OldAppareilAcq.clear();
  dataSaved = true;
  PremiereFois = true;
  PleinEcran = false;
  EtatAcq = eaNone;
  ModeAcq = maTemps;
  ImageMode();
  PagePermise = false;
  DeltatMesure = 1;
  DureeMesure = 120;
  dateReception = 0;
  DeltatMin = 1;
  AppelTracoria = false;
  CodeBeep = 0;
  InstantDebut = Maintenant();

  const TReglages& r = plateforme_.reglages;
  ListeAppRecent = r.LitBooleen(CleRecents, "Liste", true);
  const int n = r.LitEntier(CleRecents, "Nombre", 0);
  for (int i = 0; i < n; ++i) {
    const std::string nom = r.LitTexte(CleRecents, "N" + std::to_string(i), "");
    if (!nom.empty()) OldAppareilAcq.insert(nom);
  }
  indexFichierTrace = r.LitEntier(CleTrace, "Index", 0) + 1;
  if (indexFichierTrace > 16 || indexFichierTrace < 0) indexFichierTrace = 0;
  TraceCB = r.LitBooleen(CleTrace, "Actif", true);

  const char lettre = static_cast<char>('a' + indexFichierTrace);
  for (int com = 1; com <= NbreComs; ++com) {
    auto port = std::make_unique<TPortSerie>(*plateforme_.serie, plateforme_.boucle, table_,
                                             static_cast<std::uint16_t>(com));
    port->SetAutoOpen(false);
    port->SetOnTriggerAvail({this, [this](TPortSerie* cp, std::uint16_t count) { TriggerAvail(cp, count); }});
    port->SetOnPerte([this](TPortSerie* cp, const std::string& message) { PortPerdu(cp, message); });
    const std::string base = "rs232-" + std::to_string(com) + "-" + lettre;
    port->SetLogName(base + ".log");
    port->SetTraceName(base + ".trc");
    port->SetTraceSize(32000);
    port->SetLogSize(64000);
    voieSerieCin[static_cast<std::size_t>(com)] = std::move(port);
  }
  NumeroComTable.fill(1);
  RecueilleVoies();
  vue_.SetCaption(ctl::DeltaLabel, "δt(s)");
  vue_.SetCaption(ctl::LabelPb, "");
  vue_.SetCaption(ctl::PanelDuree, "00:00:00");
  for (const char* b : {ctl::EnregistreBtn, ctl::RepereBtn, ctl::UndoBtn, ctl::StopBtn, ctl::ResetBtn,
                        ctl::TraSaveBtn, ctl::CopyBtn, ctl::NouveauFichierItem, ctl::PleinEcranBtn})
    vue_.SetEnabled(b, false);
  vue_.SetEnabled(ctl::NouvellePageItem, false);
  vue_.SetVisible(ctl::ClavierGB, false);
  vue_.SetVisible(ctl::BuretteBtn, false);
  vue_.SetBornes(ctl::DeltatSE, 1, 60);
  vue_.Grille().SetNbLignes(16);
  vue_.Grille().SetNbColonnes(5);
  AfficheDuree();
}

void TCinetiqueMain::RecueilleVoies() {
  for (int i = 0; i < NbreVoiesMax; ++i) {
    vue_.SetVisible(ctl::GroupBox(i), false);
    vue_.SetHint(ctl::GroupBox(i), "|cliquer pour modifier la grandeur à mesurer");
    vue_.SetHint(ctl::Label(i), "|cliquer pour modifier la grandeur à mesurer");
    vue_.SetEnfonce(ctl::Stable(i), true);
  }
}

void TCinetiqueMain::AfficheVoies() {
  for (int i = NbreVoies(); i < NbreVoiesMax; ++i) vue_.SetVisible(ctl::GroupBox(i), false);
  for (int i = 0; i < NbreVoies(); ++i) {
    vue_.SetVisible(ctl::GroupBox(i), true);
    Tappareil* A = Voie(i);
    if (!A) continue;
    // The controls are named, not referenced: the definition only records the channel.
    A->LabelApp = A->GroupBoxApp = A->StableApp = nullptr;
  }
}

void TCinetiqueMain::AppliqueTrace(TPortSerie& port, bool actif) {
  const TTraceLogState etat = actif ? tlOn : tlOff;
  port.SetTracing(etat);
  port.SetLogging(etat);
}

void TCinetiqueMain::Trace(TTraceLogState etat) {
  for (int com = 1; com <= NbreComs; ++com) {
    TPortSerie* p = Port(com);
    if (!p || !p->Open()) continue;
    try {
      p->SetTracing(etat);
      p->SetLogging(etat);
    } catch (const EPortSerie& e) {
      plateforme_.dialogue.Erreur(e.what());
    }
  }
}

void TCinetiqueMain::ImageMode() {
  static const int images[NbreModesAcq] = {14, 15, 16, 13, 1};
  vue_.SetValeur(ctl::ModeAcqBtn, images[ModeAcq < NbreModesAcq ? ModeAcq : 0]);
}

void TCinetiqueMain::InitAttente() {
  Timer->SetActif(false);
  vue_.SetEnabled(ctl::PleinEcranBtn, NbreVoies() > 0);
  vue_.SetVisible(ctl::BuretteBtn, ModeAcq == maBuretteRS232);
  EtatAcq = eaNone;
  dateReception = 0;
  portsRemplaces_.clear();
  AfficheVoies();

  std::vector<Tappareil*> boitier;
  SimulationWTW = false;
  for (int i = 0; i < NbreVoies(); ++i) {
    Tappareil* A = Voie(i);
    if (!A) continue;
    SimulationWTW = A->NomAppareil.find("WTW 3310") != std::string::npos;
    if (A->isOrigalys) {
      A->VoieSerieOK = adaptateurs_.LieUSB(*A);
    } else if (A->isSysam) {
      A->VoieSerieOK = adaptateurs_.BoitierPresent();
      boitier.push_back(A);
    } else {
      A->VoieSerieOK = setVoieSerieApp(*A);
    }
    vue_.SetVisible(ctl::Stable(i), true);
    const std::uint32_t couleur = CouleurVoie(static_cast<indiceVoie>(i)).rgb;
    vue_.SetCouleur(ctl::GroupBox(i), couleur);
    vue_.SetCouleur(ctl::Label(i), couleur);
    vue_.SetCaption(ctl::GroupBox(i), A->NomAppareil);
    vue_.SetVisible(ctl::GroupBox(i), true);
    vue_.SetCaption(ctl::Label(i), "");
    A->ChaineLue.clear();
    // No value until a frame is decoded: a definition's initial 0 is never a reading.
    A->ValeurCourante = PasDeValeur;
    // Sum without 16-bit wrap; a wait beyond the field's range is held at its maximum.
    std::int64_t attente = 0;
    for (int j = 0; j < i; ++j)
      if (Voie(j) && Voie(j)->ComNumber == A->ComNumber) attente += Voie(j)->Delai;
    A->Attente = static_cast<std::uint16_t>(std::min<std::int64_t>(attente, 65535));
  }
  if (!boitier.empty()) adaptateurs_.InitBoitier(boitier);
  for (int com = 1; com <= NbreComs; ++com) {
    TPortSerie* p = Port(com);
    if (p && p->Open() && TraceCB) AppliqueTrace(*p, true);
  }
  vue_.SetVisible(ctl::ClavierGB, ModeAcq == maClavier);
  vue_.SetCaption(ctl::ClavierGB, "Clavier : " + Graphe->mondeX.Nom);

  VideTableau(false);
  NbrePointsSauves = 0;
  vue_.SetStatut(1, "");

  if (ModeAcq == maBuretteRS232 && !setVoieSerieApp(Burette())) {
    plateforme_.dialogue.Information("Problème voie série Burette");
    ModeAcq = maTemps;
  }
  ImageMode();

  Tmonde& X = Graphe->mondeX;
  auto abscisseTemps = [&] {
    X.Nom = "t";
    X.Unite = "s";
    X.Signif = "temps";
    X.maxi = DureeMesure;
    for (int k = 0; k <= MaxPoints; ++k) X.valeur[static_cast<std::size_t>(k)] = static_cast<double>(k) * DeltatMesure;
  };
  auto abscisseIndex = [&](int depart) {
    for (int k = 0; k <= MaxPoints; ++k) X.valeur[static_cast<std::size_t>(k)] = k + depart;
    X.Nom = "num";
    X.Unite.clear();
    X.Signif = "index";
    X.maxi = 16;
  };
  switch (ModeAcq) {
    case maTemps: abscisseTemps(); break;
    case maIncrement: abscisseIndex(0); break;
    case maAppareilMaitre: {
      for (int i = 0; i < NbreVoies(); ++i)
        if (Voie(i) && Voie(i)->EnvoiDirect) {
          Graphe->voieMaitre = static_cast<indiceVoie>(i);
          break;
        }
      if (Graphe->AbscisseMaitre == amTemps) abscisseTemps();
      else if (Graphe->AbscisseMaitre == amIndex) abscisseIndex(1);
      else if (Tappareil* M = Voie(Graphe->voieMaitre)) {
        X.Nom = M->SymboleGrandeur;
        X.Unite = M->UniteGrandeur;
        X.Signif = M->nomGrandeur;
        X.maxi = M->ValMaxi;
      }
      break;
    }
    case maClavier:
      vue_.SetStatut(1, "Pour enregistrer la valeur entrée au clavier, valider par la touche entrée");
      break;
    case maBuretteRS232: {
      TburetteRS232& B = Burette();
      X.Nom = B.SymboleGrandeur;
      X.Unite = B.UniteGrandeur;
      X.Signif = "Volume versé";
      vue_.SetEnabled(ctl::EnregistreBtn, true);
      X.maxi = B.ValMaxi;
      B.ValeurCourante = 0;
      Timer->SetIntervalle(500);
      if (TPortSerie* p = Port(B.ComNumber)) p->SetOnTriggerAvail({});
      break;
    }
  }
  X.mini = 0;

  // Summed without 16-bit wrap: nine channels of 8000 ms give 73 s.
  std::int64_t delais = 0;
  for (int i = 0; i < NbreVoies(); ++i) {
    Tappareil* A = Voie(i);
    if (!A) continue;
    Graphe->mondeY[static_cast<std::size_t>(i)].SetMinMax(A->ValMini, A->ValMaxi);
    delais += A->Delai;
  }
  DeltatMin = static_cast<std::uint16_t>(std::min<std::int64_t>(delais / 1000 + 1, 65535));
  if (ModeAcq == maBuretteRS232 && NbreVoies() > 0) {
    // A hundredth of channel 0's axis as its instrument gives it: before, the axis is
    // still the previous one, or the default 0..1, and every addition would be the
    // smallest.
    TburetteRS232& B = Burette();
    const double t = (Graphe->mondeY[0].maxi - Graphe->mondeY[0].mini) / 100;
    if (B.ecartSensible > t) B.ecartSensible = t;
    if (B.ecartStable > t) B.ecartStable = t;
  }
  if (Timer->Intervalle() < DeltatMin * 1000) Timer->SetIntervalle(DeltatMin * 1000);
  vue_.SetBornes(ctl::DeltatSE, DeltatMin, std::max<int>(60, DeltatMin));
  vue_.SetCaption(ctl::PanelDuree, "");
  Graphe->VideReperes();
  Graphe->avecLigne = ModeAcq == maTemps || ModeAcq == maAppareilMaitre || ModeAcq == maBuretteRS232;
  Repeindre();

  if (NbreVoies() < 1) {
    SetEtatAcq(eaNone);
  } else {
    if (ModeAcq == maBuretteRS232 && !PrepareBurette()) ModeAcq = maTemps;
    if (ModeAcq == maIncrement) SetEtatAcq(eaIncrement);
    else if (ModeAcq == maClavier) SetEtatAcq(eaClavier);
    else if (ModeAcq != maBuretteRS232) SetEtatAcq(eaAttente);
  }
  EnteteGrille();
  AfficheDuree();
  // Live values at once rather than one timer period later; the timer keeps its
  // rhythm, and a time base still starts its own cycle at "Acquérir".
  if (Timer->Actif()) PosteCycle();
}

bool TCinetiqueMain::setVoieSerieApp(Tappareil& A) {
  TimerWTW1->SetActif(SimulationWTW && A.EnvoiDirect);
  if (SimulationWTW) return true;
  try {
    if (!ExistePort(table_, A.ComNumber))
      if (const int n = PortDeRemplacement(A)) A.ComNumber = static_cast<std::uint16_t>(n);
    TPortSerie* p = Port(A.ComNumber);
    if (!p || !ExistePort(table_, A.ComNumber)) {
      A.VoieSerie = nullptr;
      return false;
    }
    A.VoieSerie = p;
    p->SetOnTriggerAvail({this, [this](TPortSerie* cp, std::uint16_t count) { TriggerAvail(cp, count); }});
    p->SetBaud(A.Baud);
    p->SetDataBits(A.DataBits);
    p->SetStopBits(A.StopBits);
    p->SetParity(static_cast<TParity>(A.Parite));
    p->SetSWFlowOptions(A.XonXoff ? swfBoth : swfNone);
    p->SetHWFlowOptions(A.RTSCTS ? THWFlowOptions{hwfUseRTS, hwfRequireCTS} : THWFlowOptions{});
    p->SetOpen(true);
    AppliqueTrace(*p, TraceCB);
    if (A.InitialisationAfaire) {
      p->PutString(A.ChaineInit);
      A.InitialisationAfaire = false;
    }
    return true;
  } catch (const EPortSerie&) {
    A.VoieSerie = nullptr;
    return false;
  }
}

int TCinetiqueMain::PortDeRemplacement(const Tappareil& A) {
  const bool burette = &A == &Burette();
  // The channels of one instrument on one absent port follow the first of them.
  if (!burette)
    if (const auto deja = portsRemplaces_.find(A.ComNumber); deja != portsRemplaces_.end()) return deja->second;
  // A port in use is never taken: it would get this instrument's line settings and
  // requests, and its own instrument would fall silent.
  std::set<int> pris;
  for (int i = 0; i < NbreVoies(); ++i) {
    const Tappareil* S = Voie(i);
    if (S && S != &A && !S->isOrigalys && !S->isSysam && ExistePort(table_, S->ComNumber)) pris.insert(S->ComNumber);
  }
  if (!burette && ModeAcq == maBuretteRS232 && ExistePort(table_, Burette().ComNumber)) pris.insert(Burette().ComNumber);
  for (int n = 1; n <= NbreComs; ++n)
    if (ExistePort(table_, n) && !pris.contains(n)) {
      if (!burette) portsRemplaces_[A.ComNumber] = n;
      return n;
    }
  return 0;
}

void TCinetiqueMain::PortPerdu(TPortSerie* port, const std::string& message) {
  const bool utilise = OublieValeurs(*port);
  const bool titrage = ModeAcq == maBuretteRS232;
  if (!utilise && !(titrage && Burette().VoieSerie == port)) return;
  // A titration can go on without neither its burette nor its readings; the other
  // modes keep acquiring what the remaining channels give, so the loss is told
  // without a box that would hold the cycle until someone closes it.
  if (titrage && EtatAcq == eaEnCours) {
    FinTitrage(message);
    return;
  }
  plateforme_.dialogue.Signale(message);
}

void TCinetiqueMain::SetRS232RG(std::vector<std::string>& items, int& itemIndex, std::string& caption, int comDefault) {
  items.clear();
  itemIndex = -1;
  for (int n = 1; n <= NbreComs; ++n) {
    if (!ExistePort(table_, n)) continue;
    items.push_back("COM" + std::to_string(n));
    const int position = static_cast<int>(items.size()) - 1;
    NumeroCom(position) = n;
    if (n == comDefault) itemIndex = position;
  }
  if (itemIndex < 0) itemIndex = 0;
  caption = items.empty() ? "Attention : aucune voie série trouvée" : "Voie série";
}

void TCinetiqueMain::SuspendAcq() {
  sauveTimer = Timer->Actif();
  sauveEtat = EtatAcq;
  Timer->SetActif(false);
  EtatAcq = eaNone;
}

void TCinetiqueMain::ReprendAcq() {
  Timer->SetActif(sauveTimer);
  EtatAcq = sauveEtat;
}

void TCinetiqueMain::FormActivate() { DetecteAppareilsUSB(); }

void TCinetiqueMain::DetecteAppareilsUSB() {
  if (!adaptateurs_.UsbCharge()) return;
  // Detect at the first activation and when a meter appears; never during an
  // acquisition, and never empty a table without the data-loss question.
  const std::vector<TMetreUSB> metres = adaptateurs_.EnumereUSB();
  std::size_t connectes = 0;
  for (const auto& m : metres) connectes += m.connecte ? 1 : 0;
  const bool nouveau = connectes > metresVus_;
  metresVus_ = connectes;
  if (detectionFaite_ && !nouveau) return;
  detectionFaite_ = true;
  if (connectes == 0) return;
  if (EtatAcq == eaEnCours) return;
  if (Graphe->NbrePoints > 0 && !dataSaved && !Confirmation(plateforme_.dialogue, "Perte des données courantes ?"))
    return;
  int j = 0;
  for (const auto& m : metres) {
    if (!m.connecte || j >= NbreVoiesMax) continue;
    if (m.ident == 601) {
      Tappareil* C = base_.AppareilConductivite;
      if (!C) continue;
      AppareilAcq[static_cast<std::size_t>(j)] = adaptateurs_.DefinitionMetre(*C, m);
      plateforme_.dialogue.Information("Ajout conductimètre OCD218");
      ++j;
    } else if (m.ident == 600) {
      if (Dialogues.ChoixGrandeurUSB)
        if (Tappareil* choisi = Dialogues.ChoixGrandeurUSB(m, j)) AppareilAcq[static_cast<std::size_t>(j)] = choisi;
      if (AppareilAcq[static_cast<std::size_t>(j)]) ++j;
    }
  }
  SetNbreVoies(j);
  if (j > 0) InitAttente();
}

void TCinetiqueMain::DemandeDonnees() {
  InitAttente();
  AppelTracoria = true;
}

bool TCinetiqueMain::FormClose() {
  const bool actif = Timer->Actif();
  Timer->SetActif(false);
  if (!dataSaved && !Confirmation(plateforme_.dialogue, "Données non sauvées, quitter ?")) {
    // Staying: a running acquisition goes on.
    Timer->SetActif(actif);
    return false;
  }
  try {
    if (Dialogues.EnregistreAssociation) Dialogues.EnregistreAssociation();
  } catch (...) {
  }
  try {
    TReglages& r = plateforme_.reglages;
    if (static_cast<int>(OldAppareilAcq.size()) + NbreVoies() > 8 && !OldAppareilAcq.empty())
      OldAppareilAcq.erase(OldAppareilAcq.begin());
    for (int i = 0; i < NbreVoies(); ++i)
      if (Voie(i)) OldAppareilAcq.insert(Voie(i)->NomAppareil);
    r.EcritEntier(CleRecents, "Nombre", static_cast<int>(OldAppareilAcq.size()));
    r.EcritBooleen(CleRecents, "Liste", ListeAppRecent);
    int i = 0;
    for (const auto& nom : OldAppareilAcq) r.Ecrit(CleRecents, "N" + std::to_string(i++), nom);
    r.EcritEntier(CleTrace, "Index", indexFichierTrace);
  } catch (...) {
  }
  auto libere = [this](Tappareil& A) {
    TPortSerie* p = dynamic_cast<TPortSerie*>(A.VoieSerie);
    if (!p) return;
    try {
      if (A.DeblocageAfaire && p->Open()) p->PutString(A.ChaineFin);
      if (p->Tracing() == tlOn) {
        p->SetTracing(tlDump);
        p->SetLogging(tlDump);
      }
      p->SetOpen(false);
    } catch (...) {
    }
  };
  for (int i = 0; i < NbreVoies(); ++i)
    if (Voie(i)) libere(*Voie(i));
  if (ModeAcq == maBuretteRS232) libere(Burette());
  return true;
}

void TCinetiqueMain::FormDestroy() {
  if (Timer) Timer->SetActif(false);
  if (TimerWTW1) TimerWTW1->SetActif(false);
  if (TimerWTW2) TimerWTW2->SetActif(false);
  for (auto& p : voieSerieCin) {
    if (!p) continue;
    try {
      p->SetOpen(false);
    } catch (...) {
    }
    p.reset();
  }
  for (auto* A : AppareilAcq)
    if (A) A->VoieSerie = nullptr;
}

void TCinetiqueMain::Repeindre() { vue_.DemandeRepeindre(); }
