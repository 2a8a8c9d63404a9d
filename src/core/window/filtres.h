// Two application-wide event filters: FiltreMessage, which types Greek letters with
// Ctrl (and keeps Ctrl+C / Ctrl+X on a selection) and makes F1 press the window's
// "Aide" button, and the hint line, which puts the
// long hint of the control under the mouse into the main window's title.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class TDialogueUtilisateur;

class TFiltreMessage final : public QObject {
public:
  // `dialogue` tells the state of Caps Lock.
  explicit TFiltreMessage(const TDialogueUtilisateur& dialogue, QObject* parent = nullptr);

protected:
  bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
  const TDialogueUtilisateur& dialogue_;
};

class TFiltreIndices final : public QObject {
public:
  // The title of `fenetre` follows the hints of its controls.
  explicit TFiltreIndices(QWidget* fenetre);

  // The hint that applies to `controle`: its own, or the nearest parent's.
  static std::string IndiceDe(const QWidget* controle);

protected:
  bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
  QPointer<QWidget> fenetre_;
};
