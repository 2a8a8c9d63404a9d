// The terminal as a model: free texts sent to one channel's instrument and its
// answers shown line by line, next to the instrument's help lines. It takes the
// port's data-available event while open and gives it back to the engine on closing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "links/dialogs/terminal_lignes.h"

class TCinetiqueMain;
class TPortSerie;
class Tappareil;

class TTerminalForm {
public:
  static constexpr const char* Caption = "Dialogue avec appareil RS232";
  static constexpr const char* CaptionOrdre = "Ordre à envoyer";
  static constexpr const char* CaptionEnvoi = "Envoyer";
  static constexpr const char* CaptionEnvoiCR = "Envoyer + CR";
  static constexpr const char* CaptionEnvoiCRLF = "Envoyer + CR + LF";
  static constexpr const char* CaptionClear = "&RàZ";
  static constexpr const char* CaptionClose = "Fermer";
  static constexpr const char* CaptionAide = "Aide";

  explicit TTerminalForm(TCinetiqueMain& moteur) : moteur_(moteur) {}
  ~TTerminalForm();
  TTerminalForm(const TTerminalForm&) = delete;
  TTerminalForm& operator=(const TTerminalForm&) = delete;

  // ---- set by the caller, which has bound and opened the channel's port
  int voieApp = 0;

  // ---- handlers
  // Shows the help lines and takes the port's data-available event.
  void FormActivate();
  void EnvoiClick() { Envoie(TFinEnvoi::Aucune); }
  void EnvoiCRClick() { Envoie(TFinEnvoi::CR); }
  void EnvoiCRLFClick() { Envoie(TFinEnvoi::CRLF); }
  void ClearBtnClick() { Memo1.clear(); }
  void TriggerAvail(TPortSerie* cp, std::uint16_t count);
  // Gives the port back to the engine's handler; the port stays open.
  void FormClose();
  void HelpBtnClick();

  // Told of each line added to Memo1.
  std::function<void(const std::string& ligne)> SurLigne;
  std::function<void(int contexte)> Aide;

  // ---- fields and controls
  TPortSerie* voieSerieLoc = nullptr;
  std::vector<std::string> MemoAide;  // the 16 help lines, empty ones included
  std::vector<std::string> Memo1;
  std::string OrdreEdit;  // UTF-8, as typed

private:
  void Envoie(TFinEnvoi fin);
  void Ajoute(std::string ligne);
  Tappareil* Appareil() const;

  TCinetiqueMain& moteur_;
  TLignesReception reception_;
};
