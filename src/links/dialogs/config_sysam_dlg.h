// The interface-box definition editor as a model: quantity and range, the linear
// conversion from volts, the box input and its range, the differential mode, and
// the instrument's own calibres with their factors. It never talks to the box.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Tappareil;
class TDialogueUtilisateur;

class TConfigSysamDlg {
public:
  static constexpr const char* Caption = "Configuration d'appareil Sysam SP5";
  static constexpr std::array<const char*, 4> Entrees = {"EA0", "EA1", "EA2", "EA3"};
  static constexpr std::array<const char*, 4> EntreesDiff = {"EA0-EA4", "EA1-EA5", "EA2-EA6", "EA3-EA7"};
  static constexpr std::array<const char*, 4> Calibres = {"10 V", "5 V", "1 V", "200 mV"};
  static constexpr const char* CaptionDiff = "Entrée différentielle";
  static constexpr const char* CaptionGrid = "Facteur multiplicatif";
  static constexpr int PrecisionMini = 2, PrecisionMaxi = 7;
  // A definition stores four factors (the device file's keys 1 to 4): no fifth calibre.
  static constexpr int NbreCalibreMaxi = 4;

  explicit TConfigSysamDlg(TDialogueUtilisateur& dialogue) : dialogue_(dialogue) {}

  // A real typed with the user's separator; the conversion error text otherwise.
  static std::string ErreurReel(const std::string& texte);

  void FormActivate();
  void DiffCBClick(bool coche);
  void NbreCalibreSEChange(int n);
  void PrecisionSEChange(int valeur);
  // The factor typed in cell (1, ligne): stored at once with its full scale; false
  // (the conversion error shown, nothing changed) when it is no number.
  bool ValideFacteur(int ligne);
  // Whether the user may type in cell (colonne, ligne).
  static bool CelluleModifiable(int colonne, int ligne) { return colonne == 1 && ligne >= 2; }
  void OKBtnClick();

  Tappareil* AppareilCourant = nullptr;

  // ---- controls
  std::string EditSymbole, EditUnite, EditMin, EditMax, EditNomAppareil, aEdit, bEdit;
  int PrecisionSE = 5;
  std::array<std::string, 4> EARGItems{};
  int EARG = 0;
  int CalibreRG = 0;
  bool DiffCB = false;
  int NbreCalibreSE = 1;
  // Row 0 the headings, row i calibre i: its full scale, its factor.
  std::vector<std::array<std::string, 2>> CalibreGrid;
  bool GridVisible = false;

private:
  void LibelleEntrees();
  void Lignes(int n);
  std::string PleineEchelle(int i) const;

  TDialogueUtilisateur& dialogue_;
};
