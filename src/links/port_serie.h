// The serial port object of the engine: line settings kept across openings, receive
// and transmit queues, the data-available event, the trace and the log. Everything
// runs on the loop's thread; the device's notifications arrive there as events.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "instruments/parite.h"
#include "instruments/voie_appareil.h"
#include "links/erreur_serie.h"
#include "links/journal_serie.h"
#include "links/table_ports.h"
#include "links/trace_serie.h"
#include "platform/boucle.h"
#include "platform/serie.h"

enum THWFlowOption : std::uint8_t { hwfUseDTR = 1, hwfUseRTS = 2, hwfRequireDSR = 4, hwfRequireCTS = 8 };

// A set of THWFlowOption: {} or {hwfUseRTS, hwfRequireCTS}.
class THWFlowOptions {
public:
  constexpr THWFlowOptions() = default;
  constexpr THWFlowOptions(std::initializer_list<THWFlowOption> options) {
    for (THWFlowOption o : options) bits_ = static_cast<std::uint8_t>(bits_ | o);
  }
  constexpr bool Contient(THWFlowOption o) const { return (bits_ & o) != 0; }
  constexpr bool Vide() const { return bits_ == 0; }
  constexpr bool operator==(const THWFlowOptions&) const = default;

private:
  std::uint8_t bits_ = 0;
};

enum TSWFlowOptions { swfNone, swfReceive, swfTransmit, swfBoth };

enum TTraceLogState { tlOff, tlOn, tlDump, tlAppend, tlClear, tlPause, tlAppendAndContinue };

class TPortSerie;

// The data-available handler and the object it belongs to; two handlers with the
// same owner count as the same (an owner has one handler per port).
struct TTriggerAvail {
  const void* proprietaire = nullptr;
  std::function<void(TPortSerie* cp, std::uint16_t count)> rappel;

  explicit operator bool() const { return static_cast<bool>(rappel); }
  bool MemeQue(const TTriggerAvail& autre) const {
    return static_cast<bool>(rappel) == static_cast<bool>(autre.rappel) && proprietaire == autre.proprietaire;
  }
};

// Told once, through the loop, when the device of an open port went away.
using TGestionnairePerte = std::function<void(TPortSerie* cp, const std::string& message)>;

class TPortSerie final : public TVoieAppareil {
public:
  static constexpr std::uint16_t TailleFileDefaut = 4096;
  // A handler still running after this long no longer holds back the next event.
  static constexpr int AttenteGestionnaireMs = 3000;

  // A closed port for COM `comNumber` (1..50), whose device the table names at each
  // opening. `serie`, `boucle` and `table` outlive the port.
  TPortSerie(TSeriePlateforme& serie, TBoucleEvenements& boucle, TTablePorts& table, std::uint16_t comNumber);
  ~TPortSerie();
  TPortSerie(const TPortSerie&) = delete;
  TPortSerie& operator=(const TPortSerie&) = delete;

  std::uint16_t ComNumber() const { return com_; }

  // Line settings: stored while closed, applied at once while open (a refused value
  // raises EPortSerie and the previous one stays); the same value again does nothing.
  std::int32_t Baud() const { return baud_; }
  void SetBaud(std::int32_t baud);
  TParity Parity() const { return parity_; }
  void SetParity(TParity parity);
  std::uint16_t DataBits() const { return dataBits_; }
  void SetDataBits(std::uint16_t bits);  // 5..8
  std::uint16_t StopBits() const { return stopBits_; }
  void SetStopBits(std::uint16_t bits);  // 1 or 2
  // hwfUseRTS or hwfRequireCTS give the RTS/CTS handshake; the DTR/DSR options have no
  // equivalent on these devices and are only kept.
  THWFlowOptions HWFlowOptions() const { return hwFlow_; }
  void SetHWFlowOptions(THWFlowOptions options);
  // Any value but swfNone gives XON/XOFF both ways.
  TSWFlowOptions SWFlowOptions() const { return swFlow_; }
  void SetSWFlowOptions(TSWFlowOptions options);
  char XOnChar() const { return xon_; }
  void SetXOnChar(char c);
  char XOffChar() const { return xoff_; }
  void SetXOffChar(char c);
  bool DTR() const { return dtr_; }
  void SetDTR(bool actif);
  bool RTS() const { return rts_; }
  void SetRTS(bool actif);

  // Receive and transmit queues, in bytes.
  std::uint16_t InSize() const { return inSize_; }
  void SetInSize(std::uint16_t taille);
  std::uint16_t OutSize() const { return outSize_; }
  void SetOutSize(std::uint16_t taille);

  // When set, an operation on a closed port opens it instead of failing.
  bool AutoOpen() const { return autoOpen_; }
  void SetAutoOpen(bool autoOpen) { autoOpen_ = autoOpen; }

  bool Open() const { return peripherique_ != nullptr; }
  // true: opens the device the table gives for the COM number with every setting,
  // nothing if open; failure raises EPortSerie and the port stays closed.
  // false: dumps trace and log (as tlDump), closes; nothing if closed. Settings and
  // handler stay for the next opening.
  void SetOpen(bool ouvert);

  // Bytes go to the transmit queue as they are; a text longer than the free room of
  // the queue sends nothing and raises. An empty text does nothing.
  void PutString(std::string_view texte) override;
  bool CharReady() override;
  // The oldest received byte; raises when none is waiting.
  char GetChar() override;
  // Discards every received byte not yet read, those the device still holds included.
  void FlushInBuffer() override;
  // Bytes waiting in the receive queue and in the transmit queue.
  std::size_t InBuffUsed() const { return reception_.size(); }
  std::size_t OutBuffUsed() const;

  // The data-available event: delivered through the loop with the count of bytes then
  // waiting, one event after the other. It can be read, replaced, removed, put back.
  const TTriggerAvail& OnTriggerAvail() const { return gestionnaire_; }
  void SetOnTriggerAvail(TTriggerAvail gestionnaire);
  // A synchronous exchange (the burette) sets the handler aside and puts it back.
  void SuspendReception() override;
  void ReprendReception() override;

  // Trace (bytes) and log (events): tlOn starts a new recording (at the next opening
  // on a closed port), tlOff discards it, tlDump writes the file and stops.
  TTraceLogState Tracing() const { return etatTrace_; }
  void SetTracing(TTraceLogState etat);
  TTraceLogState Logging() const { return etatJournal_; }
  void SetLogging(TTraceLogState etat);
  std::uint32_t TraceSize() const { return trace_.Capacite(); }
  // Entries held now by the trace and the log (never more than their sizes).
  std::size_t TraceUsed() const { return trace_.Taille(); }
  std::size_t LogUsed() const { return journal_.Taille(); }
  void SetTraceSize(std::uint32_t taille) { trace_.SetCapacite(taille); }
  std::uint32_t LogSize() const { return journal_.Capacite(); }
  void SetLogSize(std::uint32_t taille) { journal_.SetCapacite(taille); }
  const std::string& TraceName() const { return traceName_; }
  void SetTraceName(std::string nom) { traceName_ = std::move(nom); }
  const std::string& LogName() const { return logName_; }
  void SetLogName(std::string nom) { logName_ = std::move(nom); }

  // A device that goes away while open (adapter pulled out, line hung up): the port
  // closes itself, runs no more handlers, and reports the loss once — to this
  // handler when one is set, otherwise by the EPortSerie of the next operation.
  // Operations after that do nothing (GetChar still raises: nothing is waiting) until
  // the port is opened again or closed explicitly.
  void SetOnPerte(TGestionnairePerte gestionnaire) { surPerte_ = std::move(gestionnaire); }
  bool Perdu() const { return perdu_; }
  // A cheap check that the open device is still there, for a caller that ticks
  // anyway (the main timer); a device found gone is lost as above. Nothing when closed.
  void VerifieLiaison();
  const std::string& MessagePerte() const { return messagePerte_; }
  // When the device was found gone (the loop's date-time), for the user's message.
  double DatePerte() const { return datePerte_; }

  // Why the last setting or opening of the port failed, as its EPortSerie said it
  // ("COM3 : /dev/ttyS0 est utilisé par un autre programme"); empty after a success.
  // Whoever caught the error can still tell the user why.
  const std::string& DerniereErreur() const { return derniereErreur_; }

  // The device path while open, empty otherwise.
  const std::string& Peripherique() const { return chemin_; }
  // The settings as the device gets them.
  TReglageLigne Reglage() const;

private:
  struct Vie {
    TPortSerie* port;
  };
  template <class T> void Change(T& champ, T valeur);
  std::string Prefixe() const;
  [[noreturn]] void Echoue(TCodeSerie code, const std::string& message);
  void Ouvre();
  void Ferme();
  void Libere();
  bool Utilisable();
  void Tire();
  void PlanifieEvenement();
  void DelivreEvenement();
  void FinEvenement(std::uint64_t id);
  void Perte(const std::string& raison);
  void SignalePerte();
  void Journalise(const std::string& texte);
  void AppliqueTrace(TTraceLogState etat);
  void AppliqueJournal(TTraceLogState etat);
  std::string EnteteJournal() const;

  TSeriePlateforme& serie_;
  TBoucleEvenements& boucle_;
  TTablePorts& table_;
  const std::uint16_t com_;

  std::int32_t baud_ = 9600;
  TParity parity_ = pNone;
  std::uint16_t dataBits_ = 8;
  std::uint16_t stopBits_ = 1;
  THWFlowOptions hwFlow_;
  TSWFlowOptions swFlow_ = swfNone;
  char xon_ = 17;
  char xoff_ = 19;
  bool dtr_ = true;
  bool rts_ = true;
  std::uint16_t inSize_ = TailleFileDefaut;
  std::uint16_t outSize_ = TailleFileDefaut;
  bool autoOpen_ = true;

  std::unique_ptr<TPeripheriqueSerie> peripherique_;
  // A closed device kept until the next opening, so that it is never destroyed from
  // inside one of its own callbacks.
  std::unique_ptr<TPeripheriqueSerie> ancien_;
  std::string chemin_;
  std::string derniereErreur_;
  std::deque<char> reception_;

  TTriggerAvail gestionnaire_;
  TTriggerAvail gestionnaireSuspendu_;
  bool suspendu_ = false;
  bool evenementPoste_ = false;
  bool aSignaler_ = false;        // bytes came or were read since the last count was taken
  std::uint64_t idDernier_ = 0;   // the event last delivered
  bool dernierEnCours_ = false;   // ... and its handler has not returned yet
  std::int64_t debutDernier_ = 0;
  std::unique_ptr<TMinuterie> relance_;

  TGestionnairePerte surPerte_;
  bool perdu_ = false;
  bool perteSignalee_ = false;
  std::string messagePerte_;
  double datePerte_ = 0;

  TTraceSerie trace_;
  TJournalSerie journal_;
  TTraceLogState etatTrace_ = tlOff;
  TTraceLogState etatJournal_ = tlOff;
  double debutJournal_ = 0;
  std::string traceName_;
  std::string logName_;

  std::shared_ptr<Vie> vie_;
};
