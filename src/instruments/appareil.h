// An instrument definition: one model of the device database (line settings, request,
// frame layout, quantity and unit, range, stability tolerance) and the live state of
// the instrument attached to a channel.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "instruments/parite.h"
#include "instruments/unite.h"
#include "util/nombres.h"
#include "util/types.h"

class TFichierIni;
class TVoieAppareil;

enum Tcalibre : std::uint8_t { c10V, c5V, c1V, c200mV };
using TindiceVoie = std::uint8_t;  // an interface-box input, 0..7

class Tappareil {
public:
  Tappareil();
  virtual ~Tappareil() = default;

  // Reads the section `Anom` of a device file; NomAppareil := Anom. Every value is
  // brought into its field's range; a missing key gives its default.
  virtual void LitIni(const std::string& Anom, const TFichierIni& Ini);
  // Writes the section NomAppareil; keys already there are replaced in place.
  virtual void EcritIni(TFichierIni& Ini) const;
  // Copies every field that a section of the device file stores (and NomAppareil);
  // the live state, the port, the controls and the USB-meter fields stay the target's.
  void Assign(const Tappareil& Unappareil);

  // With LireCoeffUnite, drops the prefix letter of UniteGrandeur (mS/cm -> S/cm):
  // the prefix then comes from each frame. A unit that starts with a known symbol
  // beginning with that letter (m/s, mol/L) keeps it, so reading a saved section
  // again never eats a second letter.
  void SetCoeffUnite();

  // Naming texts (UTF-8, locale decimal separator).
  std::string FormatApp(double X) const;           // "???" for no value
  std::string ValeurUnite(double Avaleur) const;   // "7.02 pH"
  std::string NomValeurUnite(double Avaleur) const;  // "pH=7.02 pH"
  std::string NomValeurUniteCourante() const;      // "σ=12.5 mS/cm", "pH=?"
  std::string nomCourt() const;                    // NomAppareil up to its first blank

  // Decodes ChaineLue into ValeurCourante (frame rules of the definition's fields),
  // feeds the stability buffer and reponseStab. Never throws, whatever the bytes.
  void SetValeurCourante() noexcept;
  // Stable by the instrument's own report (lectureSTAB) or by the drift of the line
  // fitted through the last six readings, compared with Derive.
  bool isStable() const;
  void ResetStabilite() { nbreRouleau = 0; }

  // Arrays indexed from 1 as the device file numbers them; element 0 is unused.
  std::string SymboleGrandeur = "V";
  std::string NomAppareil;
  std::string UniteGrandeur = "V";
  std::array<std::string, 17> AidePilotage;  // help lines 1..16 (keys "1".."16")
  double ValMini = 0;
  double ValMaxi = 1;
  std::int32_t Precision = 5;
  std::string nomGrandeur = "Tension";
  bool LireCoeffUnite = false;
  bool LireNomUnite = false;
  // The channel's controls on the main window; not owned, null when not attached.
  void* GroupBoxApp = nullptr;
  void* StableApp = nullptr;
  void* LabelApp = nullptr;
  std::uint16_t ComNumber = 1;
  std::int32_t Baud = 9600;
  TParity Parite = pNone;
  std::uint16_t DataBits = 8;
  std::uint16_t StopBits = 1;
  bool RTSCTS = false;
  bool XonXoff = false;
  bool EnvoiDirect = false;
  // 8-bit texts: bytes as they go to or come from the wire.
  std::string Demande;
  std::string DemandeBis;
  std::string ChaineInit;
  std::string ChaineFin;
  bool FormatFixe = false;
  bool InitialisationAfaire = false;
  bool DeblocageAfaire = false;
  std::int32_t DebutNombre = 1;
  std::int32_t NbreCarac = 4;
  std::uint16_t Delai = 100;
  std::uint16_t Attente = 0;
  std::uint8_t NumeroOrdre = 1;
  std::uint8_t NbreLignes = 1;
  char SeparateurChiffre = 0;  // 0 = none
  double ValeurCourante = 0;
  double oldValeurCourante = PasDeValeur;
  std::string ChaineLue;
  TVoieAppareil* VoieSerie = nullptr;  // the port, not owned
  bool VoieSerieOK = false;
  double Derive = -1;
  // The last six values and their indices 0..6, with the slot the shift uses: a
  // column of 2049 here would make every model of the database 32 KB larger.
  static constexpr std::size_t TailleRouleau = 7;
  std::array<double, TailleRouleau> valeurRouleau{};
  std::array<double, TailleRouleau> indiceRouleau{};
  std::int32_t nbreRouleau = 0;
  bool FiltrageDepassement = false;
  bool depassement = false;
  std::int32_t NumeroVerif = 0;
  std::string TexteVerif;
  Tunite Unite;
  bool lectureSTAB = false;
  std::string reponseStab;
  bool isOrigalys = false;
  std::int32_t identOrigalys = 0;
  std::string pathOrigalys;
  void* appareilOrigalys = nullptr;  // the vendor library's handle, opaque here
  bool isSysam = false;
  Tcalibre calibreSysam = c10V;
  TindiceVoie indiceVoieSysam = 0;
  double aSysam = 0;
  double bSysam = 1;
  bool differentielSysam = false;
  std::int32_t NbreCalibreApp = 1;
  std::int32_t NumeroCalibreApp = 1;
  std::array<double, 5> coeffCalibreApp{0, 1, 1, 1, 1};  // ranges 1..4

protected:
  // Copies are made with Assign; a plain copy is kept for derived classes.
  Tappareil(const Tappareil&) = default;
  Tappareil& operator=(const Tappareil&) = default;
};
