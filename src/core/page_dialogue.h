// The page information dialog as a model: its fields bound to the table's page
// information, its captions and defaults, and the rules of its OK button. The window
// binds widgets to it; nothing here draws.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/page_info.h"

class TPageDlg {
public:
  // Captions, as the dialog shows them.
  static constexpr const char* CaptionConception = "Renseignements sur la page courante";
  static constexpr const char* CaptionEnvoi = "Enregistre les données courantes dans Tracoria";
  static constexpr const char* CaptionOKConception = "OK";
  static constexpr const char* CaptionOKEnvoi = "Enregistrer";
  static constexpr const char* CaptionAnnuler = "Annuler";
  static constexpr const char* GroupeParametres = "Paramètres expérimentaux";
  static constexpr const char* ColonneSymbole = "Symbole";
  static constexpr const char* ColonneUnite = "Unité";
  static constexpr const char* ColonneValeur = "Valeur";
  static constexpr const char* GroupeCommentaire = "Commentaire";
  static constexpr const char* GroupeNewPage = "Données vers Tracoria";
  static constexpr std::array<const char*, 2> ItemsNewPage = {"Nouveau fichier", "Nouvelle page"};
  static constexpr int ColonnesNewPage = 2;
  static constexpr int ItemNouveauFichier = 0;
  static constexpr int ItemNouvellePage = 1;
  // The symbol fields hold at most this many characters (not bytes).
  static constexpr std::size_t LongueurSymboleMaxi = 8;
  // An invalid constant is left out of the exports without any message: the dialog
  // has no validation message of its own.

  // `page` (the engine's page information) outlives the dialog; the dialog's fields
  // are its texts, so what the user typed persists between showings.
  explicit TPageDlg(TPageInfo& page);

  void FormCreate();
  // As the send button prepares it before showing: the new-page choice shown, the OK
  // button "Enregistrer", the caption of the send.
  void PrepareEnvoi();
  // Expands the prefix letter of each value field, writes it back into the field and
  // computes the validity of the two constants. The dialog then closes with OK.
  void OKBtnClick();
  // Changes no flag; the texts typed stay in the fields.
  void CancelBtnClick() {}

  // The fields of row 1 or 2 (`rang`); the symbol setter keeps its length limit.
  TConstantePage& Constante(int rang);
  const TConstantePage& Constante(int rang) const;
  void SetEditNom(int rang, const std::string& texte);
  void SetEditUnite(int rang, const std::string& texte) { Constante(rang).unite = texte; }
  void SetEditValeur(int rang, const std::string& texte) { Constante(rang).valeur = texte; }
  // The comment, one element per line (a text holding line breaks is split).
  void SetMemo(const std::string& texte);
  std::string TexteMemo() const;

  TPageInfo& Page() { return page_; }
  const TPageInfo& Page() const { return page_; }

  // The dialog's own state beyond the page information.
  std::string Caption = CaptionConception;
  std::string OKBtnCaption = CaptionOKConception;
  bool NewPageCBVisible = false;
  int NewPageCB = ItemNouveauFichier;

private:
  TPageInfo& page_;
};

// The lines of a text, split at CR LF, LF or CR; a text without a break is one line.
std::vector<std::string> DecoupeLignes(const std::string& texte);
// A constant is valid when its symbol is not empty and its value reads as a number.
bool ConstanteValide(const TConstantePage& constante);
// The first `maxi` characters of a UTF-8 text (a character is never cut in two).
std::string TronqueCaracteres(const std::string& texte, std::size_t maxi);
