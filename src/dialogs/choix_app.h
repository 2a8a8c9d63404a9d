// The instrument selection dialog as a model: which models go on the acquisition
// channels, in channel order, and on which serial port each one listens. It works on
// a copy of the engine's channel list and writes it back only on OK. No widget here:
// the window binds its controls to these fields and calls the handlers.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "dialogs/groupe_ports.h"

class TAdaptateurs;
class TCinetiqueMain;
class Tappareil;

// One channel page of PageControl1.
struct TPageAppareil {
  bool visible = false;
  std::string caption;            // the model's short name
  TGroupePorts ports;             // "Voie série", 4 columns
  std::string nom;                // the name label
  std::vector<std::string> memo;  // the model's help lines
  bool memoVisible = false;
};

class TChoixAppDlg {
public:
  static constexpr int NbrePages = 9;
  static constexpr const char* Caption = "Choix des appareils";
  static constexpr const char* CaptionGrandeur = "Type de grandeur à mesurer";
  static constexpr int ColonnesGrandeur = 3;
  static constexpr const char* CaptionAjout = "Appareil à ajouter";
  static constexpr const char* CaptionAddBtn = "Ajouter";
  static constexpr const char* CaptionOld = "Appareils récemment utilisés";
  static constexpr const char* InviteOld = "Choisir un appareil en déroulant la liste";
  static constexpr const char* CaptionDelBtn = "Supprimer";
  static constexpr const char* CaptionNoApp = "Pas d'appareil sélectionné !";
  static constexpr int ColonnesPorts = 4;
  static constexpr const char* QuestionDouble = "Deux appareils identiques ?";
  // Design captions of the pages, before a model is attached.
  static const std::array<const char*, NbrePages> CaptionsPages;

  // `adaptateurs` may be null: no USB meter and no interface box is connected then.
  explicit TChoixAppDlg(TCinetiqueMain& moteur, TAdaptateurs* adaptateurs = nullptr);

  void FormCreate();
  void FormActivate();
  void GrandeurComboChange(int index);
  void ListeAppareilComboClick(int index);
  void ListeOldClick(int index);
  void AddBtnClick();
  void DelBtnClick(int tag);
  // A port chosen on page `tag`.
  void RadioGroup4Click(int tag, int itemIndex);
  // Writes the working list back to the engine; the dialog then closes with OK.
  void OKBtnClick();

  int NbreAttaches() const { return static_cast<int>(ListeLoc.size()); }

  // ---- fields
  std::array<Tappareil*, NbrePages> AppareilCourant{};
  std::vector<std::string> ListeLoc;
  bool MajEnCours = true;
  bool ModifSerie = false;
  bool modification = false;

  // ---- controls
  std::vector<std::string> GrandeurItems;
  int GrandeurIndex = -1;
  std::vector<std::string> ListeAppareilItems;
  int ListeAppareilIndex = -1;
  bool AddBtnEnabled = false;
  bool oldGBVisible = false;
  std::vector<std::string> ListeOldItems;
  int ListeOldIndex = -1;
  std::array<TPageAppareil, NbrePages> Pages;
  bool PageControlVisible = false;
  bool NoAppLabelVisible = true;
  int PageActive = 0;

private:
  void ListeModeles(const std::string& grandeur);
  void RafraichitPages();
  void Attache(Tappareil& d);
  bool Listable(const Tappareil& a) const;
  // The port list's item of COM number `com`, or -1.
  int ItemDuPort(const TGroupePorts& ports, int com) const;

  TCinetiqueMain& moteur_;
  TAdaptateurs* adaptateurs_;
};
