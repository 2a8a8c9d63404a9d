// Rules of the channel configuration dialog.
#include "dialogs/cfg_app.h"

#include <algorithm>
#include <cmath>

#include "core/cinetique.h"
#include "core/page_dialogue.h"
#include "links/erreur_serie.h"
#include "util/nombres.h"
#include "util/regional_courant.h"
#include "util/textes.h"

namespace {
std::string TexteBorne(double x, int precision) {
  if (std::isnan(x)) return {};
  return FormatGeneral(x, precision, 2, SeparateurDecimal());
}

}  // namespace

Tappareil* AppareilDeVoie(const TCinetiqueMain& moteur, int voie) {
  if (voie < 0 || voie >= moteur.NbreVoies() || voie >= TCinetiqueMain::NbreVoiesMax) return nullptr;
  return moteur.Voie(voie);
}

Tappareil* TCfgAppDlg::Appareil() const { return AppareilDeVoie(moteur_, voieApp); }

Tappareil* TCfgAppDlg::AppareilRempli() const {
  Tappareil* A = Appareil();
  // The same object under the same name: a definition released and another made at
  // its address (the device file read again) would otherwise take the edits.
  if (!A || A != rempli_ || voieApp != voieRemplie_ || A->NomAppareil != nomRempli_) return nullptr;
  return A;
}

void TCfgAppDlg::FormActivate() {
  Tappareil* A = Appareil();
  rempli_ = A;
  voieRemplie_ = voieApp;
  nomRempli_ = A ? A->NomAppareil : std::string();
  Comports = TGroupePorts{};
  ComportsCalibres = false;
  MemoAide.clear();
  if (!A) {
    caption = Caption;
    GrandeurEdit.clear();
    EditNom.clear();
    EditUnite.clear();
    EditMin.clear();
    EditMax.clear();
    DepassementCB = false;
    Comports.visible = false;
    InitBtnVisible = FinBtnVisible = false;
    return;
  }
  moteur_.SetRS232RG(Comports.items, Comports.itemIndex, Comports.caption, A->ComNumber);
  if (Comports.items.empty()) Comports.itemIndex = -1;
  DepassementCB = A->FiltrageDepassement;
  GrandeurEdit = A->nomGrandeur;
  caption = A->NomAppareil.empty() ? std::string(Caption) : A->NomAppareil;
  EditNom = A->SymboleGrandeur;
  EditUnite = A->UniteGrandeur;
  EditMin = TexteBorne(A->ValMini, A->Precision);
  EditMax = TexteBorne(A->ValMaxi, A->Precision);
  for (int l = 1; l <= 16; ++l)
    if (!A->AidePilotage[static_cast<std::size_t>(l)].empty()) MemoAide.push_back(A->AidePilotage[static_cast<std::size_t>(l)]);
  InitBtnVisible = !A->ChaineInit.empty();
  FinBtnVisible = !A->ChaineFin.empty();
  if (A->isSysam) {
    const int n = std::clamp(A->NbreCalibreApp, 1, 4);
    Comports.visible = n > 1;
    if (Comports.visible) {
      Comports.items.clear();
      for (int i = 1; i <= n; ++i)
        Comports.items.push_back(A->ValeurUnite(A->coeffCalibreApp[static_cast<std::size_t>(i)] * A->ValMaxi));
      Comports.itemIndex = std::clamp(A->NumeroCalibreApp, 1, n) - 1;
      Comports.caption = CaptionCalibre;
      ComportsCalibres = true;
    }
  } else {
    Comports.visible = !A->isOrigalys;
  }
}

bool TCfgAppDlg::OKBtnClick() {
  Tappareil* A = AppareilRempli();
  if (!A) return false;
  A->SymboleGrandeur = TronqueCaracteres(EditNom, static_cast<std::size_t>(LongueurNom));
  A->UniteGrandeur = EditUnite;
  A->ValMini = LitNombre(EditMin);
  A->ValMaxi = LitNombre(EditMax);
  A->FiltrageDepassement = DepassementCB;
  if (!Comports.visible || !Comports.Choisi()) return true;
  if (ComportsCalibres) {
    // The calibre the reading applies; an input of the box has no port to change.
    A->NumeroCalibreApp = Comports.itemIndex + 1;
    return true;
  }
  const int n = moteur_.NumeroCom(Comports.itemIndex);
  if (n == A->ComNumber) return true;
  if (!verif || Confirmation(moteur_.Plateforme().dialogue, QuestionPort)) A->ComNumber = static_cast<std::uint16_t>(n);
  return true;
}

bool TCfgAppDlg::Envoie(Tappareil& A, const std::string& chaine) {
  if (!moteur_.setVoieSerieApp(A) || !A.VoieSerie) return false;
  try {
    A.VoieSerie->PutString(chaine);
    return true;
  } catch (const EPortSerie& e) {
    moteur_.Plateforme().dialogue.Erreur(e.what());
    return false;
  }
}

void TCfgAppDlg::InitBtnClick() {
  Tappareil* A = AppareilRempli();
  if (A && Envoie(*A, A->ChaineInit)) A->InitialisationAfaire = false;
}

void TCfgAppDlg::FinBtnClick() {
  if (Tappareil* A = AppareilRempli()) Envoie(*A, A->ChaineFin);
}

void TCfgAppDlg::PiloteBtnClick() {
  Tappareil* A = AppareilRempli();
  if (!A || A->isSysam) return;
  if (A->isOrigalys) {
    if (OuvreTestUSB) OuvreTestUSB(*A);
    return;
  }
  if (moteur_.setVoieSerieApp(*A) && OuvreTerminal) OuvreTerminal(voieApp);
}

void TCfgAppDlg::HelpBtnClick() {
  if (Aide) Aide(ContexteAide);
}

void GroupBox1Click(TCinetiqueMain& M, TCfgAppDlg& dialogue, int voie, const std::function<bool()>& montre) {
  if (!AppareilDeVoie(M, voie)) return;
  M.SuspendAcq();
  dialogue.voieApp = voie;
  dialogue.verif = M.Graphe->NbrePoints > 0 && !M.dataSaved;
  const int com = M.Voie(voie)->ComNumber;
  const bool ok = montre();
  // The channel's instrument now: it may have been replaced while the dialog was open.
  const Tappareil* A = M.Voie(voie);
  if (ok && A && A->ComNumber != com) {
    M.InitAttente();
    return;
  }
  M.MajVoies();
  M.ReprendAcq();
  M.Reponse = true;
}
