// The device definition editor as a model: every field of a serial instrument
// definition on five pages (quantity, line, data format, help lines, a page to talk
// to the instrument), the layout rule of the format page, the delay buttons, the
// storing of OK, and the port it takes for a test. No widget here: the window copies
// its controls into these fields before each action and shows them after.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "links/dialogs/terminal_lignes.h"
#include "links/port_serie.h"

class Tappareil;
class TContexteEditeur;

class TConfigDlg {
public:
  static constexpr const char* Caption = "Configuration d'appareil RS232";
  enum TPage { TabGrandeur, TabComi, TabFormat, TabAide, TabPilotage };
  static constexpr std::array<const char*, 5> CaptionsPages = {"Grandeur", "Voie série", "Format des données",
                                                                "Aide pilotage", "Pilotage"};
  static constexpr std::array<const char*, 9> Grandeurs = {
      "pH", "Tension", "Masse", "Absorbance", "Longueur d'onde", "Température", "Conductivité", "Volume", "Autre"};
  static constexpr std::array<std::int32_t, 10> Bauds = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
  static constexpr int ItemBaudDefaut = 6;  // "19200"
  static constexpr std::array<const char*, 5> Parites = {"Sans", "Impaire", "Paire", "Marque", "Espace"};
  static constexpr std::array<const char*, 4> BitsDonnees = {"8", "7", "6", "5"};
  static constexpr std::array<const char*, 2> BitsStop = {"1", "2"};
  static constexpr const char* CaptionDemande = "Ordre pour obtenir les données";
  static constexpr const char* CaptionApres = "Texte après les données";
  static constexpr const char* CaptionAvant = "Texte avant les données";
  static constexpr const char* CaptionBisApres = "Autre texte après les données";
  static constexpr const char* CaptionBisAvant = "Autre texte avant les données";
  static constexpr const char* IndiceDepassement = "|Suppression des valeurs en dehors de mini..maxi";
  static constexpr int ContexteAide = 9;
  static constexpr int DelaiMaxiBouton = 5000;
  static constexpr int DelaiMiniBouton = 100;
  static constexpr int PrecisionMini = 2, PrecisionMaxi = 7;
  static constexpr int PosDebutMini = -50, PosDebutMaxi = 100;
  static constexpr int NumVerifMaxi = 16;
  static constexpr std::size_t LongueurSymboleMaxi = 8;
  static constexpr std::size_t LongueurDeriveMaxi = 8;

  explicit TConfigDlg(TContexteEditeur& contexte);
  ~TConfigDlg();
  TConfigDlg(const TConfigDlg&) = delete;
  TConfigDlg& operator=(const TConfigDlg&) = delete;

  // A whole number as the platform reads one; the conversion error text otherwise.
  static std::optional<std::int32_t> LitEntier(const std::string& texte);
  static std::string ErreurEntier(const std::string& texte);

  // On showing: fills, then remembers the definition as it is, for "Abandon".
  void FormShow();
  // Fills every control from the definition (each activation).
  void FormActivate();
  void AjusteFormat();
  void EnvoiDonneesRGClick(int item);
  void FixeRGClick(int item);
  void PosDebutSEChange(int valeur);
  void PrecisionSEChange(int valeur);
  // The delay buttons; false after the conversion error (nothing changed).
  bool DelaiSpinUp();
  bool DelaiSpinDown();
  // The storing of OK; false when the delay is no whole number: the conversion error
  // is shown and nothing is stored, so the editor stays open.
  bool Stocke();
  // OK: stores and lets the port go; false keeps the editor open.
  bool OKBtnClick();
  // Abandon: lets the port go and puts the definition back as it was when shown.
  void CancelBtnClick();
  bool PrepareTest();
  // The page the user goes to; the page shown afterwards is PageActive.
  void PageChange(TPage page);
  void TestBtnClick();
  // The three send buttons: the text alone, + CR, + CR LF.
  void EnvoiClick();
  void EnvoiCRClick();
  void EnvoiCRLFClick();
  void ClearBtnClick() { Memo1.clear(); }
  // The editor's data-available handler.
  void TriggerAvail(TPortSerie* cp, std::uint16_t count);
  TTriggerAvail Gestionnaire();

  // ---- fields
  Tappareil* AppareilCourant = nullptr;
  bool voieSerieAffecte = false;
  TLignesReception reception{true};
  // Shows the test window modally (the window sets it).
  std::function<void()> MontreTest;
  // Called when a control changed outside a user action (bytes received).
  std::function<void()> Rafraichit;
  std::function<void(int)> Aide;

  // ---- controls: page "Grandeur"
  std::string nomGrandeurCombo;  // its text
  int nomGrandeurIndex = -1;
  std::string EditSymbole, EditUnite, EditMin, EditMax, EditNomAppareil, DeriveEdit;
  int PrecisionSE = 5;
  // page "Voie série"
  bool RTSCTSbox = false, XonXoffBox = false;
  int BaudsRG = 5;
  std::vector<std::string> ComportsItems;
  int ComportsIndex = -1;
  std::string ComportsCaption;
  int ParityRG = 0, DatabitsRG = 0, StopbitsRG = 0;
  // page "Format des données"
  int EnvoiDonneesRG = 0, FixeRG = 0;
  std::string DelaiEdit;
  int SeparateurSE = 0, NbreCaracSE = 0, NbreLignesSE = 0, PosDebutSE = 0, NumeroOrdreSE = 0, NumVerifSE = 0;
  std::string EditDemande, EditDemandeBis, EditInit, EditFin, EditVerif;
  bool LectureCoeffCB = false, LectureNomUniteCB = false, lectureStabCB = false, DepassementCB = false;
  std::string DemandeGBCaption = CaptionDemande;
  std::string DemandeBisGBCaption = CaptionBisApres;
  bool NbreCaracGBVisible = false, NbreLignesGBVisible = true, NumeroOrdreGBVisible = true;
  bool DemandeBisGBVisible = false, PosDebutGBVisible = false;
  // page "Aide pilotage"
  std::vector<std::string> PilotageMemo;
  // page "Pilotage"
  std::vector<std::string> Memo1;
  std::string OrdreEdit;
  // buttons
  bool ClearBtnVisible = false;
  TPage PageActive = TabGrandeur;

private:
  void Envoie(TFinEnvoi fin);
  void RendPort();

  TContexteEditeur& contexte_;
  // The definition as shown, for "Abandon".
  std::unique_ptr<Tappareil> copie_;
  TVoieAppareil* voieAvant_ = nullptr;
  // The port given the editor's handler, until it is given back.
  TPortSerie* portPris_ = nullptr;
  bool initAvant_ = false, deblocageAvant_ = false;
  bool erreurDelai_ = false;
};
