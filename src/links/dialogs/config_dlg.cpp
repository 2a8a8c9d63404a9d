// Rules of the device definition editor.
#include "links/dialogs/config_dlg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "instruments/appareil.h"
#include "instruments/commande.h"
#include "links/dialogs/contexte_editeur.h"
#include "platform/dialogue.h"
#include "util/cp1252.h"
#include "util/nombres.h"
#include "util/textes.h"

namespace {
template <typename T> T Borne(int v) {
  return static_cast<T>(std::clamp<long long>(v, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}
}  // namespace

TConfigDlg::TConfigDlg(TContexteEditeur& contexte) : contexte_(contexte) {}

TConfigDlg::~TConfigDlg() {
  // No port may keep a handler of an editor that is gone.
  RendPort();
}

std::optional<std::int32_t> TConfigDlg::LitEntier(const std::string& texte) {
  std::size_t debut = 0, fin = texte.size();
  while (debut < fin && texte[debut] == ' ') ++debut;
  while (fin > debut && texte[fin - 1] == ' ') --fin;
  const char* d = texte.data() + debut;
  const char* f = texte.data() + fin;
  if (d != f && *d == '+') ++d;
  std::int32_t v = 0;
  const auto r = std::from_chars(d, f, v);
  if (d == f || r.ec != std::errc() || r.ptr != f) return std::nullopt;
  return v;
}

std::string TConfigDlg::ErreurEntier(const std::string& texte) {
  return "'" + texte + "' n'est pas une valeur entière correcte";
}

void TConfigDlg::FormShow() {
  Tappareil& A = *AppareilCourant;
  PageActive = TabGrandeur;
  ClearBtnVisible = false;
  Memo1.clear();
  reception.Vide();
  FormActivate();
  // As opened: the filling's own change of the quantity name stays.
  copie_ = std::make_unique<Tappareil>();
  copie_->Assign(A);
  voieAvant_ = A.VoieSerie;
  initAvant_ = A.InitialisationAfaire;
  deblocageAvant_ = A.DeblocageAfaire;
}

void TConfigDlg::FormActivate() {
  Tappareil& A = *AppareilCourant;
  contexte_.SetRS232RG(ComportsItems, ComportsIndex, ComportsCaption, A.ComNumber);
  EditUnite = A.UniteGrandeur;
  EditSymbole = A.SymboleGrandeur;
  EditNomAppareil = A.NomAppareil;
  EditMin = A.FormatApp(A.ValMini);
  EditMax = A.FormatApp(A.ValMaxi);
  PrecisionSE = std::clamp(A.Precision, PrecisionMini, PrecisionMaxi);
  lectureStabCB = A.lectureSTAB;
  DepassementCB = A.FiltrageDepassement;
  DeriveEdit = !std::isnan(A.Derive) && A.Derive > 1e-25 ? A.FormatApp(A.Derive) : "";
  EnvoiDonneesRG = A.EnvoiDirect ? 1 : 0;
  FixeRG = A.FormatFixe ? 1 : 0;
  DelaiEdit = std::to_string(A.Delai);
  SeparateurSE = static_cast<unsigned char>(A.SeparateurChiffre);
  LectureCoeffCB = A.LireCoeffUnite;
  LectureNomUniteCB = A.LireNomUnite;
  BaudsRG = ItemBaudDefaut;
  for (std::size_t i = 0; i < Bauds.size(); ++i)
    if (Bauds[i] == A.Baud) BaudsRG = static_cast<int>(i);
  ParityRG = static_cast<int>(A.Parite);
  DatabitsRG = std::clamp(8 - static_cast<int>(A.DataBits), 0, 3);
  StopbitsRG = std::clamp(static_cast<int>(A.StopBits) - 1, 0, 1);
  RTSCTSbox = A.RTSCTS;
  XonXoffBox = A.XonXoff;
  if (MinusculesAscii(A.nomGrandeur) == "conductance") A.nomGrandeur = "conductivité";
  nomGrandeurIndex = static_cast<int>(Grandeurs.size()) - 1;
  for (std::size_t i = 0; i + 1 < Grandeurs.size(); ++i)
    if (EgalSansCasse(Grandeurs[i], A.nomGrandeur)) {
      nomGrandeurIndex = static_cast<int>(i);
      break;
    }
  nomGrandeurCombo = Grandeurs[static_cast<std::size_t>(nomGrandeurIndex)];
  PilotageMemo.assign(A.AidePilotage.begin() + 1, A.AidePilotage.end());
  EditDemande = CodeCommande(A.Demande);
  EditDemandeBis = CodeCommande(A.DemandeBis);
  EditInit = CodeCommande(A.ChaineInit);
  EditFin = CodeCommande(A.ChaineFin);
  EditVerif = CodeCommande(A.TexteVerif);
  NbreCaracSE = A.NbreCarac;
  NumVerifSE = std::clamp(A.NumeroVerif, 0, NumVerifMaxi);
  PosDebutSE = std::clamp(A.DebutNombre, PosDebutMini, PosDebutMaxi);
  NbreLignesSE = A.NbreLignes;
  NumeroOrdreSE = A.NumeroOrdre;
  voieSerieAffecte = false;
  AjusteFormat();
}

void TConfigDlg::AjusteFormat() {
  const Tappareil& A = *AppareilCourant;
  if (!A.EnvoiDirect) {
    DemandeGBCaption = CaptionDemande;
  } else if (PosDebutSE < 1) {
    DemandeGBCaption = CaptionApres;
    DemandeBisGBCaption = CaptionBisApres;
  } else {
    DemandeGBCaption = CaptionAvant;
    DemandeBisGBCaption = CaptionBisAvant;
  }
  NbreCaracGBVisible = A.FormatFixe;
  NbreLignesGBVisible = !A.FormatFixe;
  NumeroOrdreGBVisible = !A.FormatFixe;
  DemandeBisGBVisible = A.EnvoiDirect;
  PosDebutGBVisible = A.FormatFixe || (A.EnvoiDirect && !EditDemande.empty());
}

void TConfigDlg::EnvoiDonneesRGClick(int item) {
  EnvoiDonneesRG = item;
  AppareilCourant->EnvoiDirect = item == 1;
  AjusteFormat();
}

void TConfigDlg::FixeRGClick(int item) {
  FixeRG = item;
  AppareilCourant->FormatFixe = item == 1;
  AjusteFormat();
}

void TConfigDlg::PosDebutSEChange(int valeur) {
  PosDebutSE = std::clamp(valeur, PosDebutMini, PosDebutMaxi);
  AjusteFormat();
}

void TConfigDlg::PrecisionSEChange(int valeur) {
  PrecisionSE = std::clamp(valeur, PrecisionMini, PrecisionMaxi);
  // The stored precision formats them: typed text gives way to the stored values.
  EditMin = AppareilCourant->FormatApp(AppareilCourant->ValMini);
  EditMax = AppareilCourant->FormatApp(AppareilCourant->ValMaxi);
}

bool TConfigDlg::DelaiSpinUp() {
  const auto d = LitEntier(DelaiEdit);
  if (!d) {
    contexte_.Dialogue().Erreur(ErreurEntier(DelaiEdit));
    return false;
  }
  const int b = *d / 100 * 100;
  DelaiEdit = std::to_string(b < DelaiMaxiBouton ? b + 100 : b);
  return true;
}

bool TConfigDlg::DelaiSpinDown() {
  const auto d = LitEntier(DelaiEdit);
  if (!d) {
    contexte_.Dialogue().Erreur(ErreurEntier(DelaiEdit));
    return false;
  }
  const int b = *d / 100 * 100;
  DelaiEdit = std::to_string(b > DelaiMiniBouton ? b - 100 : b);
  return true;
}

bool TConfigDlg::Stocke() {
  Tappareil& A = *AppareilCourant;
  // Checked before anything is stored: a refused delay leaves no half-stored model.
  const auto delai = LitEntier(DelaiEdit);
  if (!delai || *delai < 0 || *delai > std::numeric_limits<std::uint16_t>::max()) {
    contexte_.Dialogue().Erreur(ErreurEntier(DelaiEdit));
    return false;
  }
  A.FormatFixe = FixeRG == 1;
  A.EnvoiDirect = EnvoiDonneesRG == 1;
  A.Delai = static_cast<std::uint16_t>(*delai);
  A.NomAppareil = EditNomAppareil;
  A.nomGrandeur = MinusculesAscii(nomGrandeurCombo);
  if (A.nomGrandeur == "ph") A.nomGrandeur = "pH";
  A.UniteGrandeur = EditUnite;
  A.LireCoeffUnite = LectureCoeffCB;
  A.LireNomUnite = LectureNomUniteCB;
  A.FiltrageDepassement = DepassementCB;
  A.lectureSTAB = lectureStabCB;
  A.Derive = LitNombre(DeriveEdit);
  A.SetCoeffUnite();
  A.SymboleGrandeur = EditSymbole;
  A.ValMini = LitNombre(EditMin);
  A.ValMaxi = LitNombre(EditMax);
  A.Precision = std::clamp(PrecisionSE, PrecisionMini, PrecisionMaxi);
  A.SeparateurChiffre = static_cast<char>(static_cast<unsigned char>(std::clamp(SeparateurSE, 0, 255)));
  A.NbreCarac = NbreCaracSE;
  A.NumeroVerif = NumVerifSE;
  A.DebutNombre = PosDebutSE;
  A.Demande = DecodeCommande(EditDemande);
  A.DemandeBis = DecodeCommande(EditDemandeBis);
  A.ChaineInit = DecodeCommande(EditInit);
  A.ChaineFin = DecodeCommande(EditFin);
  A.TexteVerif = DecodeCommande(EditVerif);
  A.NbreLignes = Borne<std::uint8_t>(NbreLignesSE);
  A.NumeroOrdre = Borne<std::uint8_t>(NumeroOrdreSE);
  if (ComportsIndex >= 0 && ComportsIndex < static_cast<int>(ComportsItems.size()))
    A.ComNumber = Borne<std::uint16_t>(contexte_.NumeroCom(ComportsIndex));
  A.Baud = Bauds[static_cast<std::size_t>(std::clamp(BaudsRG, 0, static_cast<int>(Bauds.size()) - 1))];
  A.Parite = static_cast<TParity>(std::clamp(ParityRG, 0, 4));
  A.DataBits = static_cast<std::uint16_t>(8 - std::clamp(DatabitsRG, 0, 3));
  A.StopBits = static_cast<std::uint16_t>(std::clamp(StopbitsRG, 0, 1) + 1);
  A.RTSCTS = RTSCTSbox;
  A.XonXoff = XonXoffBox;
  for (std::size_t i = 1; i <= 16; ++i) A.AidePilotage[i] = i - 1 < PilotageMemo.size() ? PilotageMemo[i - 1] : "";
  return true;
}

TTriggerAvail TConfigDlg::Gestionnaire() {
  return {this, [this](TPortSerie* cp, std::uint16_t count) { TriggerAvail(cp, count); }};
}

bool TConfigDlg::PrepareTest() {
  voieSerieAffecte = false;
  erreurDelai_ = !Stocke();
  if (erreurDelai_) return false;
  Tappareil& A = *AppareilCourant;
  contexte_.SimulationWTW() = A.NomAppareil.find("WTW 3310") != std::string::npos;
  if (contexte_.SimulationWTW()) {
    contexte_.CaractereWTW() = 1;
    contexte_.LigneWTW() = 0;
    return true;
  }
  // A hand-edited COM number past the table has no port object: a port error.
  TPortSerie* p = contexte_.Port(A.ComNumber);
  if (!p) return false;
  A.VoieSerie = p;
  portPris_ = p;
  try {
    p->SetOpen(false);
    p->SetBaud(A.Baud);
    p->SetDataBits(A.DataBits);
    p->SetStopBits(A.StopBits);
    p->SetParity(A.Parite);
    p->SetSWFlowOptions(A.XonXoff ? swfBoth : swfNone);
    p->SetHWFlowOptions(A.RTSCTS ? THWFlowOptions{hwfUseRTS, hwfRequireCTS} : THWFlowOptions{});
    p->SetOnTriggerAvail(Gestionnaire());
    p->SetOpen(true);
  } catch (const EPortSerie&) {
    return false;
  }
  voieSerieAffecte = true;
  return true;
}

void TConfigDlg::PageChange(TPage page) {
  ClearBtnVisible = false;
  PageActive = page;
  if (page != TabPilotage) return;
  if (PrepareTest()) ClearBtnVisible = true;
  else PageActive = TabGrandeur;
}

void TConfigDlg::TestBtnClick() {
  bool pret = PrepareTest();
  if (!pret && !erreurDelai_) pret = PrepareTest();
  if (!pret) return;
  if (MontreTest) MontreTest();
  if (portPris_ && AppareilCourant->VoieSerie == portPris_) portPris_->SetOnTriggerAvail(Gestionnaire());
  // The editor is activated again when the test window closes.
  FormActivate();
}

void TConfigDlg::Envoie(TFinEnvoi fin) {
  // The simulated instrument has no port: nothing to write to.
  TVoieAppareil* voie = AppareilCourant->VoieSerie;
  if (!voie || contexte_.SimulationWTW()) return;
  const std::string texte = Utf8VersCp1252(OrdreEdit);
  try {
    voie->PutString(TexteEnvoye(texte, fin));
  } catch (const EPortSerie& e) {
    contexte_.Dialogue().Erreur(e.what());
    return;
  }
  // The text as typed, without the line end added (the terminal's log shows it).
  Memo1.push_back(LigneEnvoi(texte));
}

void TConfigDlg::EnvoiClick() { Envoie(TFinEnvoi::Aucune); }
void TConfigDlg::EnvoiCRClick() { Envoie(TFinEnvoi::CR); }
void TConfigDlg::EnvoiCRLFClick() { Envoie(TFinEnvoi::CRLF); }

void TConfigDlg::TriggerAvail(TPortSerie* cp, std::uint16_t count) {
  for (int k = 0; k < count; ++k) {
    unsigned char c = 0;
    try {
      if (cp && cp->CharReady()) c = static_cast<unsigned char>(cp->GetChar());
    } catch (const EPortSerie&) {
      c = 0;
    }
    if (auto ligne = reception.Recoit(static_cast<char>(c))) Memo1.push_back(std::move(*ligne));
  }
  if (Rafraichit) Rafraichit();
}

void TConfigDlg::RendPort() {
  // The port taken, not the definition's: the definition may be gone by now.
  TPortSerie* p = portPris_;
  if (!p) return;
  if (voieSerieAffecte) {
    try {
      p->SetOpen(false);
    } catch (const EPortSerie&) {
    }
    p->SetOnTriggerAvail(contexte_.TriggerPrincipal());
  } else if (p->OnTriggerAvail().proprietaire == this) {
    // Left open, but never with the handler of an editor about to close.
    p->SetOnTriggerAvail(contexte_.TriggerPrincipal());
  }
  voieSerieAffecte = false;
  portPris_ = nullptr;
}

bool TConfigDlg::OKBtnClick() {
  if (!Stocke()) return false;
  RendPort();
  copie_.reset();
  return true;
}

void TConfigDlg::CancelBtnClick() {
  RendPort();
  if (!copie_) return;
  Tappareil& A = *AppareilCourant;
  A.Assign(*copie_);
  A.VoieSerie = voieAvant_;
  A.InitialisationAfaire = initAvant_;
  A.DeblocageAfaire = deblocageAvant_;
  copie_.reset();
}
