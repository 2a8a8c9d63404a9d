// PanelVoies: the live values. The red "no answer" label, the nine channel panels
// (value label and stability indicator in the channel's colour), the keyboard-entry
// group and the elapsed-time panel, stacked from the top; laid out by DisposeVoies.
#pragma once

#include <QGroupBox>
#include <QWidget>

#include <array>
#include <functional>

#include "core/window/disposition_voies.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// One channel panel: a group box with the value label and the stability indicator.
class TPanneauVoie final : public QGroupBox {
public:
  TPanneauVoie(int voie, QWidget* parent);
  QLabel* Valeur() const { return valeur_; }
  QToolButton* Indicateur() const { return indicateur_; }
  void SetCouleur(QColor couleur);
  void Dispose(const TDispositionVoies& d, int largeur);
  std::function<void(int)> SurClic;

protected:
  void mousePressEvent(QMouseEvent* evenement) override;

private:
  int voie_;
  QLabel* valeur_;
  QToolButton* indicateur_;
  QColor couleur_;
  bool fondBlanc_ = false;
};

// The keyboard-entry group: a click on it (not on its edit or button) opens the mode dialog.
class TGroupeClavier final : public QGroupBox {
public:
  explicit TGroupeClavier(QWidget* parent);
  QLineEdit* Edit() const { return edit_; }
  QPushButton* Valide() const { return valide_; }
  std::function<void()> SurClic;

protected:
  void mousePressEvent(QMouseEvent* evenement) override;

private:
  QLineEdit* edit_;
  QPushButton* valide_;
};

class TPanneauVoies final : public QWidget {
public:
  static constexpr int NbreVoies = 9;
  explicit TPanneauVoies(QWidget* parent);

  QLabel* LabelPb() const { return labelPb_; }
  TPanneauVoie* Voie(int i) const { return voies_[static_cast<std::size_t>(i)]; }
  TGroupeClavier* ClavierGB() const { return clavier_; }
  QLabel* PanelDuree() const { return panelDuree_; }

  // The geometry in force; the panels are placed again at each resize.
  void SetDisposition(const TDispositionVoies& d, int largeurFenetre);
  const TDispositionVoies& Disposition() const { return disposition_; }
  void Place();

protected:
  void resizeEvent(QResizeEvent* evenement) override;

private:
  QLabel* labelPb_;
  std::array<TPanneauVoie*, NbreVoies> voies_{};
  TGroupeClavier* clavier_;
  QLabel* panelDuree_;
  TDispositionVoies disposition_;
  int largeurFenetre_ = 0;
};
