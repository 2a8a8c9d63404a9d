// The add-from-file dialog as a model: another device file is opened, its quantities
// and models listed, and chosen models copied into the device database one after
// the other.
#pragma once

#include <string>
#include <vector>

class TBaseAppareils;
class TDialogueUtilisateur;

class TChoixCfgAppDlg {
public:
  static constexpr const char* Caption = "Ajout d'un appareil à sortie RS232 à partir d'un fichier";
  static constexpr const char* CaptionGrandeur = "Type de grandeur à mesurer";
  static constexpr const char* CaptionAppareil = "Appareil";
  static constexpr const char* CaptionAdd = "Ajouter";
  static constexpr const char* CaptionOpen = "Ouvrir un fichier";
  static constexpr const char* CaptionFermer = "Fermer";
  static constexpr const char* TitreOuverture = "Ouvrir un fichier";
  static constexpr const char* Filtre = "Fichier appareils (*.ini)|*.ini|Fichier appareils (*.txt)|*.txt";
  static constexpr const char* Extension = "ini";

  TChoixCfgAppDlg(TBaseAppareils& base, TDialogueUtilisateur& dialogue) : base_(base), dialogue_(dialogue) {}

  void FormActivate() { Rafraichit(); }
  void OpenBtnClick();
  void GrandeurComboChange(int index);
  void AddBtnClick();
  void ListeAppareilComboChange(int index);

  // Definitions added since the dialog was made.
  int NbreAjouts = 0;

  // ---- controls
  std::vector<std::string> GrandeurItems;
  int GrandeurIndex = -1;
  bool GrandeurEnabled = false;
  std::vector<std::string> ListeAppareilItems;
  int ListeAppareilIndex = -1;
  bool ListeAppareilEnabled = false;
  bool AddBtnEnabled = false;

private:
  void Rafraichit();
  void ListeModeles(const std::string& grandeur);

  TBaseAppareils& base_;
  TDialogueUtilisateur& dialogue_;
};
