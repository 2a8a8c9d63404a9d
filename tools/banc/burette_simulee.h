// A motorised burette of the bench. Every command is an address of two digits, the
// command and CR LF; the burette answers commands sent to its address or to 99 (every
// burette), and the identification whatever its address, 20 ms after the command's
// end, each answer prefixed with the address it was sent to and ended by CR LF:
//   "RH"        identification: "TITRONIC universal V 1.04" (or "TITRONIC V 2.00")
//   "AAnn"      takes the address nn: "Y"
//   "RA"        capacity: "RA:20 mL"
//   "BF"        refill (5 s; the dispensed count goes back to 0): "Y"
//   "RS"        status: "BUSY" while refilling or dispensing, then "READY"
//   "BN"        back to dispensing after a refill: "Y"
//   "GDMv,d"    dispensing speed v,d mL/min (0.1 .. 100): "Y"
//   "MOn"       dispensing mode: "Y"
//   "DAv"       dispenses v mL at the set speed (10 mL/min at power-up): "Y" at once,
//               then "BUSY" to any other command but "RS" and "VO" until it is done;
//               "ERROR" when v is no positive number or more than the burette holds
//   "VO"        volume dispensed since the last refill: "V=  1.250"
//   other       "ERROR"
// Line: 4800 bauds, 7 data bits, no parity, 2 stop bits.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "banc/instrument.h"

class TTitrage;

class TBuretteSimulee final : public TInstrumentCadence {
public:
  static constexpr int DelaiReponseMs = 20;
  static constexpr std::int64_t DureeRemplissageMs = 5000;
  static TReglageLigne LigneParDefaut();

  // `titrage`, when given, receives every volume dispensed (the beaker of the bench).
  explicit TBuretteSimulee(std::shared_ptr<TTitrage> titrage = nullptr, TReglageLigne ligne = LigneParDefaut());

  // Whether the identification names a "universal" model (the one that takes its
  // address through 99); either kind answers to its own address and to 99.
  void SetUniverselle(bool universelle) { universelle_ = universelle; }
  void SetAdresse(const std::string& adresse) { adresse_ = adresse; }
  const std::string& Adresse() const { return adresse_; }
  void SetCapacite(int mL) { capacite_ = mL; }
  // Replaces the capacity answer (without address and line end), e.g. "RA:xx mL".
  void SetReponseCapacite(std::optional<std::string> reponse) { reponseCapacite_ = std::move(reponse); }
  // The first command after power-up gets "ERROR" (a line still settling).
  void SetErreurAuDemarrage(bool erreur) { erreurAuDemarrage_ = erreur; }
  // A burette switched off or unplugged: nothing is answered any more.
  void SetMuette(bool muette) { muette_ = muette; }
  void SetDureeRemplissage(std::int64_t ms) { dureeRemplissage_ = ms; }
  // The acknowledgement of "DA" comes this long after the command (a slow burette).
  void SetDelaiAccuseVerse(std::int64_t ms) { delaiAccuseVerse_ = ms; }

  // Dispensed since the last refill, at `ms` (a dispense under way counts in part).
  double VolumeDelivre(std::int64_t ms) const;
  double Vitesse() const { return vitesse_; }
  bool Occupee(std::int64_t ms) const { return finOperation_ && ms < *finOperation_; }
  int Commandes() const { return commandes_; }
  const std::string& DerniereCommande() const { return derniereCommande_; }

protected:
  void Commande(std::int64_t ms, const std::string& ligne) override;
  void Reveil(std::int64_t ms) override;

private:
  std::string Reponse(std::int64_t ms, const std::string& ordre);

  std::shared_ptr<TTitrage> titrage_;
  bool universelle_ = true;
  std::string adresse_ = "01";
  int capacite_ = 20;
  std::optional<std::string> reponseCapacite_;
  bool erreurAuDemarrage_ = false;
  bool muette_ = false;
  std::int64_t dureeRemplissage_ = DureeRemplissageMs;
  std::int64_t delaiAccuseVerse_ = DelaiReponseMs;
  double vitesse_ = 10;      // mL/min
  double delivre_ = 0;       // mL dispensed since the last refill, operations over
  // The operation under way (dispense or refill) ends then.
  std::optional<std::int64_t> finOperation_;
  bool remplissage_ = false;
  std::int64_t debutVerse_ = 0;
  double volumeVerse_ = 0;   // mL of the dispense under way
  int commandes_ = 0;
  std::string derniereCommande_;
};
