// The serial port object: settings, queues, event delivery, trace and log, loss of
// the device.
#include "links/port_serie.h"

#include <algorithm>
#include <optional>

#include "util/cp1252.h"
#include "util/fichiers.h"

namespace {
// A few bytes of a transfer for the log, in the trace's notation.
std::string Apercu(std::string_view octets) {
  constexpr std::size_t Maxi = 48;
  std::vector<TEntreeTrace> entrees;
  for (std::size_t i = 0; i < octets.size() && i < Maxi; ++i)
    entrees.push_back({TSensTrace::Emission, static_cast<unsigned char>(octets[i])});
  std::string texte = TTraceSerie::FormateTrace(entrees);
  // Drop the heading and the line breaks: one log line per event.
  texte.erase(0, std::char_traits<char>::length("Transmit: "));
  std::erase(texte, '\r');
  std::erase(texte, '\n');
  if (octets.size() > Maxi) texte += "...";
  return texte;
}

TPariteLigne VersParite(TParity p) { return static_cast<TPariteLigne>(static_cast<int>(p)); }
}  // namespace

TPortSerie::TPortSerie(TSeriePlateforme& serie, TBoucleEvenements& boucle, TTablePorts& table,
                       std::uint16_t comNumber)
    : serie_(serie),
      boucle_(boucle),
      table_(table),
      com_(comNumber),
      traceName_("rs232-" + std::to_string(comNumber) + ".trc"),
      logName_("rs232-" + std::to_string(comNumber) + ".log"),
      vie_(std::make_shared<Vie>(Vie{this})) {}

TPortSerie::~TPortSerie() {
  try {
    SetOpen(false);
  } catch (...) {
    // A trace that cannot be written at destruction is lost; nobody is left to tell.
  }
}

std::string TPortSerie::Prefixe() const { return "COM" + std::to_string(com_) + " : "; }

void TPortSerie::Echoue(TCodeSerie code, const std::string& message) {
  derniereErreur_ = message;
  throw EPortSerie(code, message);
}

TReglageLigne TPortSerie::Reglage() const {
  TReglageLigne r;
  r.baud = baud_;
  r.parite = VersParite(parity_);
  r.bitsDonnees = dataBits_;
  r.bitsStop = stopBits_;
  r.rtsCts = hwFlow_.Contient(hwfUseRTS) || hwFlow_.Contient(hwfRequireCTS);
  r.xonXoff = swFlow_ != swfNone;
  r.xon = xon_;
  r.xoff = xoff_;
  r.dtr = dtr_;
  r.rts = rts_;
  return r;
}

// ---- settings ----

template <class T> void TPortSerie::Change(T& champ, T valeur) {
  if (champ == valeur) return;
  const T ancien = champ;
  champ = valeur;
  if (!peripherique_) return;
  std::string raison;
  if (!peripherique_->Regle(Reglage(), raison)) {
    champ = ancien;
    Echoue(TCodeSerie::ReglageRefuse, Prefixe() + "réglage refusé par " + chemin_ + " (" + raison + ")");
  }
  derniereErreur_.clear();
  Journalise("Réglage : " + DecritReglage(Reglage()));
}

void TPortSerie::SetBaud(std::int32_t baud) {
  if (baud <= 0)
    Echoue(TCodeSerie::ReglageRefuse, Prefixe() + "vitesse invalide (" + std::to_string(baud) + " bauds)");
  Change(baud_, baud);
}

void TPortSerie::SetParity(TParity parity) {
  if (parity > pSpace) Echoue(TCodeSerie::ReglageRefuse, Prefixe() + "parité invalide");
  Change(parity_, parity);
}

void TPortSerie::SetDataBits(std::uint16_t bits) {
  if (bits < 5 || bits > 8)
    Echoue(TCodeSerie::ReglageRefuse, Prefixe() + "nombre de bits de données invalide (" + std::to_string(bits) + ")");
  Change(dataBits_, bits);
}

void TPortSerie::SetStopBits(std::uint16_t bits) {
  if (bits != 1 && bits != 2)
    Echoue(TCodeSerie::ReglageRefuse, Prefixe() + "nombre de bits d'arrêt invalide (" + std::to_string(bits) + ")");
  Change(stopBits_, bits);
}

void TPortSerie::SetHWFlowOptions(THWFlowOptions options) { Change(hwFlow_, options); }
void TPortSerie::SetSWFlowOptions(TSWFlowOptions options) { Change(swFlow_, options); }
void TPortSerie::SetXOnChar(char c) { Change(xon_, c); }
void TPortSerie::SetXOffChar(char c) { Change(xoff_, c); }
void TPortSerie::SetDTR(bool actif) { Change(dtr_, actif); }
void TPortSerie::SetRTS(bool actif) { Change(rts_, actif); }

void TPortSerie::SetInSize(std::uint16_t taille) {
  inSize_ = std::max<std::uint16_t>(taille, 1);
  Tire();
}

void TPortSerie::SetOutSize(std::uint16_t taille) { outSize_ = std::max<std::uint16_t>(taille, 1); }

// ---- opening and closing ----

void TPortSerie::SetOpen(bool ouvert) {
  if (ouvert) Ouvre();
  else Ferme();
}

void TPortSerie::Ouvre() {
  if (peripherique_) return;
  table_.Actualise();
  const std::optional<std::string> chemin = table_.Chemin(com_);
  if (!chemin) Echoue(TCodeSerie::Absent, Prefixe() + "aucun périphérique série sous ce numéro");
  ancien_.reset();
  TOuvertureSerie ouverture = serie_.Ouvre(*chemin, Reglage());
  if (!ouverture.peripherique)
    Echoue(ouverture.code == TCodeSerie::Aucun ? TCodeSerie::Autre : ouverture.code, Prefixe() + ouverture.raison);
  peripherique_ = std::move(ouverture.peripherique);
  derniereErreur_.clear();
  chemin_ = *chemin;
  perdu_ = false;
  perteSignalee_ = false;
  messagePerte_.clear();
  reception_.clear();
  aSignaler_ = false;
  evenementPoste_ = false;
  dernierEnCours_ = false;
  peripherique_->SetRappelDonnees([this] { Tire(); });
  peripherique_->SetRappelPerte([this](const std::string& raison) { Perte(raison); });
  if (etatJournal_ == tlOn) {
    journal_.Debute(boucle_.Millisecondes());
    debutJournal_ = boucle_.DateHeure();
  }
  Journalise("Ouverture de " + chemin_ + " : " + DecritReglage(Reglage()));
  Tire();
}

void TPortSerie::Ferme() {
  if (!peripherique_) {
    // Closing a port whose device was lost ends the lost state.
    perdu_ = false;
    return;
  }
  Journalise("Fermeture");
  std::optional<EPortSerie> erreur;
  try {
    AppliqueTrace(tlDump);
  } catch (const EPortSerie& e) {
    erreur = e;
  }
  try {
    AppliqueJournal(tlDump);
  } catch (const EPortSerie& e) {
    if (!erreur) erreur = e;
  }
  Libere();
  if (erreur) throw *erreur;
}

void TPortSerie::Libere() {
  if (!peripherique_) return;
  peripherique_->Ferme();
  ancien_ = std::move(peripherique_);
  chemin_.clear();
  reception_.clear();
  evenementPoste_ = false;
  aSignaler_ = false;
  dernierEnCours_ = false;
  if (relance_) relance_->SetActif(false);
}

// ---- loss of the device ----

void TPortSerie::Perte(const std::string& raison) {
  if (!peripherique_) return;
  messagePerte_ = Prefixe() + "liaison perdue avec " + chemin_ + " (" + raison + ") ; le port est fermé";
  Journalise("Perte de la liaison : " + raison);
  // What was recorded up to the loss is what tells its story: keep it.
  for (auto applique : {&TPortSerie::AppliqueTrace, &TPortSerie::AppliqueJournal}) {
    try {
      (this->*applique)(tlDump);
    } catch (const EPortSerie& e) {
      messagePerte_ += std::string(" ; ") + e.what();
    }
  }
  Libere();
  perdu_ = true;
  datePerte_ = boucle_.DateHeure();
  perteSignalee_ = false;
  if (surPerte_) {
    boucle_.Poste([vie = std::weak_ptr<Vie>(vie_)] {
      if (auto v = vie.lock()) v->port->SignalePerte();
    });
  }
}

void TPortSerie::VerifieLiaison() {
  std::string raison;
  if (peripherique_ && !peripherique_->Verifie(raison)) Perte(raison);
}

void TPortSerie::SignalePerte() {
  if (!perdu_ || perteSignalee_ || !surPerte_) return;
  perteSignalee_ = true;
  auto gestionnaire = surPerte_;
  gestionnaire(this, messagePerte_);
}

bool TPortSerie::Utilisable() {
  if (peripherique_) return true;
  if (perdu_ && !perteSignalee_) {
    perteSignalee_ = true;
    throw EPortSerie(TCodeSerie::Perdu, messagePerte_);
  }
  if (autoOpen_) {
    Ouvre();
    return true;
  }
  if (perdu_) return false;
  throw EPortSerie(TCodeSerie::NonOuvert, Prefixe() + "port non ouvert");
}

// ---- transmit and receive ----

std::size_t TPortSerie::OutBuffUsed() const { return peripherique_ ? peripherique_->OctetsAEmettre() : 0; }

void TPortSerie::PutString(std::string_view texte) {
  if (!Utilisable() || texte.empty()) return;
  const std::size_t occupe = peripherique_->OctetsAEmettre();
  const std::size_t libre = outSize_ > occupe ? outSize_ - occupe : 0;
  if (texte.size() > libre)
    throw EPortSerie(TCodeSerie::FilePleine, Prefixe() + "file d'émission pleine (" + std::to_string(texte.size()) +
                                                 " octets à envoyer, place pour " + std::to_string(libre) + ")");
  if (!peripherique_->Ecrit(texte)) {
    Perte("écriture impossible");
    perteSignalee_ = true;
    throw EPortSerie(TCodeSerie::Perdu, messagePerte_);
  }
  if (etatTrace_ == tlOn) trace_.Ajoute(TSensTrace::Emission, texte);
  Journalise("Émission de " + std::to_string(texte.size()) + " octets : " + Apercu(texte));
}

bool TPortSerie::CharReady() {
  if (!Utilisable()) return false;
  if (reception_.empty()) Tire();
  return !reception_.empty();
}

char TPortSerie::GetChar() {
  if (Utilisable() && reception_.empty()) Tire();
  if (reception_.empty()) throw EPortSerie(TCodeSerie::RienARecevoir, Prefixe() + "aucun caractère reçu à lire");
  const char c = reception_.front();
  reception_.pop_front();
  aSignaler_ = true;
  return c;
}

void TPortSerie::FlushInBuffer() {
  if (!Utilisable()) return;
  const std::size_t n = reception_.size() + peripherique_->OctetsRecus();
  reception_.clear();
  peripherique_->VideReception();
  Journalise("Vidage de la réception : " + std::to_string(n) + " octets");
}

// Moves what the device received into the receive queue, as far as it has room; the
// rest waits in the device (which may then hold the line back by its handshake).
void TPortSerie::Tire() {
  if (!peripherique_) return;
  const std::size_t place = inSize_ > reception_.size() ? inSize_ - reception_.size() : 0;
  const std::size_t recus = peripherique_->OctetsRecus();
  if (place > 0 && recus > 0) {
    const std::string octets = peripherique_->Prend(std::min(place, recus));
    if (!octets.empty()) {
      reception_.insert(reception_.end(), octets.begin(), octets.end());
      if (etatTrace_ == tlOn) trace_.Ajoute(TSensTrace::Reception, octets);
      Journalise("Réception de " + std::to_string(octets.size()) + " octets : " + Apercu(octets));
      aSignaler_ = true;
    }
  }
  PlanifieEvenement();
}

// ---- the data-available event ----

void TPortSerie::SetOnTriggerAvail(TTriggerAvail gestionnaire) {
  gestionnaire_ = std::move(gestionnaire);
  if (gestionnaire_) {
    aSignaler_ = true;
    PlanifieEvenement();
  }
}

// An event is due when bytes wait, a handler is set, something changed since the last
// count was taken, and the handler of the last event has returned (or has been running
// for AttenteGestionnaireMs).
void TPortSerie::PlanifieEvenement() {
  if (!peripherique_ || !gestionnaire_ || reception_.empty() || evenementPoste_ || !aSignaler_) return;
  if (dernierEnCours_) {
    const std::int64_t ecoule = boucle_.Millisecondes() - debutDernier_;
    if (ecoule < AttenteGestionnaireMs) {
      if (!relance_) {
        relance_ = boucle_.CreeMinuterie();
        relance_->SetRappel([this] {
          relance_->SetActif(false);
          PlanifieEvenement();
        });
      }
      relance_->SetIntervalle(static_cast<int>(AttenteGestionnaireMs - ecoule));
      relance_->SetActif(true);
      return;
    }
  }
  evenementPoste_ = true;
  boucle_.Poste([vie = std::weak_ptr<Vie>(vie_)] {
    if (auto v = vie.lock()) v->port->DelivreEvenement();
  });
}

void TPortSerie::DelivreEvenement() {
  if (!peripherique_ || !gestionnaire_) {
    evenementPoste_ = false;
    return;
  }
  Tire();  // still marked as posted: this cannot post a second event
  evenementPoste_ = false;
  if (reception_.empty()) return;
  const auto count = static_cast<std::uint16_t>(std::min<std::size_t>(reception_.size(), 65535));
  aSignaler_ = false;
  const std::uint64_t id = ++idDernier_;
  dernierEnCours_ = true;
  debutDernier_ = boucle_.Millisecondes();
  if (relance_) relance_->SetActif(false);
  Journalise("Événement de données : " + std::to_string(count) + " octets");
  struct Fin {
    std::weak_ptr<Vie> vie;
    std::uint64_t id;
    ~Fin() {
      if (auto v = vie.lock()) v->port->FinEvenement(id);
    }
  } fin{vie_, id};
  auto rappel = gestionnaire_.rappel;  // the handler may replace itself
  rappel(this, count);
}

void TPortSerie::FinEvenement(std::uint64_t id) {
  if (id == idDernier_) dernierEnCours_ = false;
  PlanifieEvenement();
}

// ---- trace and log ----

void TPortSerie::Journalise(const std::string& texte) {
  if (peripherique_ && etatJournal_ == tlOn) journal_.Ajoute(boucle_.Millisecondes(), texte);
}

std::string TPortSerie::EnteteJournal() const {
  return "Journal de la voie série COM" + std::to_string(com_) + "\nPériphérique : " + chemin_ +
         "\nDébut : " + FormateDateJournal(debutJournal_) + "\nRéglage : " + DecritReglage(Reglage());
}

namespace {
// The shared state machine of trace and log. `ecrit(ajout)` writes the file
// (appending or replacing) and returns false on failure.
template <class Vide, class Efface, class Ecrit>
void AppliqueEtat(TTraceLogState& etat, TTraceLogState demande, bool ouvert, Vide vide, Efface efface, Ecrit ecrit,
                  const std::string& erreurEcriture) {
  const bool enregistre = etat == tlOn || etat == tlPause;
  switch (demande) {
    case tlOn:
      if (etat == tlOff) efface();
      etat = tlOn;
      return;
    case tlOff:
      efface();
      etat = tlOff;
      return;
    case tlClear:
      efface();
      return;
    case tlPause:
      if (etat == tlOn) etat = tlPause;
      return;
    case tlDump:
    case tlAppend:
    case tlAppendAndContinue: {
      const bool continuer = demande == tlAppendAndContinue && enregistre;
      bool ok = true;
      if (ouvert && enregistre && !vide()) ok = ecrit(demande != tlDump);
      efface();
      if (!continuer) etat = tlOff;
      if (!ok) throw EPortSerie(TCodeSerie::Fichier, erreurEcriture);
      return;
    }
  }
}
}  // namespace

void TPortSerie::AppliqueTrace(TTraceLogState etat) {
  AppliqueEtat(
      etatTrace_, etat, peripherique_ != nullptr, [this] { return trace_.Vide(); }, [this] { trace_.Efface(); },
      [this](bool ajout) {
        const std::string texte = trace_.Texte();
        return ajout ? AjouteAuFichier(traceName_, texte) : EcritFichierSur(traceName_, texte);
      },
      "Erreur d'écriture de " + traceName_);
}

void TPortSerie::AppliqueJournal(TTraceLogState etat) {
  const bool demarre = etat == tlOn && etatJournal_ == tlOff;
  AppliqueEtat(
      etatJournal_, etat, peripherique_ != nullptr, [this] { return journal_.Vide(); },
      [this] { journal_.Debute(boucle_.Millisecondes()); },
      [this](bool ajout) {
        const std::string texte = Utf8VersCp1252(journal_.Texte(EnteteJournal()));
        return ajout ? AjouteAuFichier(logName_, texte) : EcritFichierSur(logName_, texte);
      },
      "Erreur d'écriture de " + logName_);
  if (demarre) debutJournal_ = boucle_.DateHeure();
}

void TPortSerie::SetTracing(TTraceLogState etat) { AppliqueTrace(etat); }
void TPortSerie::SetLogging(TTraceLogState etat) { AppliqueJournal(etat); }

void TPortSerie::SuspendReception() {
  if (suspendu_) return;
  gestionnaireSuspendu_ = gestionnaire_;
  suspendu_ = true;
  SetOnTriggerAvail({});
}

void TPortSerie::ReprendReception() {
  if (!suspendu_) return;
  suspendu_ = false;
  SetOnTriggerAvail(std::move(gestionnaireSuspendu_));
  gestionnaireSuspendu_ = {};
}
