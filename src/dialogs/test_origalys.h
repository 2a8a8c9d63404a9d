// The USB test window as a model: texts sent to a USB meter through its library and
// the responses shown, with the decoded value for a measurement. No widget here.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TAppareilOrigalys;
class TOrigalys;
class Tappareil;

class TTestOrigalysDlg {
public:
  static constexpr const char* Caption = "Test";
  static constexpr const char* CaptionEnvoi = "Envoyer";
  static constexpr const char* CaptionMesure = "Mesurer";

  // `liste` null: the library is not loaded and no meter is found.
  explicit TTestOrigalysDlg(TOrigalys* liste) : liste_(liste) {}

  // ---- set by the caller
  Tappareil* Appareil = nullptr;

  // ---- handlers
  // Empties the log, shows the meter's identifier and path and finds it.
  void FormActivate();
  // Edit1 sent without measurement.
  void EnvoiBtnClick();
  // The instrument's request sent, its value read.
  void MesureBtnClick();

  // Told of each line added to MemoTest.
  std::function<void(const std::string& ligne)> SurLigne;

  // ---- controls
  std::vector<std::string> MemoTest;
  std::string Edit1;  // UTF-8, as typed
  bool MesureBtnEnabled = false;
  bool EnvoiBtnEnabled = true;

private:
  void Ajoute(std::string ligne);
  // Sends `t` (8-bit) and shows the response; its value for a measurement.
  void Echange(const std::string& t, bool mesure);

  TOrigalys* liste_;
  TAppareilOrigalys* metre_ = nullptr;
};
