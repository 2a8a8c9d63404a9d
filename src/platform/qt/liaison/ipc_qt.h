// The inter-process link over local sockets: a server listens on a socket named after
// its service and topic; an execute is one connection carrying the command's bytes and
// a zero byte, answered by one byte, '1' (accepted) or '0' (refused).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/boucle.h"
#include "platform/ipc.h"

class TLiaisonIPCQt final : public TLiaisonIPC {
public:
  // A command longer than this is refused unread: a client cannot make the server
  // hold an unbounded buffer.
  static constexpr std::size_t TailleMaxiMessage = TailleMaxiCommandeIPC;
  // Commands waiting while one runs; a client past them is refused at once.
  static constexpr std::size_t FileMaxi = 16;
  // Connections without a complete command held at once; a newcomer past them
  // pushes out the oldest, so a flood of silent clients cannot use up the program's
  // descriptors nor keep a good client out.
  static constexpr std::size_t ConnexionsMaxi = 64;
  // A client that connects and sends no complete command is dropped after this.
  static constexpr int DelaiInactiviteMs = 30000;

  // `dossier`: where the sockets live; empty follows XDG_RUNTIME_DIR, then TMPDIR,
  // then /tmp. Two programs talk only when they use the same folder.
  explicit TLiaisonIPCQt(TBoucleEvenements& boucle, std::string dossier = {});
  ~TLiaisonIPCQt() override;
  TLiaisonIPCQt(const TLiaisonIPCQt&) = delete;
  TLiaisonIPCQt& operator=(const TLiaisonIPCQt&) = delete;

  // False when the socket cannot be made, or when a live server already answers
  // under the name (another running program holds it).
  bool Ecoute(const std::string& service, const std::string& sujet,
              std::function<bool(const std::string& commande)> executer) override;
  void ArreteEcoute() override;
  // Refuse as well when the server closes without answering or does not answer
  // within `delaiMs`; PasDeServeur when nobody listens under the name.
  TResultat Execute(const std::string& service, const std::string& sujet, const std::string& item,
                    const std::string& commande, int delaiMs) override;

  // The socket's file name: "pelitrax-ipc-" + service + "-" + topic, both in lower
  // case (the service lookup ignores case, so "TRACORIA" and "Tracoria" meet), any
  // byte other than a-z, 0-9, '.' and '_' written as %XX.
  static std::string NomServeur(const std::string& service, const std::string& sujet);
  // The socket's path in the folder; past LongueurMaxiChemin bytes the name becomes
  // "pelitrax-ipc-" + a 16-digit digest of it. A folder too long even for that makes
  // every Ecoute fail and every Execute find no server.
  std::string CheminServeur(const std::string& service, const std::string& sujet) const;
  // The longest socket path the system takes (sun_path without its zero).
  static constexpr std::size_t LongueurMaxiChemin = 107;
  const std::string& Dossier() const { return dossier_; }

private:
  class TServeur;
  TBoucleEvenements& boucle_;
  std::string dossier_;
  std::shared_ptr<TServeur> serveur_;
};
