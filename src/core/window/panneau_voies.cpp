// The live values panel.
#include "core/window/panneau_voies.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include "core/window/icones.h"

namespace {
constexpr int HauteurLabelPb = 20;

// Shows the stability the engine gives and its hint; a click on it changes nothing.
class TIndicateurStabilite final : public QToolButton {
public:
  explicit TIndicateurStabilite(QWidget* parent) : QToolButton(parent) {}

protected:
  void mousePressEvent(QMouseEvent* e) override { e->ignore(); }
  void mouseReleaseEvent(QMouseEvent* e) override { e->ignore(); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { e->ignore(); }
};
constexpr int HauteurClavier = 64;
constexpr int HauteurDuree = 30;

QFont Police(const QStringList& familles, int pixels, bool gras = false) {
  QFont f;
  f.setFamilies(familles);
  f.setPixelSize(std::max(pixels, 6));
  f.setBold(gras);
  return f;
}
}  // namespace

TPanneauVoie::TPanneauVoie(int voie, QWidget* parent) : QGroupBox(parent), voie_(voie) {
  setProperty("tag", voie);
  setCursor(Qt::PointingHandCursor);
  valeur_ = new QLabel(this);
  valeur_->setCursor(Qt::PointingHandCursor);
  // Clicks on the label are the panel's.
  valeur_->setAttribute(Qt::WA_TransparentForMouseEvents);
  indicateur_ = new TIndicateurStabilite(this);
  indicateur_->setCheckable(true);
  indicateur_->setChecked(true);
  indicateur_->setFocusPolicy(Qt::NoFocus);
  indicateur_->setAutoRaise(false);
  indicateur_->setIcon(IconeStabilite(20));
  setVisible(false);
}

void TPanneauVoie::SetCouleur(QColor couleur) {
  couleur_ = couleur;
  QPalette p = palette();
  p.setColor(QPalette::WindowText, couleur);
  p.setColor(QPalette::Text, couleur);
  setPalette(p);
  QPalette pv = valeur_->palette();
  pv.setColor(QPalette::WindowText, couleur);
  valeur_->setPalette(pv);
}

void TPanneauVoie::Dispose(const TDispositionVoies& d, int largeur) {
  if (d.fondBlanc && !fondBlanc_) {
    fondBlanc_ = true;
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
  }
  setFont(Police({QString::fromStdString(d.nomPoliceTitre), "Liberation Sans", "DejaVu Sans", "Sans Serif"}, d.policeTitre, true));
  valeur_->setFont(Police({"Courier New", "Liberation Mono", "DejaVu Sans Mono", "Monospace"}, d.policeValeur, true));
  const int cote = std::max(24, d.policeValeur / 2);
  if (indicateur_->iconSize() != QSize(cote - 6, cote - 6)) {
    // Drawn at its size: an icon is never scaled up.
    indicateur_->setIconSize(QSize(cote - 6, cote - 6));
    indicateur_->setIcon(IconeStabilite(cote - 6));
  }
  indicateur_->setGeometry(std::min(d.gaucheIndicateur, std::max(largeur - cote - 4, 0)), d.hautValeur, cote, cote);
  valeur_->setGeometry(6, d.hautValeur, std::max(indicateur_->x() - 8, 10), std::max(d.policeValeur + 8, 20));
}

void TPanneauVoie::mousePressEvent(QMouseEvent* evenement) {
  QGroupBox::mousePressEvent(evenement);
  if (evenement->button() == Qt::LeftButton && SurClic) SurClic(voie_);
}

TGroupeClavier::TGroupeClavier(QWidget* parent) : QGroupBox("Clavier", parent) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  auto* ligne = new QHBoxLayout(this);
  edit_ = new QLineEdit(this);
  valide_ = new QPushButton("Valider", this);
  valide_->setAutoDefault(false);
  valide_->setFocusPolicy(Qt::NoFocus);
  ligne->addWidget(edit_, 1);
  ligne->addWidget(valide_);
  setVisible(false);
}

void TGroupeClavier::mousePressEvent(QMouseEvent* evenement) {
  QGroupBox::mousePressEvent(evenement);
  if (evenement->button() == Qt::LeftButton && SurClic) SurClic();
}

TPanneauVoies::TPanneauVoies(QWidget* parent) : QWidget(parent) {
  labelPb_ = new QLabel(this);
  QPalette rouge = labelPb_->palette();
  rouge.setColor(QPalette::WindowText, QColor(255, 0, 0));
  labelPb_->setPalette(rouge);
  QFont gras = labelPb_->font();
  gras.setBold(true);
  labelPb_->setFont(gras);
  for (int i = 0; i < NbreVoies; ++i) voies_[static_cast<std::size_t>(i)] = new TPanneauVoie(i, this);
  clavier_ = new TGroupeClavier(this);
  panelDuree_ = new QLabel("00:00:00", this);
  panelDuree_->setAlignment(Qt::AlignCenter);
  panelDuree_->setAutoFillBackground(true);
  QPalette pd = panelDuree_->palette();
  pd.setColor(QPalette::Window, QColor(0, 84, 166));  // the active caption colour
  pd.setColor(QPalette::WindowText, Qt::white);
  panelDuree_->setPalette(pd);
  panelDuree_->setFont(Police({"Liberation Sans", "DejaVu Sans", "Sans Serif"}, 18, true));
  disposition_.nomPoliceTitre = "Tracoria";
  setMinimumWidth(disposition_.largeurPanneauVoies);
}

void TPanneauVoies::SetDisposition(const TDispositionVoies& d, int largeurFenetre) {
  disposition_ = d;
  largeurFenetre_ = largeurFenetre;
  Place();
}

void TPanneauVoies::resizeEvent(QResizeEvent*) { Place(); }

void TPanneauVoies::Place() {
  const int l = width();
  labelPb_->setGeometry(4, 0, std::max(l - 8, 0), HauteurLabelPb);
  // The multimeter view shares the whole height between the channels; the "no
  // answer" label then shows over the top of the first one.
  const bool multimetre = disposition_.largeurPanneauVoies == 0;
  int y = multimetre ? 0 : HauteurLabelPb;
  for (TPanneauVoie* v : voies_) {
    v->Dispose(disposition_, l - 4);
    if (!v->isVisibleTo(this)) continue;
    v->setGeometry(2, y, std::max(l - 4, 0), disposition_.hauteurPanneau);
    y += disposition_.hauteurPanneau;
  }
  if (clavier_->isVisibleTo(this)) {
    clavier_->setGeometry(2, y, std::max(l - 4, 0), HauteurClavier);
    y += HauteurClavier;
  }
  if (panelDuree_->isVisibleTo(this)) panelDuree_->setGeometry(2, y + 4, std::max(l - 4, 0), HauteurDuree);
  labelPb_->raise();
}
