// The acquisition mode dialog as a model: the recording mode and what each mode
// needs (interval and duration of the time base, abscissa and beep of the
// master-channel mode, the typed abscissa of the keyboard mode, the burette's port
// with its test), and the trace check box kept in the settings. No widget here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/etats.h"
#include "dialogs/groupe_ports.h"

class TCinetiqueMain;

class TBalayageDlg {
public:
  static constexpr const char* Caption = "Mode d'acquisition";
  static constexpr const char* CaptionModeAcqRG = "Mode d'acquisition";
  static constexpr int ColonnesModeAcqRG = 2;
  static constexpr const char* CaptionBalayage = "Balayage";
  static constexpr const char* CaptionDeltat = "δt(s)=";
  static constexpr const char* CaptionDureeTotale = "Durée totale :";
  static constexpr const char* TexteBarre = "Vous pouvez aussi cliquer sur le bouton \"Enregistre\"";
  static constexpr std::array<const char*, 2> MemoMaitre = {
      "Attention, l'appareil doit envoyer de lui-même des données,",
      "soit en continu, soit par frappe d'une touche de celui-ci"};
  static constexpr const char* CaptionAbscisse = "Abscisse";
  static constexpr std::array<const char*, 3> ItemsAbscisse = {"Temps", "Index", "Appareil"};
  static constexpr const char* CaptionBip = "Bip :";
  static constexpr std::array<const char*, 7> ItemsSound = {"Aucun",       "Standard ", "Asterisque", "Exclamation",
                                                            "Main",        "Question",  "Defaut"};
  static constexpr const char* CaptionGrandeur = "Grandeur  physique";
  static constexpr const char* CaptionNom = "&Nom";
  static constexpr const char* CaptionUnite = "&Unité";
  static constexpr const char* CaptionMini = "Mini";
  static constexpr const char* CaptionMaxi = "Maxi";
  static constexpr const char* CaptionTest = "Test";
  static constexpr const char* NonTeste = "Port Com de la burette non testé";
  static constexpr const char* PasDePort = "Pas de voie série sélectionnée";
  static constexpr const char* ProblemePort = "Problème voie série Burette";
  static constexpr const char* CaptionConfigBurette = "Configuration du dosage";
  static constexpr const char* HintConfigBurette = "Réglage des paramètres du dosage (sensibilité ...) ";
  static constexpr const char* CaptionPortsBurette = "Voie série burette Titronic";
  static constexpr int ColonnesPortsBurette = 6;
  static constexpr const char* CaptionTraceCB = "Sauvegarde du dialogue ordinateur-appareil dans des fichiers .TRC et .LOG";
  static constexpr int ContexteAide = 4;
  static constexpr int PauseOuvertureMs = 100;

  explicit TBalayageDlg(TCinetiqueMain& moteur);

  // The message of a duration text that is no time.
  static std::string MessageDureeIncorrecte(const std::string& texte);

  void FormCreate();
  void FormActivate();
  // Writes the trace check box to the settings and to the engine (OK and Cancel).
  void FormClose();
  void ModeAcqRGClick(int index);
  // The interval spin was set to `valeur`.
  void DeltatSpinChange(int valeur);
  void MajTemps();
  void AfficheBaseDeTemps();
  void DureeSBUpClick();
  void DureeSBDownClick();
  void DureeSBClick();
  // A key typed in the duration field, filtered in place (0: swallowed); Enter reads it.
  void DureeKeyPress(char32_t& touche);
  // Reads the duration field; false (with the error box) when it is no duration.
  bool DureeExit();
  void SoundCBChange(int index);
  void SoundBtnClick();
  void TestBuretteBtnClick();
  void configBuretteBtnClick();
  void ModificationClick();
  void HelpBtnClick();
  // True when the dialog may close with OK; false when the duration field holds no
  // duration (told to the user; nothing was changed).
  bool OKBtnClick();

  // ---- fields
  std::int32_t Dt = 1;
  std::int32_t NbrePointsMax = 0;
  std::int32_t oldDeltat = 1;
  std::int32_t oldDuree = 120;
  // Something that needs a new preparation changed during this showing.
  bool modification = false;

  // ---- controls
  int ModeAcqRG = maTemps;
  int NoteBookPage = 0;
  std::string DeltatLabel = CaptionDeltat;
  int DeltatSpin = 1;
  int DeltatSpinMin = 1;
  int DeltatSpinMax = 60;
  std::string Duree;
  std::string NombreLabel;
  int AbscisseMaitreRG = 0;
  int SoundCB = 0;
  std::string EditNom, EditUnite, EditMin, EditMax;
  std::string TestBuretteLabel = NonTeste;
  bool TestBuretteBtnEnabled = true;
  TGroupePorts ComPortsBuretteRS232;
  bool TraceCB = true;

  // ---- wired by the window
  // Opens the burette settings dialog (the engine is already suspended).
  std::function<void()> ReglageBurette;
  // Opens the help file at a context number.
  std::function<void(int)> Aide;
  // Called after each change of the fields, so the view can show them (a test on
  // the burette's port takes seconds).
  std::function<void()> Change;

private:
  void Notifie() {
    if (Change) Change();
  }
  void AjusteIntervalle();

  TCinetiqueMain& moteur_;
};
