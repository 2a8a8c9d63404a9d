// Qt pieces shared by the dialogs.
#include "dialogs/widgets_dialogue.h"

#include <QGridLayout>
#include <QRadioButton>
#include <QCoreApplication>
#include <QVariant>

#include "dialogs/groupe_ports.h"

void PoseIndice(QWidget* controle, const std::string& indice) {
  if (!controle) return;
  const auto barre = indice.find('|');
  controle->setToolTip(EnQString(barre == std::string::npos ? indice : indice.substr(0, barre)));
  controle->setProperty("indice", EnQString(indice));
}

std::string IndiceLong(const std::string& indice) {
  const auto barre = indice.find('|');
  return barre == std::string::npos ? indice : indice.substr(barre + 1);
}

TGroupeRadio::TGroupeRadio(const QString& titre, int colonnes, QWidget* parent)
    : QGroupBox(titre, parent), grille_(new QGridLayout(this)), colonnes_(colonnes < 1 ? 1 : colonnes) {
  groupe_.setExclusive(true);
  QObject::connect(&groupe_, &QButtonGroup::idClicked, this, [this](int id) {
    if (SurClic) SurClic(id);
  });
}

void TGroupeRadio::SetItems(const std::vector<std::string>& items) {
  for (QRadioButton* b : boutons_) {
    groupe_.removeButton(b);
    delete b;
  }
  boutons_.clear();
  for (std::size_t i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(EnQString(items[i]), this);
    groupe_.addButton(b, static_cast<int>(i));
    grille_->addWidget(b, static_cast<int>(i) / colonnes_, static_cast<int>(i) % colonnes_);
    boutons_.push_back(b);
  }
}

void TGroupeRadio::SetIndex(int index) {
  if (index >= 0 && index < Nombre()) {
    boutons_[static_cast<std::size_t>(index)]->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked: lift it to clear the choice.
  groupe_.setExclusive(false);
  for (QRadioButton* b : boutons_) b->setChecked(false);
  groupe_.setExclusive(true);
}

int TGroupeRadio::Index() const { return groupe_.checkedId(); }

QRadioButton* TGroupeRadio::Bouton(int index) const {
  return index >= 0 && index < Nombre() ? boutons_[static_cast<std::size_t>(index)] : nullptr;
}

void RemplitGroupe(TGroupeRadio* g, const TGroupePorts& ports) {
  bool identiques = g->Nombre() == static_cast<int>(ports.items.size());
  for (int i = 0; identiques && i < g->Nombre(); ++i)
    identiques = EnTexte(g->Bouton(i)->text()) == ports.items[static_cast<std::size_t>(i)];
  if (!identiques) g->SetItems(ports.items);
  g->setTitle(EnQString(ports.caption));
  g->SetIndex(ports.itemIndex);
  g->setVisible(ports.visible);
}

#include <QBoxLayout>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

char32_t CaractereTouche(const QKeyEvent& touche) {
  if (touche.key() == Qt::Key_Return || touche.key() == Qt::Key_Enter) return 13;
  const QString texte = touche.text();
  if (texte.isEmpty()) return 0;
  const QList<uint> codes = texte.toUcs4();
  if (codes.isEmpty()) return 0;
  const char32_t c = codes.front();
  // Control characters other than backspace and form feed are editing keys.
  if (c == 127 || (c < 32 && c != 8 && c != 12)) return 0;
  return c;
}

namespace {
class TFiltreFrappe final : public QObject {
public:
  TFiltreFrappe(QObject* parent, std::function<void(char32_t&)> filtre) : QObject(parent), filtre_(std::move(filtre)) {}

protected:
  bool eventFilter(QObject* objet, QEvent* evenement) override {
    if (evenement->type() != QEvent::KeyPress) return false;
    auto* touche = static_cast<QKeyEvent*>(evenement);
    const char32_t c = CaractereTouche(*touche);
    if (c == 0) return false;
    char32_t filtre = c;
    filtre_(filtre);
    if (filtre == 0) return true;
    if (filtre == c) return false;
    // A character the filter changed is typed in place of the one pressed.
    const char32_t remplace[1] = {filtre};
    QKeyEvent autre(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUcs4(remplace, 1));
    QCoreApplication::sendEvent(objet, &autre);
    return true;
  }

private:
  std::function<void(char32_t&)> filtre_;
};
}  // namespace

void FiltreFrappe(QWidget* edit, std::function<void(char32_t&)> filtre) {
  edit->installEventFilter(new TFiltreFrappe(edit, std::move(filtre)));
}

TBoutonsHautBas::TBoutonsHautBas(Qt::Orientation orientation, QWidget* parent) : QWidget(parent) {
  auto* boite = new QBoxLayout(orientation == Qt::Vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
  boite->setContentsMargins(0, 0, 0, 0);
  boite->setSpacing(0);
  haut_ = new QToolButton(this);
  bas_ = new QToolButton(this);
  haut_->setArrowType(orientation == Qt::Vertical ? Qt::UpArrow : Qt::RightArrow);
  bas_->setArrowType(orientation == Qt::Vertical ? Qt::DownArrow : Qt::LeftArrow);
  haut_->setAutoRepeat(true);
  bas_->setAutoRepeat(true);
  for (QToolButton* b : {haut_, bas_}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(orientation == Qt::Vertical ? QSize(18, 12) : QSize(16, 18));
  }
  if (orientation == Qt::Vertical) {
    boite->addWidget(haut_);
    boite->addWidget(bas_);
  } else {
    boite->addWidget(bas_);
    boite->addWidget(haut_);
  }
  QObject::connect(haut_, &QToolButton::clicked, this, [this] {
    if (SurHaut) SurHaut();
  });
  QObject::connect(bas_, &QToolButton::clicked, this, [this] {
    if (SurBas) SurBas();
  });
}
