// Rules of the USB test window.
#include "dialogs/test_origalys.h"

#include "instruments/appareil.h"
#include "links/origalys.h"
#include "util/cp1252.h"

void TTestOrigalysDlg::Ajoute(std::string ligne) {
  MemoTest.push_back(std::move(ligne));
  if (SurLigne) SurLigne(MemoTest.back());
}

void TTestOrigalysDlg::FormActivate() {
  MemoTest.clear();
  metre_ = nullptr;
  MesureBtnEnabled = false;
  EnvoiBtnEnabled = true;
  if (!Appareil) return;
  Tappareil& A = *Appareil;
  Ajoute("Identificateur : " + std::to_string(A.identOrigalys));
  Ajoute("Path : " + Cp1252VersUtf8(A.pathOrigalys));
  // Found again in the current table (which says so when the meter is not there):
  // a meter object from before an enumeration is never followed.
  if (liste_) metre_ = liste_->getAppareilIdentPath(A.identOrigalys, A.pathOrigalys);
  A.appareilOrigalys = metre_;
  MesureBtnEnabled = metre_ && metre_->connecte;
}

void TTestOrigalysDlg::Echange(const std::string& t, bool mesure) {
  MesureBtnEnabled = EnvoiBtnEnabled = false;
  Ajoute("Envoi : " + Cp1252VersUtf8(t));
  const std::string r = metre_ ? metre_->GetStr(t) : std::string();
  Ajoute("Réponse : $" + Cp1252VersUtf8(r) + "$");
  EnvoiBtnEnabled = true;
  MesureBtnEnabled = metre_ && metre_->connecte;
  if (!mesure || !Appareil) return;
  Appareil->ValeurCourante = ValeurReponseOrigalys(r, DebutsUniteTestOrigalys);
  Ajoute(Appareil->NomValeurUniteCourante());
}

void TTestOrigalysDlg::EnvoiBtnClick() { Echange(Utf8VersCp1252(Edit1), false); }

void TTestOrigalysDlg::MesureBtnClick() {
  if (Appareil) Echange(Appareil->Demande, true);
}
