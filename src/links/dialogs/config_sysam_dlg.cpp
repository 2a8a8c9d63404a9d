// Rules of the interface-box definition editor.
#include "links/dialogs/config_sysam_dlg.h"

#include <algorithm>
#include <cmath>

#include "instruments/appareil.h"
#include "platform/dialogue.h"
#include "util/nombres.h"
#include "util/regional_courant.h"

std::string TConfigSysamDlg::ErreurReel(const std::string& texte) {
  return "'" + texte + "' n'est pas une valeur à virgule flottante correcte";
}

std::string TConfigSysamDlg::PleineEchelle(int i) const {
  const Tappareil& A = *AppareilCourant;
  return A.ValeurUnite(A.coeffCalibreApp[static_cast<std::size_t>(i)] * A.ValMaxi);
}

void TConfigSysamDlg::LibelleEntrees() {
  for (std::size_t i = 0; i < EARGItems.size(); ++i) EARGItems[i] = DiffCB ? EntreesDiff[i] : Entrees[i];
}

void TConfigSysamDlg::Lignes(int n) {
  Tappareil& A = *AppareilCourant;
  const std::size_t avant = CalibreGrid.size();
  CalibreGrid.resize(static_cast<std::size_t>(n) + 1);
  // Rows coming back show the factors the definition still holds.
  for (std::size_t i = std::max<std::size_t>(avant, 1); i < CalibreGrid.size(); ++i) {
    CalibreGrid[i][1] = FormatGeneral(A.coeffCalibreApp[i], 15, 2, SeparateurDecimal());
    CalibreGrid[i][0] = PleineEchelle(static_cast<int>(i));
  }
  GridVisible = n > 1;
}

void TConfigSysamDlg::FormActivate() {
  Tappareil& A = *AppareilCourant;
  EditUnite = A.UniteGrandeur;
  EditSymbole = A.SymboleGrandeur;
  EditNomAppareil = A.NomAppareil;
  EditMin = A.FormatApp(A.ValMini);
  EditMax = A.FormatApp(A.ValMaxi);
  aEdit = A.FormatApp(A.aSysam);
  bEdit = A.FormatApp(A.bSysam);
  PrecisionSE = std::clamp(A.Precision, PrecisionMini, PrecisionMaxi);
  EARG = A.indiceVoieSysam % 4;
  CalibreRG = static_cast<int>(A.calibreSysam);
  DiffCB = A.differentielSysam;
  NbreCalibreSE = std::clamp(A.NbreCalibreApp, 1, NbreCalibreMaxi);
  A.coeffCalibreApp[1] = 1;
  CalibreGrid.clear();
  CalibreGrid.push_back({"Calibre", "Facteur"});
  Lignes(NbreCalibreSE);
  LibelleEntrees();
}

void TConfigSysamDlg::DiffCBClick(bool coche) {
  DiffCB = coche;
  LibelleEntrees();
}

void TConfigSysamDlg::NbreCalibreSEChange(int n) {
  NbreCalibreSE = std::clamp(n, 1, NbreCalibreMaxi);
  Lignes(NbreCalibreSE);
}

void TConfigSysamDlg::PrecisionSEChange(int valeur) {
  PrecisionSE = std::clamp(valeur, PrecisionMini, PrecisionMaxi);
  EditMin = AppareilCourant->FormatApp(AppareilCourant->ValMini);
  EditMax = AppareilCourant->FormatApp(AppareilCourant->ValMaxi);
}

bool TConfigSysamDlg::ValideFacteur(int ligne) {
  if (ligne < 2 || ligne >= static_cast<int>(CalibreGrid.size())) return true;
  auto& cellules = CalibreGrid[static_cast<std::size_t>(ligne)];
  const double f = LitNombre(cellules[1]);
  if (std::isnan(f)) {
    dialogue_.Erreur(ErreurReel(cellules[1]));
    return false;
  }
  AppareilCourant->coeffCalibreApp[static_cast<std::size_t>(ligne)] = f;
  cellules[0] = PleineEchelle(ligne);
  return true;
}

void TConfigSysamDlg::OKBtnClick() {
  Tappareil& A = *AppareilCourant;
  A.NomAppareil = EditNomAppareil;
  A.UniteGrandeur = EditUnite;
  A.SymboleGrandeur = EditSymbole;
  A.ValMini = LitNombre(EditMin);
  A.aSysam = LitNombre(aEdit);
  A.bSysam = LitNombre(bEdit);
  A.ValMaxi = LitNombre(EditMax);
  A.Precision = std::clamp(PrecisionSE, PrecisionMini, PrecisionMaxi);
  A.indiceVoieSysam = static_cast<std::uint8_t>(std::clamp(EARG, 0, 3));
  A.calibreSysam = static_cast<Tcalibre>(std::clamp(CalibreRG, 0, 3));
  A.differentielSysam = DiffCB;
  const int n = std::clamp(NbreCalibreSE, 1, NbreCalibreMaxi);
  A.NbreCalibreApp = n;
  if (n == 1) {
    A.coeffCalibreApp[1] = 1;
    return;
  }
  for (int i = 1; i <= n; ++i) {
    const std::size_t k = static_cast<std::size_t>(i);
    const double f = k < CalibreGrid.size() ? LitNombre(CalibreGrid[k][1]) : PasDeValeur;
    A.coeffCalibreApp[k] = std::isnan(f) ? 1 : f;
  }
}
