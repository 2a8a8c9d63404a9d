// The inter-process link inside one process: servers registered by name in memory,
// each command answered through the simulated loop of the server, so a test can put
// this program and a stand-in analysis program on two simulated platforms.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ipc.h"
#include "platform/simule/boucle_simulee.h"

class TLiaisonIPCSimulee final : public TLiaisonIPC {
public:
  // One execute as the client saw it, for the tests.
  struct TEnvoi {
    std::string service;
    std::string sujet;
    std::string item;
    std::string commande;
    TResultat resultat;
  };

  explicit TLiaisonIPCSimulee(TBoucleSimulee& boucle);
  ~TLiaisonIPCSimulee() override;
  TLiaisonIPCSimulee(const TLiaisonIPCSimulee&) = delete;
  TLiaisonIPCSimulee& operator=(const TLiaisonIPCSimulee&) = delete;

  // Names are compared without regard to ASCII case, as the service lookup does.
  bool Ecoute(const std::string& service, const std::string& sujet,
              std::function<bool(const std::string& commande)> executer) override;
  void ArreteEcoute() override;
  TResultat Execute(const std::string& service, const std::string& sujet, const std::string& item,
                    const std::string& commande, int delaiMs) override;

  // A server that takes this long (virtual milliseconds) before it handles a command:
  // an answer later than the client's wait is a refusal.
  void SetDelaiTraitement(int ms) { delaiTraitement_ = ms; }
  const std::vector<TEnvoi>& Envois() const { return envois_; }
  // The commands this object's server received, in order.
  const std::vector<std::string>& Recues() const { return recues_; }

private:
  struct TServeur;
  TBoucleSimulee& boucle_;
  std::string cle_;  // the registered name, empty when not serving
  std::function<bool(const std::string&)> executer_;
  int delaiTraitement_ = 0;
  std::vector<TEnvoi> envois_;
  std::vector<std::string> recues_;
};
