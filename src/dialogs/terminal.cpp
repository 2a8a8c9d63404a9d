// Rules of the terminal.
#include "dialogs/terminal.h"

#include "core/cinetique.h"
#include "dialogs/cfg_app.h"
#include "links/erreur_serie.h"
#include "util/cp1252.h"

TTerminalForm::~TTerminalForm() { FormClose(); }

Tappareil* TTerminalForm::Appareil() const { return AppareilDeVoie(moteur_, voieApp); }

void TTerminalForm::FormActivate() {
  MemoAide.assign(16, std::string());
  Tappareil* A = Appareil();
  if (!A) return;
  for (int l = 1; l <= 16; ++l) MemoAide[static_cast<std::size_t>(l - 1)] = A->AidePilotage[static_cast<std::size_t>(l)];
  // The engine's port object that the instrument is bound to.
  voieSerieLoc = nullptr;
  for (const auto& p : moteur_.voieSerieCin)
    if (p && A->VoieSerie == p.get()) voieSerieLoc = p.get();
  if (voieSerieLoc)
    voieSerieLoc->SetOnTriggerAvail({this, [this](TPortSerie* cp, std::uint16_t count) { TriggerAvail(cp, count); }});
}

void TTerminalForm::Ajoute(std::string ligne) {
  Memo1.push_back(std::move(ligne));
  if (SurLigne) SurLigne(Memo1.back());
}

void TTerminalForm::Envoie(TFinEnvoi fin) {
  if (!voieSerieLoc) return;
  const std::string texte = TexteEnvoye(Utf8VersCp1252(OrdreEdit), fin);
  try {
    voieSerieLoc->PutString(texte);
  } catch (const EPortSerie& e) {
    moteur_.Plateforme().dialogue.Erreur(e.what());
    return;
  }
  Ajoute(LigneEnvoi(texte));
}

void TTerminalForm::TriggerAvail(TPortSerie* cp, std::uint16_t count) {
  if (!cp) return;
  try {
    for (std::uint16_t i = 0; i < count; ++i) {
      if (!cp->CharReady()) continue;
      if (auto ligne = reception_.Recoit(cp->GetChar())) Ajoute(std::move(*ligne));
    }
  } catch (const EPortSerie& e) {
    moteur_.Plateforme().dialogue.Erreur(e.what());
  }
}

void TTerminalForm::FormClose() {
  if (!voieSerieLoc) return;
  TCinetiqueMain* M = &moteur_;
  voieSerieLoc->SetOnTriggerAvail({M, [M](TPortSerie* cp, std::uint16_t count) { M->TriggerAvail(cp, count); }});
  voieSerieLoc = nullptr;
}

void TTerminalForm::HelpBtnClick() {
  // The terminal has no topic of its own: the help's contents.
  if (Aide) Aide(0);
}
