// The channel configuration dialog as a model: the symbol, unit, range, filter and
// port (or calibre) of one channel's instrument, its initialisation and release
// strings, and the way to the terminal or the USB test window. No widget here.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialogs/groupe_ports.h"

class TCinetiqueMain;
class Tappareil;

class TCfgAppDlg {
public:
  static constexpr const char* Caption = "Configuration un appareil à sortie RS232";
  static constexpr const char* CaptionGrandeurGB = "Grandeur  physique";
  static constexpr const char* CaptionGrandeur = "Grandeur";
  static constexpr const char* CaptionNom = "Symbole";
  static constexpr const char* CaptionUnite = "Unité";
  static constexpr const char* CaptionMin = "Mini";
  static constexpr const char* CaptionMax = "Maxi";
  static constexpr const char* CaptionDepassement = "Eliminer hors mini..maxi";
  static constexpr const char* IndiceDepassement = "|Suppression des valeurs en dehors de mini..maxi";
  static constexpr const char* CaptionPorts = "Voie série";
  static constexpr const char* CaptionCalibre = "Calibre";
  static constexpr const char* CaptionInit = "&Initialiser";
  static constexpr const char* CaptionFin = "&Libérer";
  static constexpr const char* CaptionPilote = "&Pilotage";
  static constexpr const char* CaptionAide = "Aide";
  static constexpr const char* QuestionPort = "Pertes des données courantes ?";
  static constexpr int LongueurNom = 8;
  static constexpr int ContexteAide = 14;

  explicit TCfgAppDlg(TCinetiqueMain& moteur) : moteur_(moteur) {}

  // ---- set by the caller before showing
  int voieApp = 0;
  bool verif = false;  // unsaved points: a port change must be confirmed

  // The channel's instrument as the engine holds it now; null when the channel is
  // not in use.
  Tappareil* Appareil() const;

  // ---- handlers
  // Fills the controls from the channel's instrument (at each showing).
  void FormActivate();
  // Writes the controls into the instrument; false when nothing was written because
  // the channel's instrument is no longer the one the dialog was filled from.
  bool OKBtnClick();
  void InitBtnClick();
  void FinBtnClick();
  void PiloteBtnClick();
  void HelpBtnClick();

  // What the window opens: the terminal on a channel, the USB test window on a meter.
  std::function<void(int voie)> OuvreTerminal;
  std::function<void(Tappareil& appareil)> OuvreTestUSB;
  std::function<void(int contexte)> Aide;

  // ---- controls
  std::string caption = Caption;
  std::string GrandeurEdit;
  std::string EditNom;
  std::string EditUnite;
  std::string EditMin;
  std::string EditMax;
  bool DepassementCB = false;
  TGroupePorts Comports;  // ports, or the calibres of an interface-box input
  bool ComportsCalibres = false;
  std::vector<std::string> MemoAide;
  bool InitBtnVisible = false;
  bool FinBtnVisible = false;

private:
  // The instrument, when it is still the one the controls were filled from.
  Tappareil* AppareilRempli() const;
  // Binds the instrument's port and writes `chaine`; nothing when it cannot be bound.
  bool Envoie(Tappareil& A, const std::string& chaine);

  TCinetiqueMain& moteur_;
  // Compared with the channel's instrument, never read through: a definition
  // released meanwhile must not be touched.
  const Tappareil* rempli_ = nullptr;
  std::string nomRempli_;
  int voieRemplie_ = -1;
};

// The instrument of channel `voie`; null when the channel is not in use.
Tappareil* AppareilDeVoie(const TCinetiqueMain& moteur, int voie);

// The main window's click on channel `voie`'s panel: the engine is suspended, the
// dialog shown (`montre` is true on OK); a port changed by OK prepares a new
// acquisition, anything else updates the channels and resumes.
void GroupBox1Click(TCinetiqueMain& moteur, TCfgAppDlg& dialogue, int voie, const std::function<bool()>& montre);
