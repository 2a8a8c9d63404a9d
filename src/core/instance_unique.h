// The start-up check that keeps one copy of the program running: the first copy
// holds the lock "TRASERIE"; a second one hands its file to the first as the command
// "FILE|LOAD(" + path + ")" over the inter-process link, then ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/divers.h"
#include "platform/ipc.h"

struct TIssueInstance {
  // False: this copy must end now (the running one took over).
  bool continuer = true;
  // For a copy that goes on and was started with a file: the command to execute once
  // its own server runs, so that the file opened from the desktop is loaded.
  std::string commandeDepart;
};

class TInstanceUnique {
public:
  static constexpr const char* NomVerrou = "TRASERIE";
  static constexpr const char* Sujet = "ServeurDDE";
  static constexpr const char* Item = "ServeurItem";
  // Sent by a copy started without a file: the running one only comes to the front.
  // Not "FOCUS", which the analysis program sends and which also ends its page.
  static constexpr const char* CommandePremierPlan = "RESTORE";
  // A running copy that is busy in a dialog still answers, since dialogs keep
  // dispatching events; this bounds the wait for one that does not.
  static constexpr int DelaiMs = 5000;

  // `ipc` may be null (no link: a second copy then runs).
  TInstanceUnique(TVerrous& verrous, TLiaisonIPC* ipc) : verrous_(verrous), ipc_(ipc) {}

  // `executable`: the program's path (its service name comes from it); `arguments`:
  // the command line after the program's name, of which the first is the file.
  TIssueInstance VerifieInstanceUnique(const std::string& executable, const std::vector<std::string>& arguments,
                                       int delaiMs = DelaiMs);
  // This copy holds the lock (released with the object, when the program ends).
  bool Premiere() const { return verrou_ != nullptr; }

private:
  TVerrous& verrous_;
  TLiaisonIPC* ipc_;
  std::unique_ptr<TVerrou> verrou_;
};

// The program's service name on the link: its executable's file name, without its
// folder, cut before its first '.'.
std::string NomService(const std::string& executable);
// "FILE|LOAD(" + the file's absolute path + ")": the running copy has a current folder
// of its own, so a relative name would name another file there.
std::string CommandeChargement(const std::string& fichier);
