// The Greek-letter key filter (with the F1 help key) and the hint line.
#include "core/window/filtres.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>

#include "core/window/lettres_grecques.h"
#include "dialogs/widgets_dialogue.h"
#include "platform/dialogue.h"

namespace {
// The edit that has the focus, as a line edit (spin boxes included) or a text edit.
struct TEditFocus {
  QLineEdit* ligne = nullptr;
  QTextEdit* texte = nullptr;
  QPlainTextEdit* plain = nullptr;
  bool Selection() const {
    if (ligne) return ligne->hasSelectedText();
    if (texte) return texte->textCursor().hasSelection();
    if (plain) return plain->textCursor().hasSelection();
    return false;
  }
};

TEditFocus EditFocus() {
  TEditFocus e;
  QWidget* w = QApplication::focusWidget();
  if (!w) return e;
  e.ligne = qobject_cast<QLineEdit*>(w);
  if (!e.ligne)
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) e.ligne = spin->findChild<QLineEdit*>();
  e.texte = qobject_cast<QTextEdit*>(w);
  e.plain = qobject_cast<QPlainTextEdit*>(w);
  return e;
}

// F1 does what the window's own "Aide" button does, where the window has one in view.
bool AideDeLaFenetre(QWidget* controle) {
  for (QAbstractButton* b : controle->window()->findChildren<QAbstractButton*>())
    if (b->text().remove('&') == "Aide" && b->isVisible() && b->isEnabled()) {
      b->click();
      return true;
    }
  return false;
}
}  // namespace

TFiltreMessage::TFiltreMessage(const TDialogueUtilisateur& dialogue, QObject* parent)
    : QObject(parent), dialogue_(dialogue) {}

bool TFiltreMessage::eventFilter(QObject* objet, QEvent* evenement) {
  if (evenement->type() != QEvent::KeyPress || !objet->isWidgetType()) return false;
  auto* touche = static_cast<QKeyEvent*>(evenement);
  const Qt::KeyboardModifiers m = touche->modifiers();
  if (touche->key() == Qt::Key_F1 && (m & ~Qt::KeypadModifier) == Qt::NoModifier)
    return AideDeLaFenetre(static_cast<QWidget*>(objet));
  if (!m.testFlag(Qt::ControlModifier) || m.testFlag(Qt::AltModifier) || m.testFlag(Qt::MetaModifier)) return false;
  if (touche->key() < Qt::Key_A || touche->key() > Qt::Key_Z) return false;
  const int code = touche->key() - Qt::Key_A + 1;
  const bool majuscule = m.testFlag(Qt::ShiftModifier) || dialogue_.ToucheEnfoncee(TTouche::CapsLock);
  const TEditFocus edit = EditFocus();
  const TDecisionCtrl d = DecideCtrlLettre(code, majuscule, edit.Selection());
  switch (d.action) {
    case TActionCtrl::Aucune: return false;
    case TActionCtrl::Copie:
      if (edit.ligne) edit.ligne->copy();
      else if (edit.texte) edit.texte->copy();
      else if (edit.plain) edit.plain->copy();
      return true;
    case TActionCtrl::Coupe:
      if (edit.ligne) edit.ligne->cut();
      else if (edit.texte) edit.texte->cut();
      else if (edit.plain) edit.plain->cut();
      return true;
    case TActionCtrl::Lettre: {
      // The letter is typed where the key went, as if it had been pressed alone.
      QKeyEvent lettre(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, EnQString(d.lettre));
      QCoreApplication::sendEvent(objet, &lettre);
      QKeyEvent relache(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, EnQString(d.lettre));
      QCoreApplication::sendEvent(objet, &relache);
      return true;
    }
  }
  return false;
}

TFiltreIndices::TFiltreIndices(QWidget* fenetre) : QObject(fenetre), fenetre_(fenetre) {}

std::string TFiltreIndices::IndiceDe(const QWidget* controle) {
  for (const QWidget* w = controle; w; w = w->parentWidget()) {
    const QVariant v = w->property("indice");
    if (v.isValid() && !v.toString().isEmpty()) return EnTexte(v.toString());
    if (w->isWindow()) break;
  }
  return {};
}

bool TFiltreIndices::eventFilter(QObject* objet, QEvent* evenement) {
  const QEvent::Type t = evenement->type();
  if ((t != QEvent::Enter && t != QEvent::Leave) || !objet->isWidgetType() || !fenetre_) return false;
  auto* w = static_cast<QWidget*>(objet);
  if (w->window() != fenetre_) return false;
  // Leaving a control puts the mouse over its parent.
  const QWidget* sous = t == QEvent::Enter ? w : w->parentWidget();
  if (t == QEvent::Leave && w == fenetre_) return false;
  fenetre_->setWindowTitle(EnQString(IndiceLong(IndiceDe(sous))));
  return false;
}
