// Rules of the instrument selection dialog.
#include "dialogs/choix_app.h"

#include <algorithm>

#include "core/adaptateurs.h"
#include "core/cinetique.h"
#include "instruments/base_appareils.h"
#include "util/textes.h"

const std::array<const char*, TChoixAppDlg::NbrePages> TChoixAppDlg::CaptionsPages = {
    "1er appareil",  "2ème appareil", "3ème appareil", "4ème appareil", "5ème appareil",
    "6ème appareil", "7ème appareil", "8ème appareil", "9ème appareil"};

TChoixAppDlg::TChoixAppDlg(TCinetiqueMain& moteur, TAdaptateurs* adaptateurs)
    : moteur_(moteur), adaptateurs_(adaptateurs) {
  FormCreate();
}

void TChoixAppDlg::FormCreate() {
  for (int i = 0; i < NbrePages; ++i) Pages[static_cast<std::size_t>(i)].caption = CaptionsPages[static_cast<std::size_t>(i)];
  ListeLoc.clear();
  MajEnCours = true;
}

bool TChoixAppDlg::Listable(const Tappareil& a) const {
  if (a.isOrigalys) {
    // The meters of the last detection: listing a model enumerates nothing again.
    return adaptateurs_ && adaptateurs_->UsbCharge() && MetreConnecte(adaptateurs_->MetresUSB(), a.identOrigalys);
  }
  if (a.isSysam) return adaptateurs_ && adaptateurs_->BoitierPresent();
  return true;
}

void TChoixAppDlg::ListeModeles(const std::string& grandeur) {
  ListeAppareilItems.clear();
  const std::string q = MinusculesAscii(grandeur);
  for (const auto& a : moteur_.Base().ListeAppareils)
    if (MinusculesAscii(a->nomGrandeur) == q && Listable(*a)) ListeAppareilItems.push_back(a->NomAppareil);
  ListeAppareilIndex = static_cast<int>(ListeAppareilItems.size()) - 1;
}

int TChoixAppDlg::ItemDuPort(const TGroupePorts& ports, int com) const {
  for (int k = 0; k < static_cast<int>(ports.items.size()); ++k)
    if (moteur_.NumeroCom(k) == com) return k;
  return -1;
}

void TChoixAppDlg::RafraichitPages() {
  const int n = NbreAttaches();
  AddBtnEnabled = !ListeAppareilItems.empty() && n < NbrePages;
  PageControlVisible = n > 0;
  NoAppLabelVisible = n == 0;
  for (int i = 0; i < NbrePages; ++i) {
    TPageAppareil& p = Pages[static_cast<std::size_t>(i)];
    Tappareil* a = i < n ? AppareilCourant[static_cast<std::size_t>(i)] : nullptr;
    if (!a) {
      p.visible = false;
      continue;
    }
    const int k = ItemDuPort(p.ports, a->ComNumber);
    p.ports.itemIndex = k >= 0 ? k : (p.ports.items.empty() ? -1 : 0);
    p.ports.visible = !a->isOrigalys && !a->isSysam;
    p.nom = a->NomAppareil;
    p.caption = a->nomCourt();
    p.visible = true;
    p.memo.clear();
    for (int l = 1; l <= 16; ++l)
      if (!a->AidePilotage[static_cast<std::size_t>(l)].empty()) p.memo.push_back(a->AidePilotage[static_cast<std::size_t>(l)]);
    p.memoVisible = !p.memo.empty();
  }
  if (n > 0) PageActive = n - 1;
}

void TChoixAppDlg::Attache(Tappareil& d) {
  const int n = NbreAttaches();
  if (n >= NbrePages) return;
  TGroupePorts& ports = Pages[static_cast<std::size_t>(n)].ports;
  const int k = ItemDuPort(ports, d.ComNumber);
  if (k >= 0) {
    ports.itemIndex = k;
  } else if (!ports.items.empty()) {
    // A model whose port this machine lacks listens on the first port listed.
    ports.itemIndex = 0;
    d.ComNumber = static_cast<std::uint16_t>(moteur_.NumeroCom(0));
  }
  d.InitialisationAfaire = !d.ChaineInit.empty();
  d.DeblocageAfaire = !d.ChaineFin.empty();
  AppareilCourant[static_cast<std::size_t>(n)] = &d;
  ListeLoc.push_back(d.NomAppareil);
  RafraichitPages();
}

void TChoixAppDlg::AddBtnClick() {
  if (NbreAttaches() >= NbrePages) return;
  if (ListeAppareilIndex < 0 || ListeAppareilIndex >= static_cast<int>(ListeAppareilItems.size())) return;
  Tappareil* d = moteur_.Base().ChercheAppareil(ListeAppareilItems[static_cast<std::size_t>(ListeAppareilIndex)]);
  if (!d) return;
  for (int i = 0; i < NbreAttaches(); ++i)
    if (AppareilCourant[static_cast<std::size_t>(i)] == d &&
        !Confirmation(moteur_.Plateforme().dialogue, QuestionDouble))
      return;
  Attache(*d);
}

void TChoixAppDlg::ListeAppareilComboClick(int index) {
  ListeAppareilIndex = index;
  if (index > 0) AddBtnClick();
}

void TChoixAppDlg::ListeOldClick(int index) {
  ListeOldIndex = index;
  if (index <= 0 || index >= static_cast<int>(ListeOldItems.size())) return;
  if (NbreAttaches() >= NbrePages) return;
  const std::string& nom = ListeOldItems[static_cast<std::size_t>(index)];
  for (const auto& l : ListeLoc)
    if (EgalSansCasse(l, nom)) return;
  if (Tappareil* d = moteur_.Base().ChercheAppareil(nom)) Attache(*d);
}

void TChoixAppDlg::DelBtnClick(int tag) {
  const int n = NbreAttaches();
  if (tag < 0 || tag >= n) return;
  for (int i = tag; i + 1 < n; ++i)
    AppareilCourant[static_cast<std::size_t>(i)] = AppareilCourant[static_cast<std::size_t>(i + 1)];
  AppareilCourant[static_cast<std::size_t>(n - 1)] = nullptr;
  ListeLoc.erase(ListeLoc.begin() + tag);
  RafraichitPages();
}

void TChoixAppDlg::RadioGroup4Click(int tag, int itemIndex) {
  if (MajEnCours || tag < 0 || tag >= NbreAttaches()) return;
  TGroupePorts& ports = Pages[static_cast<std::size_t>(tag)].ports;
  if (itemIndex < 0 || itemIndex >= static_cast<int>(ports.items.size())) return;
  ports.itemIndex = itemIndex;
  // Made in the definition at once: it stays even when the dialog is cancelled.
  AppareilCourant[static_cast<std::size_t>(tag)]->ComNumber = static_cast<std::uint16_t>(moteur_.NumeroCom(itemIndex));
  ModifSerie = true;
}

void TChoixAppDlg::GrandeurComboChange(int index) {
  GrandeurIndex = index;
  if (index >= 0 && index < static_cast<int>(GrandeurItems.size())) ListeModeles(GrandeurItems[static_cast<std::size_t>(index)]);
  RafraichitPages();
}

void TChoixAppDlg::FormActivate() {
  MajEnCours = true;
  // Every page lists the same ports: probed once.
  TGroupePorts ports;
  moteur_.SetRS232RG(ports.items, ports.itemIndex, ports.caption, 0);
  for (auto& p : Pages) p.ports = ports;
  TBaseAppareils& base = moteur_.Base();
  GrandeurItems = base.ListeGrandeurs;
  ListeOldItems.clear();

  const int voies = moteur_.NbreVoies();
  Tappareil* reference = voies > 0 ? moteur_.Voie(0) : nullptr;
  if (!reference && !base.ListeAppareils.empty()) reference = base.ListeAppareils.front().get();
  NoAppLabelVisible = voies == 0;
  GrandeurIndex = -1;
  if (reference) {
    for (int k = 0; k < static_cast<int>(GrandeurItems.size()); ++k)
      if (GrandeurItems[static_cast<std::size_t>(k)] == reference->nomGrandeur) GrandeurIndex = k;
    // The quantity names of the list are normalised; a definition may spell its own
    // with capitals.
    if (GrandeurIndex < 0)
      for (int k = 0; k < static_cast<int>(GrandeurItems.size()); ++k)
        if (EgalSansCasse(GrandeurItems[static_cast<std::size_t>(k)], reference->nomGrandeur)) GrandeurIndex = k;
    ListeModeles(reference->nomGrandeur);
  } else {
    ListeAppareilItems.clear();
    ListeAppareilIndex = -1;
  }

  ListeOldItems.push_back(InviteOld);
  for (const auto& nom : moteur_.OldAppareilAcq) ListeOldItems.push_back(nom);
  ListeOldIndex = 0;
  oldGBVisible = moteur_.ListeAppRecent && !moteur_.OldAppareilAcq.empty();

  ListeLoc.clear();
  AppareilCourant.fill(nullptr);
  int n = 0;
  for (int i = 0; i < voies && n < NbrePages; ++i)
    if (Tappareil* a = moteur_.Voie(i)) {
      AppareilCourant[static_cast<std::size_t>(n++)] = a;
      ListeLoc.push_back(a->NomAppareil);
    }
  RafraichitPages();
  modification = false;
  ModifSerie = false;
  MajEnCours = false;
}

void TChoixAppDlg::OKBtnClick() {
  if (NbreAttaches() == 0 && ListeAppareilIndex >= 0 && ListeAppareilIndex < static_cast<int>(ListeAppareilItems.size()))
    AddBtnClick();
  const int n = NbreAttaches();
  modification = n != moteur_.NbreVoies() || ModifSerie;
  moteur_.SetNbreVoies(n);
  for (int i = 0; i < n; ++i) {
    if (moteur_.AppareilAcq[static_cast<std::size_t>(i)] != AppareilCourant[static_cast<std::size_t>(i)]) modification = true;
    moteur_.AppareilAcq[static_cast<std::size_t>(i)] = AppareilCourant[static_cast<std::size_t>(i)];
  }
}
