// The acquisition engine: the channels and their instruments, the state and mode,
// the timing, the 50 serial port objects, the polling loop, the recording and the
// data table. It draws through the plot and shows through the view model, so it runs
// the same under the real window, headless, and in tests on the simulated platform.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/adaptateurs.h"
#include "core/etats.h"
#include "core/page_info.h"
#include "core/vue_modele.h"
#include "instruments/appareil.h"
#include "links/port_serie.h"
#include "links/table_ports.h"
#include "platform/plateforme.h"
#include "plot/graphe.h"

class TBaseAppareils;
class TburetteRS232;

// What the engine opens and the window provides: dialogs and transfers. Each is
// optional; without it the engine behaves as if the user cancelled.
struct TDialoguesMoteur {
  // The acquisition-mode dialog: true on OK with a modification.
  std::function<bool()> ModeAcquisition;
  // The instrument selection dialog: true on OK with a modification.
  std::function<bool()> ChoixAppareils;
  // The burette settings dialog.
  std::function<void()> ReglageBurette;
  // The quantity choice of a USB pH meter for channel j: the chosen definition, or null.
  std::function<Tappareil*(const TMetreUSB& metre, int voie)> ChoixGrandeurUSB;
  // Sends the table to the analysis program at the end of an acquisition it asked for.
  std::function<void()> EnvoieTableauAnalyse;
  // Registers the configuration files with the desktop, at shut-down.
  std::function<void()> EnregistreAssociation;
};

class TCinetiqueMain {
public:
  static constexpr int NbreComs = 50;
  static constexpr int NbreVoiesMax = 9;

  // Everything given outlives the engine. `adaptateurs` may be null (no vendor library).
  TCinetiqueMain(TPlateforme& plateforme, TBaseAppareils& base, TTablePorts& table,
                 TAdaptateurs* adaptateurs = nullptr);
  ~TCinetiqueMain();
  TCinetiqueMain(const TCinetiqueMain&) = delete;
  TCinetiqueMain& operator=(const TCinetiqueMain&) = delete;

  // ---- start-up, preparation, binding, shut-down
  void FormCreate();
  void InitAttente();
  bool setVoieSerieApp(Tappareil& A);
  // Fills a port list (the dialogs' radio groups): its items and NumeroCom.
  void SetRS232RG(std::vector<std::string>& items, int& itemIndex, std::string& caption, int comDefault);
  void SuspendAcq();
  void ReprendAcq();
  void FormActivate();
  void DetecteAppareilsUSB();
  void DemandeDonnees();
  // False when the user chose to stay ("Données non sauvées, quitter ?" answered No).
  bool FormClose();
  void FormDestroy();

  // ---- polling and reception
  void TimerTimer();
  // Posts a poll cycle, to run after the current handler while the main timer runs.
  void PosteCycle();
  void InterrogeVoie();
  void TriggerAvail(TPortSerie* CP, std::uint16_t Count);
  void TraiteVoie();
  void TraiteMaitre();
  void ConfirmeDepassement(int i);
  void MajCurseurs();
  // Posts MajCurseurs (the private message WM_USER+1) to be handled after the current handler.
  void PosteMajCurseurs();
  void TimerWTW1Timer();
  void TimerWTW2Timer();
  // Tries again, at the acquisition's own rhythm, the ports in use whose device was
  // lost; a port that opens gets its instruments' initialisation back.
  void RebranchePorts();

  // ---- modes and recording
  void SetEtatAcq(TEtatAcquisition e);
  void EnregistreBtnClick();
  void StopBtnClick();
  void ResetBtnClick();
  void AjoutePoint();
  void AjoutePointClavier();
  // A key typed in ClavierEdit: filtered in place (0 = swallowed); Enter validates.
  void ClavierEditKeyPress(char32_t& touche);
  void ValideClavierBtnClick();
  // The space bar reaching the main window.
  void FormKeyPress(char32_t& touche);
  void PasBurette();
  bool PrepareBurette();
  void AfficheDuree();
  void AjusteDuree();
  void AjusteIntervalles();
  void DeltatSEChange(int valeur);
  void DureeSBUpClick();
  void DureeSBDownClick();
  void DureeEditKeyPress(char32_t& touche);
  void DureeEditExit();
  void AcquisitionItemClick();
  void ClavierGBClick();
  void BuretteBtnClick();
  void AddAppItemClick();

  // ---- data table
  void EnteteGrille();
  void MajVoies();
  void UndoBtnClick();
  void ToolButton3Click();
  void VideTableau(bool grilleRaz);
  void DivisePoints();

  // ---- helpers for the window and the exchange
  Tappareil* Voie(int i) const { return AppareilAcq[static_cast<std::size_t>(i)]; }
  int NbreVoies() const { return Graphe->NbreVoies; }
  void SetNbreVoies(int n);
  TburetteRS232& Burette();
  // The drawing surface of the plot while the window shows it; null headless.
  void SetSurface(TSurfaceDessin* surface) { surface_ = surface; }
  TVueModele& Vue() { return vue_; }
  TPlateforme& Plateforme() { return plateforme_; }
  TBaseAppareils& Base() { return base_; }
  TMinuterie& MinuteriePrincipale() { return *Timer; }
  TDialoguesMoteur Dialogues;
  // The page information of the table (comment and constants).
  TPageInfo Page;
  // Trace check box of the acquisition-mode dialog ("FichierTrace"/"Actif").
  bool TraceCB = true;

  // ---- the engine's fields
  bool AppelTracoria = false;
  bool PremiereFois = true;
  bool sauveTimer = false;
  bool envoiDirectGlb = false;
  TEtatAcquisition sauveEtat = eaNone;
  bool PleinEcran = false;
  TEtatAcquisition EtatAcq = eaNone;
  double InstantDebut = 0;
  int VoieCourante = 0;
  std::string NomFichierData;
  bool FormatQW3 = false;
  bool formatCSV = false;
  bool Reponse = false;
  double valeurClavier = 0;
  bool dataSaved = true;
  std::int32_t NbrePointsSauves = 0;
  double dateReception = 0;
  std::int32_t indexFichierTrace = 0;
  bool PagePermise = false;
  std::array<Tappareil*, NbreVoiesMax> AppareilAcq{};
  std::set<std::string> OldAppareilAcq;
  std::uint16_t DeltatMesure = 1;
  std::uint16_t DeltatMin = 1;
  std::int32_t DureeMesure = 120;
  TModeAcq ModeAcq = maTemps;
  std::array<std::unique_ptr<TPortSerie>, NbreComs + 1> voieSerieCin;  // 1..50
  std::int32_t CodeBeep = 0;
  std::array<std::int32_t, 54> NumeroComTable{};  // entries -1..52 at index k + 1
  std::int32_t& NumeroCom(int k) { return NumeroComTable[static_cast<std::size_t>(k + 1)]; }
  bool ListeAppRecent = true;

  std::unique_ptr<Tgraphe> Graphe;
  std::unique_ptr<TMinuterie> Timer;
  std::unique_ptr<TMinuterie> TimerWTW1;
  std::unique_ptr<TMinuterie> TimerWTW2;

  // The simulated instrument "WTW 3310".
  bool SimulationWTW = false;
  int LigneWTW = 0;
  int CaractereWTW = 1;

  // A received frame buffer never grows past this: a wrong baud rate or lines without
  // carriage returns would otherwise fill memory.
  static constexpr std::size_t ChaineLueMaxi = 1024;

private:
  TPortSerie* Port(int com) const;
  // The present port that stands in for A's absent one; 0 when none is free.
  int PortDeRemplacement(const Tappareil& A);
  void RecueilleVoies();
  void AfficheVoies();
  void Trace(TTraceLogState etat);
  void AppliqueTrace(TPortSerie& port, bool actif);
  double Maintenant() const;
  double EcartDebut(double instant) const;
  void LibelleVoie(int i);
  // Gathers received characters into A's frame buffer by A's framing rules.
  static void Recueille(Tappareil& A, const std::string& T);
  static bool FrameComplete(const Tappareil& A);
  void FinDeCycle();
  void AjouteLigne(int N, int chiffresAbscisse, bool deplaceHaut);
  void ActiveApresPoint();
  void AfficheTemps(double secondes);
  void Repeindre();
  void ImageMode();
  void MajCopieTexte();
  std::string EnteteTexte() const;
  std::string LignePoint(int k) const;
  void FinAcquisition();
  bool Verse(double dv);
  // The dispensed volume read back; a burette that has fallen silent ends the titration.
  double VolumeBurette();
  // Ends a running titration for `raison`, which the user is shown.
  void FinTitrage(const std::string& raison);
  // A port's device went away: its channels lose their values, the user is told at
  // once, and a titration that needs it ends.
  void PortPerdu(TPortSerie* port, const std::string& message);
  bool ValideClavier();
  void ClavierFocus();
  void Beep();
  std::vector<TPortSerie*> PortsEnService() const;
  // The channels on `port` show no value and are not asked; true when any uses it.
  bool OublieValeurs(const TPortSerie& port);
  void Rebranche(TPortSerie& port);

  TPlateforme& plateforme_;
  TBaseAppareils& base_;
  TTablePorts& table_;
  TAdaptateurs adaptateursNuls_;
  TAdaptateurs& adaptateurs_;
  TVueModele vue_;
  TSurfaceDessin* surface_ = nullptr;
  int dansAttente_ = 0;      // a wait or a question of the cycle is open
  std::uint64_t cycles_ = 0; // poll cycles started by a tick
  // The channel's "valeur correcte ?" is open: its frames meanwhile only fill its buffer.
  std::array<bool, NbreVoiesMax> questionOuverte_{};
  // Absent COM numbers of the channels and the ports that stand in for them, since
  // the last preparation.
  std::map<int, int> portsRemplaces_;
  bool cycleInacheve_ = false;
  bool detectionFaite_ = false;
  bool erreurCopieSignalee_ = false;
  bool dernierPointAccepte_ = false;
  std::size_t metresVus_ = 0;
  // When each lost port went (0: not lost), told once on the status line.
  std::array<double, NbreComs + 1> pertes_{};
  // Expires with the engine, so that a message posted to it is then dropped.
  std::shared_ptr<bool> vie_ = std::make_shared<bool>(true);
};
