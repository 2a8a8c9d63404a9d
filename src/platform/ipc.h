// The inter-process link with the analysis program: an execute-command channel with
// service, topic and item names. On Linux it rides on local sockets; a native
// implementation can replace it behind this interface.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// The longest command the link carries, its zero byte aside: a configuration's path
// and a verb are far shorter. The socket and the command reader hold the same bound.
inline constexpr std::size_t TailleMaxiCommandeIPC = 4096;

class TLiaisonIPC {
public:
  enum class TResultat { Accepte, Refuse, PasDeServeur };

  virtual ~TLiaisonIPC() = default;

  // Serves the commands sent to `service`/`sujet`: each command (its bytes, without
  // the terminating zero) is handed to `executer`, whose answer accepts or refuses it.
  // False when the name could not be registered. One server per link object.
  virtual bool Ecoute(const std::string& service, const std::string& sujet,
                      std::function<bool(const std::string& commande)> executer) = 0;
  virtual void ArreteEcoute() = 0;

  // One execute to the server `service`/`sujet` (item `item`): waits at most
  // `delaiMs` for its answer while dispatching events.
  virtual TResultat Execute(const std::string& service, const std::string& sujet, const std::string& item,
                            const std::string& commande, int delaiMs) = 0;
};
