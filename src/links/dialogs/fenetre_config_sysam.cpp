// The interface-box definition editor's widgets.
#include "links/dialogs/fenetre_config_sysam.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "util/nombres.h"

namespace {
QString Q(const std::string& texte) { return QString::fromStdString(texte); }
std::string T(const QString& texte) { return texte.toStdString(); }

QGroupBox* Groupe(const char* titre, QWidget* parent, QWidget* contenu) {
  auto* gb = new QGroupBox(QString::fromUtf8(titre), parent);
  (new QHBoxLayout(gb))->addWidget(contenu);
  return gb;
}

QButtonGroup* Radios(QGroupBox* gb, const std::array<const char*, 4>& items) {
  auto* l = new QVBoxLayout(gb);
  auto* groupe = new QButtonGroup(gb);
  for (int i = 0; i < 4; ++i) {
    auto* b = new QRadioButton(QString::fromUtf8(items[static_cast<std::size_t>(i)]), gb);
    groupe->addButton(b, i);
    l->addWidget(b);
  }
  return groupe;
}

// Typed characters of a factor go through the numeric key filter.
class TFiltreNombre final : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject* objet, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    auto* touche = static_cast<QKeyEvent*>(e);
    const QString texte = touche->text();
    if (texte.isEmpty() || touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter) return false;
    const char32_t c = texte.toUcs4().value(0);
    if (c < 32 && c != 8) return false;  // editing keys
    char32_t filtre = c;
    FiltreToucheNombre(filtre);
    if (filtre == c) return false;
    if (filtre == 0) return true;
    if (auto* edit = qobject_cast<QLineEdit*>(objet)) edit->insert(QString(QChar(static_cast<char16_t>(filtre))));
    return true;
  }
};

class TDelegueFacteur final : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editeur = QStyledItemDelegate::createEditor(parent, option, index);
    if (editeur) editeur->installEventFilter(new TFiltreNombre(editeur));
    return editeur;
  }
};
}  // namespace

TFenetreConfigSysam::TFenetreConfigSysam(TConfigSysamDlg& modele, QWidget* parent) : QDialog(parent), modele_(modele) {
  setWindowTitle(QString::fromUtf8(TConfigSysamDlg::Caption));
  auto* principal = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  principal->addWidget(pages_, 1);

  auto* grandeur = new QWidget;
  auto* g = new QGridLayout(grandeur);
  editSymbole_ = new QLineEdit(grandeur);
  editSymbole_->setMaxLength(8);
  g->addWidget(Groupe("Symbole grandeur", grandeur, editSymbole_), 0, 0);
  editUnite_ = new QLineEdit(grandeur);
  g->addWidget(Groupe("Unité", grandeur, editUnite_), 0, 1);
  auto* valeurs = new QGroupBox("Valeurs", grandeur);
  auto* fv = new QFormLayout(valeurs);
  editMin_ = new QLineEdit(valeurs);
  editMax_ = new QLineEdit(valeurs);
  fv->addRow("Minimum", editMin_);
  fv->addRow("Maximum", editMax_);
  g->addWidget(valeurs, 1, 0);
  auto* conversion = new QGroupBox("Conversion : valeur=a+b*Tension", grandeur);
  auto* fc = new QFormLayout(conversion);
  aEdit_ = new QLineEdit(conversion);
  bEdit_ = new QLineEdit(conversion);
  fc->addRow("a=", aEdit_);
  fc->addRow("b=", bEdit_);
  g->addWidget(conversion, 1, 1);
  editNomAppareil_ = new QLineEdit(grandeur);
  g->addWidget(Groupe("Nom appareil", grandeur, editNomAppareil_), 2, 0, 1, 2);
  auto* affichage = new QGroupBox("Affichage", grandeur);
  auto* fa = new QFormLayout(affichage);
  precisionSE_ = new QSpinBox(affichage);
  precisionSE_->setRange(TConfigSysamDlg::PrecisionMini, TConfigSysamDlg::PrecisionMaxi);
  fa->addRow("Nombre de chiffres", precisionSE_);
  g->addWidget(affichage, 3, 0);
  g->setRowStretch(4, 1);
  pages_->addTab(grandeur, "Grandeur");

  auto* format = new QWidget;
  auto* f = new QGridLayout(format);
  auto* ea = new QGroupBox("Envoi analogique Sysam SP5", format);
  earg_ = Radios(ea, TConfigSysamDlg::Entrees);
  f->addWidget(ea, 0, 0);
  auto* calibre = new QGroupBox("Calibre Sysam SP5", format);
  calibreRG_ = Radios(calibre, TConfigSysamDlg::Calibres);
  f->addWidget(calibre, 0, 1);
  diffCB_ = new QCheckBox(QString::fromUtf8(TConfigSysamDlg::CaptionDiff), format);
  f->addWidget(diffCB_, 1, 0, 1, 2);
  auto* calibreApp = new QGroupBox("Calibre grandeur", format);
  auto* lc = new QVBoxLayout(calibreApp);
  auto* ligne = new QHBoxLayout;
  ligne->addWidget(new QLabel("Nombre de calibres : ", calibreApp));
  nbreCalibreSE_ = new QSpinBox(calibreApp);
  nbreCalibreSE_->setRange(1, TConfigSysamDlg::NbreCalibreMaxi);
  ligne->addWidget(nbreCalibreSE_);
  ligne->addStretch(1);
  lc->addLayout(ligne);
  gridLabel_ = new QLabel(QString::fromUtf8(TConfigSysamDlg::CaptionGrid), calibreApp);
  lc->addWidget(gridLabel_);
  grille_ = new QTableWidget(calibreApp);
  grille_->setColumnCount(2);
  grille_->horizontalHeader()->hide();
  grille_->verticalHeader()->hide();
  grille_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  grille_->setItemDelegateForColumn(1, new TDelegueFacteur(grille_));
  grille_->setMinimumHeight(140);
  lc->addWidget(grille_);
  f->addWidget(calibreApp, 0, 2, 2, 1);
  pages_->addTab(format, QString::fromUtf8("Format des données"));

  auto* boutons = new QHBoxLayout;
  boutons->addStretch(1);
  okBtn_ = new QPushButton("&OK", this);
  cancelBtn_ = new QPushButton("Abandon", this);
  okBtn_->setAutoDefault(false);
  cancelBtn_->setAutoDefault(false);
  boutons->addWidget(okBtn_);
  boutons->addWidget(cancelBtn_);
  principal->addLayout(boutons);

  QObject::connect(okBtn_, &QPushButton::clicked, this, [this] {
    VersModele();
    modele_.OKBtnClick();
    accept();
  });
  QObject::connect(cancelBtn_, &QPushButton::clicked, this, [this] { reject(); });
  QObject::connect(diffCB_, &QCheckBox::clicked, this, [this](bool coche) {
    VersModele();
    modele_.DiffCBClick(coche);
    Affiche();
  });
  QObject::connect(nbreCalibreSE_, &QSpinBox::valueChanged, this, [this](int n) {
    if (maj_) return;
    VersModele();
    modele_.NbreCalibreSEChange(n);
    Affiche();
  });
  QObject::connect(precisionSE_, &QSpinBox::valueChanged, this, [this](int v) {
    if (maj_) return;
    VersModele();
    modele_.PrecisionSEChange(v);
    Affiche();
  });
  // A factor is taken when its cell's editing ends (another cell, Enter, the arrows,
  // the grid losing the focus).
  QObject::connect(grille_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (maj_ || item->column() != 1) return;
    const auto rang = static_cast<std::size_t>(item->row());
    if (rang >= modele_.CalibreGrid.size()) return;
    modele_.CalibreGrid[rang][1] = T(item->text());
    if (!modele_.ValideFacteur(item->row())) return;
    AfficheGrille();
  });
  resize(640, 380);
}

void TFenetreConfigSysam::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormActivate();
  Affiche();
}

void TFenetreConfigSysam::VersModele() {
  TConfigSysamDlg& m = modele_;
  m.EditSymbole = T(editSymbole_->text());
  m.EditUnite = T(editUnite_->text());
  m.EditMin = T(editMin_->text());
  m.EditMax = T(editMax_->text());
  m.EditNomAppareil = T(editNomAppareil_->text());
  m.aEdit = T(aEdit_->text());
  m.bEdit = T(bEdit_->text());
  m.PrecisionSE = precisionSE_->value();
  m.EARG = earg_->checkedId();
  m.CalibreRG = calibreRG_->checkedId();
  m.DiffCB = diffCB_->isChecked();
  m.NbreCalibreSE = nbreCalibreSE_->value();
  for (int i = 1; i < grille_->rowCount() && i < static_cast<int>(m.CalibreGrid.size()); ++i)
    if (QTableWidgetItem* item = grille_->item(i, 1)) m.CalibreGrid[static_cast<std::size_t>(i)][1] = T(item->text());
}

void TFenetreConfigSysam::AfficheGrille() {
  const bool maj = maj_;
  maj_ = true;
  const auto& cellules = modele_.CalibreGrid;
  grille_->setRowCount(static_cast<int>(cellules.size()));
  for (int i = 0; i < static_cast<int>(cellules.size()); ++i)
    for (int j = 0; j < 2; ++j) {
      QTableWidgetItem* item = grille_->item(i, j);
      if (!item) {
        item = new QTableWidgetItem;
        grille_->setItem(i, j, item);
      }
      item->setText(Q(cellules[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]));
      Qt::ItemFlags drapeaux = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (TConfigSysamDlg::CelluleModifiable(j, i)) drapeaux |= Qt::ItemIsEditable;
      item->setFlags(drapeaux);
      if (i == 0) {
        QFont gras = item->font();
        gras.setBold(true);
        item->setFont(gras);
      }
    }
  grille_->setVisible(modele_.GridVisible);
  gridLabel_->setVisible(modele_.GridVisible);
  maj_ = maj;
}

void TFenetreConfigSysam::Affiche() {
  maj_ = true;
  const TConfigSysamDlg& m = modele_;
  editSymbole_->setText(Q(m.EditSymbole));
  editUnite_->setText(Q(m.EditUnite));
  editMin_->setText(Q(m.EditMin));
  editMax_->setText(Q(m.EditMax));
  editNomAppareil_->setText(Q(m.EditNomAppareil));
  aEdit_->setText(Q(m.aEdit));
  bEdit_->setText(Q(m.bEdit));
  precisionSE_->setValue(m.PrecisionSE);
  for (int i = 0; i < 4; ++i) earg_->button(i)->setText(Q(m.EARGItems[static_cast<std::size_t>(i)]));
  if (QAbstractButton* b = earg_->button(m.EARG)) b->setChecked(true);
  if (QAbstractButton* b = calibreRG_->button(m.CalibreRG)) b->setChecked(true);
  diffCB_->setChecked(m.DiffCB);
  nbreCalibreSE_->setValue(m.NbreCalibreSE);
  AfficheGrille();
  maj_ = false;
}
