// Rules of the page information dialog: prefix expansion of the values, validity of
// the constants and their count.
#include "core/page_dialogue.h"

#include <cmath>

#include "util/nombres.h"

std::string TronqueCaracteres(const std::string& texte, std::size_t maxi) {
  std::size_t caracteres = 0;
  for (std::size_t i = 0; i < texte.size(); ++i) {
    // A byte that does not continue a UTF-8 sequence starts a character.
    if ((static_cast<unsigned char>(texte[i]) & 0xC0) != 0x80) {
      if (caracteres == maxi) return texte.substr(0, i);
      ++caracteres;
    }
  }
  return texte;
}

std::vector<std::string> DecoupeLignes(const std::string& texte) {
  std::vector<std::string> lignes;
  std::string ligne;
  for (std::size_t i = 0; i < texte.size(); ++i) {
    const char c = texte[i];
    if (c == '\r' || c == '\n') {
      lignes.push_back(ligne);
      ligne.clear();
      if (c == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
    } else {
      ligne += c;
    }
  }
  lignes.push_back(ligne);
  return lignes;
}

bool ConstanteValide(const TConstantePage& constante) {
  return !constante.nom.empty() && !std::isnan(LitNombre(constante.valeur));
}

TPageDlg::TPageDlg(TPageInfo& page) : page_(page) {
  // The comment starts as one empty line.
  if (page_.Memo.empty()) page_.Memo.emplace_back();
  FormCreate();
}

void TPageDlg::FormCreate() {
  page_.NbreConst = 0;
  page_.Const1 = false;
  page_.Const2 = false;
}

void TPageDlg::PrepareEnvoi() {
  NewPageCBVisible = true;
  OKBtnCaption = CaptionOKEnvoi;
  Caption = CaptionEnvoi;
}

TConstantePage& TPageDlg::Constante(int rang) { return rang == 2 ? page_.constante2 : page_.constante1; }
const TConstantePage& TPageDlg::Constante(int rang) const { return rang == 2 ? page_.constante2 : page_.constante1; }

void TPageDlg::SetEditNom(int rang, const std::string& texte) {
  Constante(rang).nom = TronqueCaracteres(texte, LongueurSymboleMaxi);
}

void TPageDlg::SetMemo(const std::string& texte) { page_.Memo = DecoupeLignes(texte); }

std::string TPageDlg::TexteMemo() const {
  std::string texte;
  for (std::size_t i = 0; i < page_.Memo.size(); ++i) {
    if (i > 0) texte += "\r\n";
    texte += page_.Memo[i];
  }
  return texte;
}

void TPageDlg::OKBtnClick() {
  page_.NbreConst = 0;
  auto verifie = [this](TConstantePage& c) {
    DeveloppePrefixe(c.valeur);
    const bool valide = ConstanteValide(c);
    if (valide) ++page_.NbreConst;
    return valide;
  };
  page_.Const1 = verifie(page_.constante1);
  page_.Const2 = verifie(page_.constante2);
}
