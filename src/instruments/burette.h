// The motorised burette of a titration: its settings in the device file, the command
// dialogue on its serial line, and the rule that picks the next addition from the curve.
#pragma once

#include <cstdint>
#include <string>

#include "instruments/appareil.h"
#include "util/types.h"

class TBoucleEvenements;

class TburetteRS232 final : public Tappareil {
public:
  // Every wait of the dialogue dispatches events of `boucle`, which outlives the burette.
  explicit TburetteRS232(TBoucleEvenements& boucle);

  // The definition's keys, then the burette's own, clamped to their ranges; the frame
  // fields that the volume answer needs are forced whatever the file says.
  void LitIni(const std::string& Anom, const TFichierIni& Ini) override;
  void EcritIni(TFichierIni& Ini) const override;

  // One command (prefixe + ordre + CR LF) and its answer without line ends: what came
  // within `timeOut` ticks of 55 ms, or until two line ends. Empty at once without a
  // line or while another dialogue runs. The line's normal reception is set aside
  // meanwhile and put back, whatever happens; a failing line ends the dialogue with
  // what was received and leaves its message in erreurDialogue.
  std::string lit(const std::string& ordre, int timeOut);
  // lit, then true when the answer holds the acknowledgement prefixe + "Y".
  bool ecrit(const std::string& ordre, int timeOut);

  // Identifies the burette, gives a "universal" one its address, reads the capacity,
  // sets the speed. False with the reason in erreurInit.
  bool initBurette();
  // Refills the burette (up to about 59 s for "READY", acknowledged or not), then back
  // to dispensing. False without a line or without "READY".
  bool reset();
  // Volume dispensed so far, read back; volumeVerse when the answer holds none, NaN
  // when its digits are no number.
  double volume();
  // The last LecturesSansReponseMax volume readings in a row got no answer at all: the
  // burette has fallen silent (switched off, its line lost); erreurDialogue says so.
  static constexpr int LecturesSansReponseMax = 3;
  bool Muette() const { return lecturesSansReponse_ >= LecturesSansReponseMax; }
  // Dispenses dv (NaN: VolumeMin), brought within VolumeMin..VolumeMax and down to a
  // whole number of VolumeMin, then waits for the dispensing time; the command's
  // acknowledgement is not required. False, with the reason in erreurDialogue, when
  // the burette was never initialised or its line failed: a titration then stops
  // instead of dispensing blind.
  bool verse(double dv);
  // Whole seconds since the end of the last addition, above DeltatMin / DeltatMax.
  bool delaiMinEcoule() const;
  bool delaiMaxEcoule() const;
  // Next addition from the last (up to eight) points of the curve: X the measured
  // quantity, Y the volumes, N points. NaN with fewer than seven points or when the
  // points fix no cubic (all X equal, say); verse then dispenses VolumeMin.
  double deltaY(const vecteur& X, const vecteur& Y, int N) const;

  // True once initBurette has succeeded on the current line.
  bool Initialisee() const { return initialisee_; }
  // The line was lost and is back: the burette may have been switched off meanwhile
  // and forgotten its address and mode, so the next preparation identifies it again.
  void OublieInitialisation() { initialisee_ = false; }

  std::string identification;   // answer to the identification command (8-bit)
  std::string erreurInit;       // reason of the last failed initialisation; empty after success
  std::string prefixe = "01";   // address put before every command (8-bit)
  bool busy = false;            // a command dialogue is under way
  double ecartSensible = 0.01;  // change of the measured quantity aimed at by one addition
  double ecartStable = 0.01;    // stability tolerance given to every channel in a titration
  double VolumeMin = 0;         // mL, smallest addition
  double VolumeMax = 0;         // mL, largest addition
  std::int32_t DeltatMax = 10;  // s, the titration goes on after this even without stability
  std::int32_t DeltatMin = 1;   // s, a stable reading counts only after this
  double tVerse = 0;            // date-time of the end of the last addition
  double deltatVerse = 0;       // s, duration of the last addition
  double volumeVerse = 0;       // mL, volume expected in total after the last addition
  std::int32_t vitesseVerse = 0;  // mL/min, 10 once initialised
  bool modeIncrement = false;   // fixed increments instead of the adaptive rule
  double incrementVolume = 0;   // mL, the fixed increment
  // French reason of the last refused or unanswered command (verse, reset) or of a
  // line failure inside a dialogue; empty after a command that went through.
  std::string erreurDialogue;

private:
  // Dispatches events for `ms` milliseconds.
  void Attend(std::int64_t ms);

  TBoucleEvenements& boucle_;
  bool initialisee_ = false;
  int lecturesSansReponse_ = 0;
};
