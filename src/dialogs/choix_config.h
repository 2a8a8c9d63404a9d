// The device list dialog as a model: every definition of the device database, to
// view or edit, to create from scratch or from the selected one, to add from another
// device file, to delete; the list saved to the device file; the burette settings;
// the list of recent instruments switched on or off. The database changes in memory
// at once and reaches the file only when saved.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialogs/contexte_moteur.h"
#include "links/dialogs/config_dlg.h"
#include "links/dialogs/config_sysam_dlg.h"

class TCinetiqueMain;
class Tappareil;

class TChoixConfigDlg {
public:
  static constexpr const char* Caption = "Configuration d'appareils RS232";
  static constexpr const char* CaptionEnregistre = "&Enregistrer";
  static constexpr const char* CaptionCreer = "Ajouter (manuel)";
  static constexpr const char* CaptionAdd = "Ajouter (fichier)";
  static constexpr const char* IndiceAdd = "|Ajouter la config. d'un appareil se trouvant dans un fichier";
  static constexpr const char* CaptionDel = "&Supprimer";
  static constexpr const char* CaptionModif = "&Voir / Modifier";
  static constexpr const char* CaptionExit = "&Fermer";
  static constexpr const char* CaptionBurette = "Burette RS232";
  static constexpr const char* CaptionRecent = "Liste app. récents";
  static constexpr const char* IndiceRecent = "Afficher la liste des appareils récemment utilisés";
  static constexpr const char* QuestionSuppression = "Suppression de ";
  static constexpr const char* QuestionSauvegarde = "Sauvegarde des modifications";
  static constexpr const char* ErreurEcriture = "Erreur d'écriture de ";

  explicit TChoixConfigDlg(TCinetiqueMain& moteur);

  void FormActivate();
  void ListBoxAppareilClick(int index);
  void EnregistreBtnClick();
  void CreerBtnClick();
  void AddBtnClick();
  void DelBtnClick();
  void ModifBtnClick();
  void BuretteRS232BtnClick();
  void ListeAppRecentCBClick(bool coche);
  // Asks whether to save unsaved changes; the dialog closes in both cases.
  void FormCloseQuery();

  // The selected definition, or null.
  Tappareil* Selection() const;

  // ---- what it opens (the window sets them); each shows its dialog modally
  // The device definition editor on ConfigDlg.AppareilCourant: true on OK.
  std::function<bool()> EditeAppareil;
  // The interface-box editor on ConfigSysamDlg.AppareilCourant: true on OK.
  std::function<bool()> EditeSysam;
  // The add-from-file dialog: the number of definitions it added.
  std::function<int()> AjoutFichier;
  // The burette settings dialog with no instrument: true on OK.
  std::function<bool()> ReglageBurette;
  // The hourglass on (true) and off.
  std::function<void(bool)> Sablier;

  // ---- fields
  bool modif = false;
  TContexteMoteur Contexte;
  // The editors, owned by the dialog and reused.
  TConfigDlg ConfigDlg;
  TConfigSysamDlg ConfigSysamDlg;

  // ---- controls
  std::vector<std::string> ListBoxAppareil;
  int ListBoxIndex = -1;
  bool DelBtnVisible = false, DelBtnEnabled = false;
  bool ModifBtnVisible = true, ModifBtnEnabled = true;
  bool AddBtnVisible = true;
  bool ListeAppRecentCB = true;

private:
  void Rafraichit();
  // A definition about to be released: no channel, built-in reference or editor
  // may go on pointing to it.
  void Oublie(const Tappareil* d);

  TCinetiqueMain& moteur_;
};
