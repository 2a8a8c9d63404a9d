// Rules of the test window.
#include "links/dialogs/test_dlg.h"

#include <algorithm>

#include "instruments/appareil.h"
#include "instruments/commande.h"
#include "instruments/trames_wtw.h"
#include "links/dialogs/config_dlg.h"
#include "links/dialogs/contexte_editeur.h"
#include "platform/boucle.h"
#include "platform/dialogue.h"
#include "util/regional_courant.h"

TTestDlg::TTestDlg(TContexteEditeur& contexte, TConfigDlg& editeur) : contexte_(contexte), editeur_(editeur) {
  TBoucleEvenements& b = contexte_.Boucle();
  timer_ = b.CreeMinuterie();
  timer_->SetRappel([this] { TimerTimer(); });
  timerWTW1_ = b.CreeMinuterie();
  timerWTW1_->SetIntervalle(2000);
  timerWTW1_->SetRappel([this] { TimerWTW1Timer(); });
  timerWTW2_ = b.CreeMinuterie();
  timerWTW2_->SetIntervalle(20);
  timerWTW2_->SetRappel([this] { TimerWTW2Timer(); });
}

TTestDlg::~TTestDlg() {
  if (port_ && port_->OnTriggerAvail().proprietaire == this) port_->SetOnTriggerAvail({});
}

TPortSerie* TTestDlg::Port() const {
  return dynamic_cast<TPortSerie*>(editeur_.AppareilCourant->VoieSerie);
}

void TTestDlg::FormActivate() {
  Tappareil& A = *editeur_.AppareilCourant;
  MemoTest.clear();
  MesureBtnEnabled = true;
  if (contexte_.SimulationWTW()) {
    timerWTW1_->SetActif(true);
    contexte_.CaractereWTW() = 1;
    contexte_.LigneWTW() = 0;
  } else if (TPortSerie* p = Port()) {
    port_ = p;
    p->SetOnTriggerAvail({this, [this](TPortSerie* cp, std::uint16_t count) { TriggerAvail(cp, count); }});
    try {
      p->SetOpen(true);
      p->SetTracing(tlOn);
      p->SetLogging(tlOn);
    } catch (const EPortSerie& e) {
      // Shown as the program shows any port error; the window stays usable.
      contexte_.Dialogue().Erreur(e.what());
    }
  }
  InitBtnVisible = !A.ChaineInit.empty();
  if (InitBtnVisible) InitBtnClick();
  else MesureBtnClick();
  FinBtnVisible = !A.ChaineFin.empty();
}

void TTestDlg::MesureBtnClick() {
  Tappareil& A = *editeur_.AppareilCourant;
  A.ChaineLue.clear();
  MesureBtnEnabled = false;
  MemoTest.emplace_back();
  if (!A.EnvoiDirect) {
    MemoTest.push_back("Envoi de :");
    MemoTest.push_back(CodeCommande(A.Demande));
    if (!contexte_.SimulationWTW()) Ecrit(A.Demande);
  }
  timer_->SetIntervalle(A.Delai + MargeAttenteMs);
  timer_->SetActif(true);
  MemoTest.push_back("Attente de " + std::to_string(A.Delai) + "ms");
}

void TTestDlg::Envoie(const std::string& chaine) {
  MemoTest.push_back("Envoi de :");
  MemoTest.push_back(CodeCommande(chaine));
  if (!contexte_.SimulationWTW()) Ecrit(chaine);
}

void TTestDlg::Ecrit(const std::string& chaine) {
  TVoieAppareil* v = editeur_.AppareilCourant->VoieSerie;
  if (!v) return;
  try {
    v->FlushInBuffer();
    v->PutString(chaine);
  } catch (const EPortSerie& e) {
    contexte_.Dialogue().Erreur(e.what());
  }
}

void TTestDlg::InitBtnClick() { Envoie(editeur_.AppareilCourant->ChaineInit); }
void TTestDlg::FinBtnClick() { Envoie(editeur_.AppareilCourant->ChaineFin); }

void TTestDlg::TriggerAvail(TPortSerie* cp, std::uint16_t count) {
  Tappareil& A = *editeur_.AppareilCourant;
  const bool simulation = contexte_.SimulationWTW();
  for (int k = 0; k < count; ++k) {
    unsigned char c = 0;
    if (cp) {
      // Count bytes are waiting.
      try {
        c = static_cast<unsigned char>(cp->GetChar());
      } catch (const EPortSerie&) {
        c = 0;
      }
    } else if (simulation) {
      c = OctetSuivantWTW(contexte_.LigneWTW(), contexte_.CaractereWTW());
    }
    // XON and XOFF are the line's, not the instrument's data.
    if (c == 9 || c == 10 || c == 13 || c >= 32) A.ChaineLue.push_back(static_cast<char>(c));
  }
}

void TTestDlg::TimerWTW1Timer() {
  timerWTW2_->SetActif(true);
  contexte_.CaractereWTW() = 1;
  contexte_.LigneWTW() = 0;
}

void TTestDlg::TimerWTW2Timer() {
  TriggerAvail(nullptr, static_cast<std::uint16_t>(OctetsDuTopWTW(contexte_.LigneWTW(), contexte_.CaractereWTW())));
  if (!SuiteWTW(contexte_.LigneWTW(), contexte_.CaractereWTW())) timerWTW2_->SetActif(false);
}

void TTestDlg::TimerTimer() {
  Tappareil& A = *editeur_.AppareilCourant;
  timer_->SetActif(false);
  MemoTest.push_back("Chaine reçue :");
  std::vector<std::string> liste;
  LignesRecues(A.ChaineLue, liste);
  for (const auto& l : liste) MemoTest.push_back(l);
  std::string& B = A.ChaineLue;
  if (A.EnvoiDirect && A.FormatFixe) {
    const auto garde = static_cast<std::size_t>(std::max(A.NbreCarac, 0));
    if (B.size() > garde) B.erase(0, B.size() - garde);
  } else if (A.EnvoiDirect) {
    if (static_cast<int>(CompteRetours(B)) > A.NbreLignes) B.erase(0, B.find('\r') + 1);
  }
  A.SetValeurCourante();
  if (A.depassement) MemoTest.push_back("Valeur >mini ou <maxi");
  MemoTest.push_back("Valeur lue : " + A.SymboleGrandeur + "=" +
                     FormatGeneral(A.ValeurCourante, std::clamp(A.Precision, 1, 15), 2, SeparateurDecimal()) +
                     A.UniteGrandeur);
  MesureBtnEnabled = true;
  if (Rafraichit) Rafraichit();
}

void TTestDlg::FormClose() {
  timer_->SetActif(false);
  timerWTW1_->SetActif(false);
  timerWTW2_->SetActif(false);
  if (contexte_.SimulationWTW() || !port_) return;
  try {
    port_->SetTracing(tlDump);
    port_->SetLogging(tlDump);
  } catch (const EPortSerie&) {
  }
  port_->SetOnTriggerAvail({});
  port_ = nullptr;
}
