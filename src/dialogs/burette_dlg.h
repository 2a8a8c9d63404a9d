// The burette settings dialog as a model: the titration settings of the one burette
// (volume symbol, constant or adaptive additions, smallest and largest additions,
// sensitivity and stability thresholds, shortest and longest waits). On OK they are
// stored in the burette and its section of the device database is written. No
// widget here.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class TCinetiqueMain;
class Tappareil;

// A whole-number spin field: its value always lies within its bounds.
struct TChampEntier {
  int valeur = 0;
  int mini = 0;
  int maxi = 0;
  // A value outside the bounds is brought within them.
  void Set(int v);
  // The text read as a whole number, or the lower bound when it is none.
  void SetTexte(const std::string& texte);
  void SetBornes(int bas, int haut);
};

// A threshold as the dialog shows it: a number and the index of its prefix.
struct TSeuilAffiche {
  std::string texte;
  int prefixe = 0;  // 0 none, 1 "m", 2 "μ"
};

class TBuretteRS232Dlg {
public:
  static constexpr const char* Caption = "Configuration de la burette Titronic";
  static constexpr const char* CaptionSymbole = "Symbole du volume";
  static constexpr std::size_t LongueurSymboleMaxi = 8;
  static constexpr const char* CaptionUniteVolume = "Unité de volume : mL";
  static constexpr const char* CaptionModeIncrement = "Incrément de volume constant";
  static constexpr const char* CaptionDeltaV = "Incrément de volume";
  static constexpr const char* CaptionSensible = "Sensibilité";
  static constexpr const char* CaptionVmini = "Incrément minimal de volume";
  static constexpr const char* CaptionVmaxi = "Incrément maximal de volume";
  static constexpr const char* CaptionEcartSensible = "Ecart maxi entre deux ajouts = ";
  static constexpr const char* CaptionStable = "Stabilisation";
  static constexpr const char* CaptionTmini = "Durée minimale d'attente de stabilisation";
  static constexpr const char* CaptionTmaxi = "Durée maximale d'attente de stabilisation";
  static constexpr const char* CaptionEcartStable = "(Δx / Δt)max  pour l'enregistrement de la mesure (t en secondes)";
  static constexpr const char* CaptionOK = "OK";
  static constexpr const char* CaptionAbandon = "&Abandon";
  static constexpr const char* CaptionAide = "Aide";
  // The prefixes are chosen from this list only, so a threshold is never off by an
  // unknown factor; the last is the Greek letter mu.
  static constexpr std::array<const char*, 3> Prefixes = {"", "m", "μ"};
  static constexpr const char* NombreMalEcrit = "Nombre mal écrit";
  static constexpr const char* ErreurEcriture = "Erreur d'écriture de ";
  static constexpr int ContexteAide = 13;

  explicit TBuretteRS232Dlg(TCinetiqueMain& moteur);

  // e as shown: below 1e-7 in millionths with "μ", below 1e-4 in thousandths with "m".
  static TSeuilAffiche AfficheSeuil(double e);
  // The value of a field and its prefix index; NaN when the text is no number.
  static double LitSeuil(const std::string& texte, int prefixe);

  void FormActivate();
  void modeIncrementCBClick(bool coche);
  // Longest and shortest waits keep 2 s between them while the user changes either.
  void TmaxiSEChange(int valeur);
  void TMiniSEChange(int valeur);
  void SetNomEdit(const std::string& texte);
  void SetPrefixeSensible(int index);
  void SetPrefixeStable(int index);
  // True when the settings were stored (the dialog then closes with OK). False when
  // a threshold or the constant increment is no number: "Nombre mal écrit", the
  // field named in Focus, nothing stored.
  bool OKBtnClick();
  void HelpBtnClick();

  // ---- fields
  Tappareil* appareil = nullptr;

  // ---- controls
  std::string NomEdit;
  bool modeIncrementCB = false;
  std::string DeltaVedit;
  bool DeltaVeditVisible = false;
  TChampEntier VminiSE{10, 10, 100};
  TChampEntier vmaxiSE{100, 100, 500};
  std::string SensibleEdit;
  int prefixeSensibleCB = 0;
  std::string UniteLabel1;
  TChampEntier TMiniSE{2, 2, 10};
  TChampEntier TmaxiSE{5, 5, 60};
  std::string StableEdit;
  int prefixeStableCB = 0;
  std::string UniteLabel2;
  // The field to give the focus to after a refused OK.
  std::string Focus;

  std::function<void(int)> Aide;

private:
  TCinetiqueMain& moteur_;
};
