// The test window as a model: asks the definition being edited for one measurement,
// shows what came back and the value the decoder makes of it. It takes the port's
// data-available event while shown, and traces and logs the port meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "links/port_serie.h"

class TConfigDlg;
class TContexteEditeur;
class TMinuterie;

class TTestDlg {
public:
  static constexpr const char* Caption = "Test";
  static constexpr const char* CaptionMesure = "Nouvelle mesure";
  static constexpr const char* CaptionInit = "&Initialiser";
  static constexpr const char* CaptionFin = "&Libérer";
  static constexpr const char* CaptionFermer = "Fermer";
  static constexpr int MargeAttenteMs = 500;

  TTestDlg(TContexteEditeur& contexte, TConfigDlg& editeur);
  ~TTestDlg();
  TTestDlg(const TTestDlg&) = delete;
  TTestDlg& operator=(const TTestDlg&) = delete;

  void FormActivate();
  void MesureBtnClick();
  void InitBtnClick();
  void FinBtnClick();
  void TriggerAvail(TPortSerie* cp, std::uint16_t count);
  void TimerTimer();
  void TimerWTW1Timer();
  void TimerWTW2Timer();
  void FormClose();

  // ---- controls
  std::vector<std::string> MemoTest;
  bool MesureBtnEnabled = true;
  bool InitBtnVisible = false;
  bool FinBtnVisible = false;
  // Called when the memo changed outside a user action (a timer, bytes received).
  std::function<void()> Rafraichit;

private:
  void Envoie(const std::string& chaine);
  void Ecrit(const std::string& chaine);
  TPortSerie* Port() const;

  TContexteEditeur& contexte_;
  TConfigDlg& editeur_;
  std::unique_ptr<TMinuterie> timer_;
  std::unique_ptr<TMinuterie> timerWTW1_;
  std::unique_ptr<TMinuterie> timerWTW2_;
  TPortSerie* port_ = nullptr;  // the port whose event the window holds
};
