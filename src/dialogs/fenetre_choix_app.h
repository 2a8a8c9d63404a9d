// The instrument selection dialog on screen: widgets bound to the TChoixAppDlg model.
#pragma once

#include <QDialog>

#include <array>
#include <memory>

#include "dialogs/choix_app.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TGroupeRadio;

class TFenetreChoixApp : public QDialog {
public:
  TFenetreChoixApp(TCinetiqueMain& moteur, TAdaptateurs* adaptateurs, QWidget* parent = nullptr);
  ~TFenetreChoixApp() override;

  TChoixAppDlg& Modele() { return modele_; }

  // The controls, for the window's tests.
  TGroupeRadio* GrandeurCombo() const { return grandeurCombo_; }
  QComboBox* ListeAppareilCombo() const { return listeAppareilCombo_; }
  QPushButton* AddBtn() const { return addBtn_; }
  QComboBox* ListeOld() const { return listeOld_; }
  QGroupBox* OldGB() const { return oldGB_; }
  QTabWidget* PageControl() const { return pageControl_; }
  TGroupeRadio* Ports(int page) const { return pages_[static_cast<std::size_t>(page)].ports; }
  QPushButton* DelBtn(int page) const { return pages_[static_cast<std::size_t>(page)].supprimer; }
  QLabel* NomLabel(int page) const { return pages_[static_cast<std::size_t>(page)].nom; }
  QLabel* NoAppLabel() const { return noAppLabel_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }

protected:
  void showEvent(QShowEvent* evenement) override;

private:
  struct TPageVue {
    QWidget* page = nullptr;
    TGroupeRadio* ports = nullptr;
    QLabel* nom = nullptr;
    QPushButton* supprimer = nullptr;
    QPlainTextEdit* memo = nullptr;
  };
  void Affiche();

  TChoixAppDlg modele_;
  TGroupeRadio* grandeurCombo_;
  QComboBox* listeAppareilCombo_;
  QPushButton* addBtn_;
  QGroupBox* oldGB_;
  QComboBox* listeOld_;
  QTabWidget* pageControl_;
  std::array<TPageVue, TChoixAppDlg::NbrePages> pages_;
  QLabel* noAppLabel_;
  QPushButton* okBtn_;
  QPushButton* cancelBtn_;
  bool maj_ = false;
  std::vector<std::string> grandeursAffichees_;
};
