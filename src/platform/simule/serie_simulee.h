// In-memory serial lines: each path of the simulated system is a line whose far end
// is a simulated instrument. What the program sends travels at the port's line speed
// in virtual time; what the far end sends arrives as it is emitted (the sender paces
// its own bytes). Notifications reach the port as events of the simulated loop.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/serie.h"
#include "platform/simule/boucle_simulee.h"

// The far end of a line: what a simulated instrument implements to be joined to one.
class TExtremiteSerie {
public:
  virtual ~TExtremiteSerie() = default;
  // Bytes the program sent, as they finish arriving.
  virtual void Recoit(std::string_view octets) = 0;
  // A port opened the line, changed its settings, closed it.
  virtual void LigneReglee(const TReglageLigne& reglage) {}
  virtual void LigneFermee() {}
};

class TPeripheriqueSimule;

class TLigneSimulee {
public:
  explicit TLigneSimulee(std::string chemin) : chemin_(std::move(chemin)) {}
  const std::string& Chemin() const { return chemin_; }

  // Not owned; null leaves the line without instrument (bytes sent go nowhere).
  void SetExtremite(TExtremiteSerie* extremite) { extremite_ = extremite; }
  TExtremiteSerie* Extremite() const { return extremite_; }

  // Far end to program: lost when no port has the line open.
  void Emet(std::string_view octets);

  // The device goes away (adapter pulled out): an open port loses it, probes say absent.
  void Debranche();
  // The same, with nothing told: bytes sent go nowhere and none come, as on a line whose
  // system reports no loss; only a check of the device (Verifie) finds it.
  void DebrancheEnSilence();
  void Rebranche() { branchee_ = true; }
  bool Branchee() const { return branchee_; }
  // Held by another program: probes say busy, openings fail.
  void SetOccupee(bool occupee) { occupee_ = occupee; }
  // Every line setting refused (opening included).
  void SetReglagesRefuses(bool refuses) { reglagesRefuses_ = refuses; }

  bool Ouverte() const { return peripherique_ != nullptr; }
  int Ouvertures() const { return ouvertures_; }
  // The settings last applied by a port.
  const TReglageLigne& Reglage() const { return reglage_; }
  // Everything the far end received since the last EffaceRecu, for tests.
  const std::string& Recu() const { return recu_; }
  void EffaceRecu() { recu_.clear(); }

private:
  friend class TPeripheriqueSimule;
  friend class TSerieSimulee;
  std::string chemin_;
  TExtremiteSerie* extremite_ = nullptr;
  TPeripheriqueSimule* peripherique_ = nullptr;
  bool branchee_ = true;
  bool occupee_ = false;
  bool reglagesRefuses_ = false;
  int ouvertures_ = 0;
  TReglageLigne reglage_;
  std::string recu_;
};

// The loop outlives the lines and every device opened on them.
class TSerieSimulee final : public TSeriePlateforme {
public:
  explicit TSerieSimulee(TBoucleSimulee& boucle) : boucle_(boucle) {}
  ~TSerieSimulee() override;

  // A new line, plugged in; the same path again gives the existing line.
  TLigneSimulee& AjouteLigne(const std::string& chemin);
  TLigneSimulee* Ligne(const std::string& chemin);

  std::vector<std::string> Peripheriques() const override;
  TPresence Sonde(const std::string& chemin) override;
  TOuvertureSerie Ouvre(const std::string& chemin, const TReglageLigne& reglage) override;
  int Sondages() const { return sondages_; }

private:
  TBoucleSimulee& boucle_;
  std::map<std::string, std::shared_ptr<TLigneSimulee>> lignes_;
  int sondages_ = 0;
};
