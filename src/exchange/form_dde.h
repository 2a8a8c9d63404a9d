// The link with the analysis program, without a window: as a client it puts the
// table on the clipboard and tells the analysis program to read it, starting that
// program when it does not run; as a server it carries out the analysis program's
// commands (load or save a configuration, take the focus, prepare an acquisition).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCinetiqueMain;

// The client's commands, in this order.
enum Tenvoi : std::uint8_t { eAdd, eLoad, ePlus, eFocus };

// "CLIP|ADD", "CLIP|LOAD", "CLIP|PLUS", "FOCUS".
const char* CommandeEnvoi(Tenvoi envoi);
// The message shown when the analysis program refuses the command.
const char* MessageRefus(Tenvoi envoi);

class TFormDDE {
public:
  static constexpr const char* ServiceTracoria = "TRACORIA";
  static constexpr const char* ServiceTracoriaBis = "Tracoria";
  static constexpr const char* SujetDDE = "ServeurDDE";
  static constexpr const char* ItemDDE = "ServeurItem";
  // The lock the analysis program holds while it runs.
  static constexpr const char* VerrouTracoria = "Tracoria";
  static constexpr int AttenteDemarrageMs = 2000;
  static constexpr int AttenteSecondNomMs = 1000;

  // `cheminProgramme`: the full path of this program's executable; its file name cut
  // before the first "." is the service name of the server.
  TFormDDE(TCinetiqueMain& moteur, std::string cheminProgramme);
  ~TFormDDE();
  TFormDDE(const TFormDDE&) = delete;
  TFormDDE& operator=(const TFormDDE&) = delete;

  // Locates the analysis program, plugs the end-of-acquisition transfer into the
  // engine (Dialogues.EnvoieTableauAnalyse) and starts the server under NomService()
  // and "ServeurDDE". False when the server could not be registered (another copy of
  // this program holds the name); the client side works either way.
  bool FormCreate();

  // Starts the analysis program if needed, sends the command, shows the failure
  // message. True only when the analysis program accepted the command.
  bool Execute(Tenvoi envoi);
  // The data text onto the clipboard; via DDE, then "CLIP|ADD" (new page) or
  // "CLIP|LOAD". True when the text is on the clipboard and, via DDE, accepted.
  bool EnvoieDonnees(bool viaDDE, bool nouvellePage);

  // The server's handler of one execute: the bytes received, checked before use.
  // It never waits for a person: true when the command is taken (the client sees it
  // accepted); a load, a save, their questions and every message box come after the
  // answer, from the loop. Bytes that are no command are refused without a box.
  bool RecoitCommande(const std::string& octets);
  // The same on the received text already cut into lines.
  bool ExecuteMacro(const std::vector<std::string>& lignes);

  // ---- the main window's callers
  // "Copier": the clipboard only; the data count as handed over.
  void CopieDonnees();
  // The send button once the page dialog was confirmed: a new page when the user
  // chose one and the analysis program may take it. The data count as saved only
  // when the transfer succeeded.
  bool TransfereDonnees(bool nouvellePageChoisie);
  // The end of an acquisition the analysis program asked for: the table as a new
  // document; saved only when the transfer succeeded.
  void EnvoieTableauAnalyse();

  std::string NomService() const;
  const std::string& CheminProgramme() const { return cheminProgramme_; }
  // The analysis program's executable found by FormCreate; empty when none.
  const std::string& CheminTracoria() const { return cheminTracoria_; }
  bool ServeurActif() const { return serveurActif_; }

  // ---- wired by the program
  // Load and save a configuration file: LitConfig and SauveConfig of the engine
  // unless replaced, run after the answer; they tell the user themselves what went
  // wrong. A command that needs one that is empty fails as a bad command.
  std::function<bool(const std::string& nom)> LitConfiguration;
  std::function<bool(const std::string& nom)> SauveConfiguration;
  // The main window comes to the front and takes the keyboard focus.
  std::function<void()> PrendFocus;
  // The longest wait for the analysis program's answer to one command.
  int DelaiReponseMs = 10000;

private:
  bool Charge(const std::string& ligne, const std::string& nom);
  // A message box after the answer; none while one is already on its way or shown.
  void DitApres(bool erreur, const std::string& texte);
  // Runs `action` after the answer; false (the command refused) while another one
  // waits or runs.
  bool Differe(std::function<void()> action);
  bool DemandeAcquisition(const std::string& ligne);
  void PrepareAcquisition();
  bool DonneesNonSauvees() const;
  bool AcquisitionEnCours(const std::string& ligne);
  void Attend(int ms);

  TCinetiqueMain& moteur_;
  std::string cheminProgramme_;
  std::string cheminTracoria_;
  bool serveurActif_ = false;
  bool crochetBranche_ = false;  // the engine's end-of-acquisition hook is ours
  bool envoiEnCours_ = false;
  bool boitePrevue_ = false;
  bool actionPrevue_ = false;
  // Posted messages check it: the object may be gone when they run.
  std::shared_ptr<int> vivant_ = std::make_shared<int>(0);
};
