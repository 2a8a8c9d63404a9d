// The device definition editor's widgets.
#include "links/dialogs/fenetre_config.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "links/dialogs/contexte_editeur.h"
#include "links/dialogs/fenetre_test.h"
#include "platform/dialogue.h"

namespace {
QString Q(const std::string& texte) { return QString::fromStdString(texte); }
std::string T(const QString& texte) { return texte.toStdString(); }

// A group of radio buttons laid out in `colonnes` columns; item i has the id i.
template <class Items> QButtonGroup* Radios(QGroupBox* gb, const Items& items, int colonnes) {
  auto* grille = new QGridLayout(gb);
  auto* groupe = new QButtonGroup(gb);
  int i = 0;
  for (const auto& item : items) {
    auto* b = new QRadioButton(QString::fromUtf8(item), gb);
    groupe->addButton(b, i);
    grille->addWidget(b, i / colonnes, i % colonnes);
    ++i;
  }
  return groupe;
}

void Choisit(QButtonGroup* g, int index) {
  if (QAbstractButton* b = g->button(index)) {
    b->setChecked(true);
    return;
  }
  g->setExclusive(false);
  for (QAbstractButton* b : g->buttons()) b->setChecked(false);
  g->setExclusive(true);
}

QSpinBox* Spin(QWidget* parent, int mini, int maxi) {
  auto* s = new QSpinBox(parent);
  s->setRange(mini, maxi);
  s->setKeyboardTracking(false);
  return s;
}

QGroupBox* Groupe(const char* titre, QWidget* parent, QWidget* contenu) {
  auto* gb = new QGroupBox(QString::fromUtf8(titre), parent);
  auto* l = new QHBoxLayout(gb);
  l->addWidget(contenu);
  return gb;
}

void Texte(QLineEdit* e, const std::string& t) {
  if (e->text() != Q(t)) e->setText(Q(t));
}

void Lignes(QPlainTextEdit* memo, const std::vector<std::string>& lignes, bool finVisible) {
  QStringList l;
  for (const auto& t : lignes) l << Q(t);
  const QString texte = l.join('\n');
  if (memo->toPlainText() == texte) return;
  memo->setPlainText(texte);
  if (finVisible) memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
}

// The Enter key in the text to send sends nothing (and closes nothing).
class TAvaleEntree final : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    const int k = static_cast<QKeyEvent*>(e)->key();
    return k == Qt::Key_Return || k == Qt::Key_Enter;
  }
};
}  // namespace

TFenetreConfig::TFenetreConfig(TConfigDlg& modele, TContexteEditeur& contexte, QWidget* parent)
    : QDialog(parent), modele_(modele), contexte_(contexte) {
  setWindowTitle(QString::fromUtf8(TConfigDlg::Caption));
  auto* principal = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  principal->addWidget(pages_, 1);

  // ---- "Grandeur"
  auto* grandeur = new QWidget;
  auto* g = new QGridLayout(grandeur);
  nomGrandeurCombo_ = new QComboBox(grandeur);
  nomGrandeurCombo_->setEditable(true);
  for (const char* n : TConfigDlg::Grandeurs) nomGrandeurCombo_->addItem(QString::fromUtf8(n));
  g->addWidget(Groupe("Type de grandeur", grandeur, nomGrandeurCombo_), 0, 0, 1, 2);
  editSymbole_ = new QLineEdit(grandeur);
  editSymbole_->setMaxLength(static_cast<int>(TConfigDlg::LongueurSymboleMaxi));
  g->addWidget(Groupe("Symbole", grandeur, editSymbole_), 1, 0);
  editUnite_ = new QLineEdit(grandeur);
  g->addWidget(Groupe("Unité", grandeur, editUnite_), 1, 1);
  auto* valeurs = new QGroupBox(QString::fromUtf8("Valeurs"), grandeur);
  auto* fv = new QFormLayout(valeurs);
  editMin_ = new QLineEdit(valeurs);
  editMax_ = new QLineEdit(valeurs);
  fv->addRow("Minimum", editMin_);
  fv->addRow("Maximum", editMax_);
  g->addWidget(valeurs, 2, 0, 1, 2);
  editNomAppareil_ = new QLineEdit(grandeur);
  editNomAppareil_->setMinimumWidth(260);
  g->addWidget(Groupe("Nom appareil", grandeur, editNomAppareil_), 3, 0, 1, 2);
  auto* affichage = new QGroupBox("Affichage", grandeur);
  auto* fa = new QFormLayout(affichage);
  precisionSE_ = Spin(affichage, TConfigDlg::PrecisionMini, TConfigDlg::PrecisionMaxi);
  fa->addRow("Nombre de chiffres", precisionSE_);
  g->addWidget(affichage, 4, 0);
  auto* derive = new QGroupBox(QString::fromUtf8("Controle de dérive"), grandeur);
  auto* fd = new QFormLayout(derive);
  deriveEdit_ = new QLineEdit(derive);
  deriveEdit_->setMaxLength(static_cast<int>(TConfigDlg::LongueurDeriveMaxi));
  fd->addRow("Ecart maxi", deriveEdit_);
  g->addWidget(derive, 4, 1);
  g->setRowStretch(5, 1);
  pages_->addTab(grandeur, QString::fromUtf8(TConfigDlg::CaptionsPages[0]));

  // ---- "Voie série"
  auto* comi = new QWidget;
  auto* c = new QGridLayout(comi);
  auto* controle = new QGroupBox(QString::fromUtf8("&Contrôle:"), comi);
  auto* lc = new QVBoxLayout(controle);
  rtsCtsBox_ = new QCheckBox("RTS/CTS", controle);
  xonXoffBox_ = new QCheckBox("Protocole Xon Xoff", controle);
  lc->addWidget(rtsCtsBox_);
  lc->addWidget(xonXoffBox_);
  c->addWidget(controle, 0, 0);
  auto* bauds = new QGroupBox("&Vitesse", comi);
  std::vector<std::string> itemsBauds;
  for (int b : TConfigDlg::Bauds) itemsBauds.push_back(std::to_string(b));
  std::vector<const char*> pointeurs;
  for (const auto& s : itemsBauds) pointeurs.push_back(s.c_str());
  baudsRG_ = Radios(bauds, pointeurs, 2);
  c->addWidget(bauds, 0, 1, 2, 1);
  comportsGB_ = new QGroupBox(QString::fromUtf8("&Com par défaut"), comi);
  new QGridLayout(comportsGB_);
  comports_ = new QButtonGroup(comportsGB_);
  c->addWidget(comportsGB_, 0, 2, 2, 1);
  auto* parite = new QGroupBox(QString::fromUtf8("&Parité"), comi);
  parityRG_ = Radios(parite, TConfigDlg::Parites, 1);
  c->addWidget(parite, 1, 0);
  auto* donnees = new QGroupBox(QString::fromUtf8("bits de &Données"), comi);
  databitsRG_ = Radios(donnees, TConfigDlg::BitsDonnees, 4);
  c->addWidget(donnees, 2, 0, 1, 2);
  auto* stop = new QGroupBox(QString::fromUtf8("bits de &Stop"), comi);
  stopbitsRG_ = Radios(stop, TConfigDlg::BitsStop, 2);
  c->addWidget(stop, 2, 2);
  c->setRowStretch(3, 1);
  pages_->addTab(comi, QString::fromUtf8(TConfigDlg::CaptionsPages[1]));

  // ---- "Format des données"
  auto* format = new QWidget;
  auto* f = new QGridLayout(format);
  auto* envoi = new QGroupBox(QString::fromUtf8("Envoi des données"), format);
  envoiDonneesRG_ = Radios(envoi, std::array<const char*, 2>{"sur demande", "en continu"}, 1);
  f->addWidget(envoi, 0, 0);
  auto* fixe = new QGroupBox(QString::fromUtf8("Format des données"), format);
  fixeRG_ = Radios(fixe, std::array<const char*, 2>{"variable", "fixe"}, 1);
  f->addWidget(fixe, 0, 1);
  auto* delai = new QGroupBox(QString::fromUtf8("Délai mini entre mesures (ms)"), format);
  auto* ld = new QHBoxLayout(delai);
  delaiEdit_ = new QLineEdit(delai);
  delaiEdit_->setMaximumWidth(80);
  ld->addWidget(delaiEdit_);
  auto* fleches = new QVBoxLayout;
  fleches->setSpacing(0);
  delaiHaut_ = new QToolButton(delai);
  delaiHaut_->setArrowType(Qt::UpArrow);
  delaiBas_ = new QToolButton(delai);
  delaiBas_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {delaiHaut_, delaiBas_}) {
    b->setFixedSize(18, 12);
    b->setFocusPolicy(Qt::NoFocus);
    fleches->addWidget(b);
  }
  ld->addLayout(fleches);
  ld->addStretch(1);
  f->addWidget(delai, 0, 2);
  auto* separateur = new QGroupBox(QString::fromUtf8("Séparateur des chiffres"), format);
  auto* fs = new QFormLayout(separateur);
  separateurSE_ = Spin(separateur, 0, 255);
  fs->addRow("Code ASCII", separateurSE_);
  f->addWidget(separateur, 0, 3);
  nbreCaracSE_ = Spin(format, -99999, 99999);
  nbreCaracGB_ = Groupe("Nombre de carac.", format, nbreCaracSE_);
  f->addWidget(nbreCaracGB_, 1, 0);
  nbreLignesSE_ = Spin(format, 0, 255);
  nbreLignesGB_ = Groupe("Nombre de lignes", format, nbreLignesSE_);
  f->addWidget(nbreLignesGB_, 1, 1);
  posDebutSE_ = Spin(format, TConfigDlg::PosDebutMini, TConfigDlg::PosDebutMaxi);
  posDebutGB_ = Groupe("Numéro premier carac.", format, posDebutSE_);
  f->addWidget(posDebutGB_, 1, 2);
  numeroOrdreSE_ = Spin(format, 0, 255);
  numeroOrdreGB_ = Groupe("Numéro d'ordre", format, numeroOrdreSE_);
  f->addWidget(numeroOrdreGB_, 1, 3);
  editDemande_ = new QLineEdit(format);
  demandeGB_ = Groupe(TConfigDlg::CaptionDemande, format, editDemande_);
  f->addWidget(demandeGB_, 2, 0, 1, 2);
  editDemandeBis_ = new QLineEdit(format);
  demandeBisGB_ = Groupe(TConfigDlg::CaptionBisApres, format, editDemandeBis_);
  f->addWidget(demandeBisGB_, 2, 2, 1, 2);
  editInit_ = new QLineEdit(format);
  f->addWidget(Groupe("Chaine d'initialisation", format, editInit_), 3, 0, 1, 2);
  editFin_ = new QLineEdit(format);
  f->addWidget(Groupe("Chaine de libération", format, editFin_), 3, 2, 1, 2);
  auto* verif = new QGroupBox(QString::fromUtf8("Texte après les données (pour vérification)"), format);
  auto* lv = new QHBoxLayout(verif);
  editVerif_ = new QLineEdit(verif);
  numVerifSE_ = Spin(verif, 0, TConfigDlg::NumVerifMaxi);
  lv->addWidget(editVerif_, 1);
  lv->addWidget(new QLabel("Position", verif));
  lv->addWidget(numVerifSE_);
  f->addWidget(verif, 4, 0, 1, 2);
  auto* cases = new QVBoxLayout;
  lectureCoeffCB_ = new QCheckBox(QString::fromUtf8("Lecture du préfixe de l'unité"), format);
  lectureNomUniteCB_ = new QCheckBox(QString::fromUtf8("Lecture de l'unité"), format);
  lectureStabCB_ = new QCheckBox(QString::fromUtf8("Lecture de la stabilité"), format);
  depassementCB_ = new QCheckBox(QString::fromUtf8("Eliminer hors mini..maxi"), format);
  const std::string indice = TConfigDlg::IndiceDepassement;
  depassementCB_->setToolTip(Q(indice.substr(indice.find('|') + 1)));
  depassementCB_->setProperty("indice", Q(indice));
  for (QCheckBox* b : {lectureCoeffCB_, lectureNomUniteCB_, lectureStabCB_, depassementCB_}) cases->addWidget(b);
  f->addLayout(cases, 4, 2, 1, 2);
  f->setRowStretch(5, 1);
  pages_->addTab(format, QString::fromUtf8(TConfigDlg::CaptionsPages[2]));

  // ---- "Aide pilotage"
  pilotageMemo_ = new QPlainTextEdit;
  pilotageMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  pages_->addTab(pilotageMemo_, QString::fromUtf8(TConfigDlg::CaptionsPages[3]));

  // ---- "Pilotage"
  auto* pilotage = new QWidget;
  auto* lp = new QVBoxLayout(pilotage);
  memo1_ = new QPlainTextEdit(pilotage);
  memo1_->setReadOnly(true);
  lp->addWidget(memo1_, 1);
  auto* ordre = new QHBoxLayout;
  ordre->addWidget(new QLabel(QString::fromUtf8("Ordre à envoyer"), pilotage));
  ordreEdit_ = new QLineEdit(pilotage);
  ordreEdit_->installEventFilter(new TAvaleEntree(ordreEdit_));
  ordre->addWidget(ordreEdit_, 1);
  lp->addLayout(ordre);
  auto* envois = new QHBoxLayout;
  envoi_ = new QPushButton("Envoyer", pilotage);
  envoiCR_ = new QPushButton("Envoyer + CR", pilotage);
  envoiCRLF_ = new QPushButton("Envoyer + CR + LF", pilotage);
  for (QPushButton* b : {envoi_, envoiCR_, envoiCRLF_}) envois->addWidget(b);
  lp->addLayout(envois);
  pages_->addTab(pilotage, QString::fromUtf8(TConfigDlg::CaptionsPages[4]));

  // ---- button panel
  auto* boutons = new QHBoxLayout;
  okBtn_ = new QPushButton("&OK", this);
  cancelBtn_ = new QPushButton("Abandon", this);
  helpBtn_ = new QPushButton("Aide", this);
  testBtn_ = new QPushButton("&Test", this);
  clearBtn_ = new QPushButton(QString::fromUtf8("&RàZ"), this);
  for (QPushButton* b : {okBtn_, cancelBtn_, helpBtn_, testBtn_, clearBtn_}) {
    b->setAutoDefault(false);
    boutons->addWidget(b);
  }
  boutons->insertStretch(0, 1);
  principal->addLayout(boutons);

  // ---- actions
  QObject::connect(okBtn_, &QPushButton::clicked, this, [this] {
    VersModele();
    if (modele_.OKBtnClick()) QDialog::accept();
    else Affiche();
  });
  QObject::connect(cancelBtn_, &QPushButton::clicked, this, [this] { reject(); });
  QObject::connect(helpBtn_, &QPushButton::clicked, this, [this] {
    if (modele_.Aide) modele_.Aide(TConfigDlg::ContexteAide);
  });
  QObject::connect(testBtn_, &QPushButton::clicked, this, [this] { Action([this] { modele_.TestBtnClick(); }); });
  QObject::connect(clearBtn_, &QPushButton::clicked, this, [this] { Action([this] { modele_.ClearBtnClick(); }); });
  QObject::connect(envoi_, &QPushButton::clicked, this, [this] { Action([this] { modele_.EnvoiClick(); }); });
  QObject::connect(envoiCR_, &QPushButton::clicked, this, [this] { Action([this] { modele_.EnvoiCRClick(); }); });
  QObject::connect(envoiCRLF_, &QPushButton::clicked, this, [this] { Action([this] { modele_.EnvoiCRLFClick(); }); });
  QObject::connect(delaiHaut_, &QToolButton::clicked, this, [this] { Action([this] { modele_.DelaiSpinUp(); }); });
  QObject::connect(delaiBas_, &QToolButton::clicked, this, [this] { Action([this] { modele_.DelaiSpinDown(); }); });
  QObject::connect(envoiDonneesRG_, &QButtonGroup::idClicked, this,
                   [this](int id) { Action([this, id] { modele_.EnvoiDonneesRGClick(id); }); });
  QObject::connect(fixeRG_, &QButtonGroup::idClicked, this, [this](int id) { Action([this, id] { modele_.FixeRGClick(id); }); });
  QObject::connect(posDebutSE_, &QSpinBox::valueChanged, this,
                   [this](int v) { Action([this, v] { modele_.PosDebutSEChange(v); }); });
  QObject::connect(precisionSE_, &QSpinBox::valueChanged, this,
                   [this](int v) { Action([this, v] { modele_.PrecisionSEChange(v); }); });
  QObject::connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
    Action([this, page] { modele_.PageChange(static_cast<TConfigDlg::TPage>(page)); });
  });
  modele_.Rafraichit = [this] { AfficheMemo(); };
  modele_.MontreTest = [this] {
    if (!test_) test_ = std::make_unique<TFenetreTest>(contexte_, modele_, this);
    test_->exec();
  };
  resize(660, 470);
}

TFenetreConfig::~TFenetreConfig() {
  modele_.Rafraichit = nullptr;
  modele_.MontreTest = nullptr;
}

void TFenetreConfig::Action(const std::function<void()>& action) {
  if (maj_) return;
  VersModele();
  action();
  Affiche();
}

void TFenetreConfig::showEvent(QShowEvent* evenement) {
  QDialog::showEvent(evenement);
  modele_.FormShow();
  Affiche();
}

void TFenetreConfig::reject() {
  modele_.CancelBtnClick();
  QDialog::reject();
}

void TFenetreConfig::VersModele() {
  TConfigDlg& m = modele_;
  m.nomGrandeurCombo = T(nomGrandeurCombo_->currentText());
  m.nomGrandeurIndex = nomGrandeurCombo_->currentIndex();
  m.EditSymbole = T(editSymbole_->text());
  m.EditUnite = T(editUnite_->text());
  m.EditMin = T(editMin_->text());
  m.EditMax = T(editMax_->text());
  m.EditNomAppareil = T(editNomAppareil_->text());
  m.PrecisionSE = precisionSE_->value();
  m.DeriveEdit = T(deriveEdit_->text());
  m.RTSCTSbox = rtsCtsBox_->isChecked();
  m.XonXoffBox = xonXoffBox_->isChecked();
  m.BaudsRG = baudsRG_->checkedId();
  m.ComportsIndex = comports_->checkedId();
  m.ParityRG = parityRG_->checkedId();
  m.DatabitsRG = databitsRG_->checkedId();
  m.StopbitsRG = stopbitsRG_->checkedId();
  m.EnvoiDonneesRG = envoiDonneesRG_->checkedId();
  m.FixeRG = fixeRG_->checkedId();
  m.DelaiEdit = T(delaiEdit_->text());
  m.SeparateurSE = separateurSE_->value();
  m.NbreCaracSE = nbreCaracSE_->value();
  m.NbreLignesSE = nbreLignesSE_->value();
  m.PosDebutSE = posDebutSE_->value();
  m.NumeroOrdreSE = numeroOrdreSE_->value();
  m.NumVerifSE = numVerifSE_->value();
  m.EditDemande = T(editDemande_->text());
  m.EditDemandeBis = T(editDemandeBis_->text());
  m.EditInit = T(editInit_->text());
  m.EditFin = T(editFin_->text());
  m.EditVerif = T(editVerif_->text());
  m.LectureCoeffCB = lectureCoeffCB_->isChecked();
  m.LectureNomUniteCB = lectureNomUniteCB_->isChecked();
  m.lectureStabCB = lectureStabCB_->isChecked();
  m.DepassementCB = depassementCB_->isChecked();
  m.PilotageMemo.clear();
  for (const QString& l : pilotageMemo_->toPlainText().split('\n')) m.PilotageMemo.push_back(T(l));
  m.OrdreEdit = T(ordreEdit_->text());
}

void TFenetreConfig::ComportsItems() {
  if (portsAffiches_ == modele_.ComportsItems) return;
  for (QAbstractButton* b : comports_->buttons()) {
    comports_->removeButton(b);
    delete b;
  }
  auto* grille = static_cast<QGridLayout*>(comportsGB_->layout());
  int i = 0;
  for (const auto& item : modele_.ComportsItems) {
    auto* b = new QRadioButton(Q(item), comportsGB_);
    comports_->addButton(b, i);
    grille->addWidget(b, i % 10, i / 10);
    ++i;
  }
  portsAffiches_ = modele_.ComportsItems;
}

void TFenetreConfig::AfficheMemo() { Lignes(memo1_, modele_.Memo1, true); }

void TFenetreConfig::Affiche() {
  maj_ = true;
  const TConfigDlg& m = modele_;
  nomGrandeurCombo_->setCurrentIndex(m.nomGrandeurIndex);
  nomGrandeurCombo_->setEditText(Q(m.nomGrandeurCombo));
  Texte(editSymbole_, m.EditSymbole);
  Texte(editUnite_, m.EditUnite);
  Texte(editMin_, m.EditMin);
  Texte(editMax_, m.EditMax);
  Texte(editNomAppareil_, m.EditNomAppareil);
  precisionSE_->setValue(m.PrecisionSE);
  Texte(deriveEdit_, m.DeriveEdit);
  rtsCtsBox_->setChecked(m.RTSCTSbox);
  xonXoffBox_->setChecked(m.XonXoffBox);
  Choisit(baudsRG_, m.BaudsRG);
  ComportsItems();
  comportsGB_->setTitle(Q(m.ComportsItems.empty() ? m.ComportsCaption : "&Com par défaut"));
  Choisit(comports_, m.ComportsIndex);
  Choisit(parityRG_, m.ParityRG);
  Choisit(databitsRG_, m.DatabitsRG);
  Choisit(stopbitsRG_, m.StopbitsRG);
  Choisit(envoiDonneesRG_, m.EnvoiDonneesRG);
  Choisit(fixeRG_, m.FixeRG);
  Texte(delaiEdit_, m.DelaiEdit);
  separateurSE_->setValue(m.SeparateurSE);
  nbreCaracSE_->setValue(m.NbreCaracSE);
  nbreLignesSE_->setValue(m.NbreLignesSE);
  posDebutSE_->setValue(m.PosDebutSE);
  numeroOrdreSE_->setValue(m.NumeroOrdreSE);
  numVerifSE_->setValue(m.NumVerifSE);
  Texte(editDemande_, m.EditDemande);
  Texte(editDemandeBis_, m.EditDemandeBis);
  Texte(editInit_, m.EditInit);
  Texte(editFin_, m.EditFin);
  Texte(editVerif_, m.EditVerif);
  lectureCoeffCB_->setChecked(m.LectureCoeffCB);
  lectureNomUniteCB_->setChecked(m.LectureNomUniteCB);
  lectureStabCB_->setChecked(m.lectureStabCB);
  depassementCB_->setChecked(m.DepassementCB);
  demandeGB_->setTitle(Q(m.DemandeGBCaption));
  demandeBisGB_->setTitle(Q(m.DemandeBisGBCaption));
  nbreCaracGB_->setVisible(m.NbreCaracGBVisible);
  nbreLignesGB_->setVisible(m.NbreLignesGBVisible);
  numeroOrdreGB_->setVisible(m.NumeroOrdreGBVisible);
  demandeBisGB_->setVisible(m.DemandeBisGBVisible);
  posDebutGB_->setVisible(m.PosDebutGBVisible);
  // The memo keeps its empty lines: the 16 help lines stay in their places.
  std::vector<std::string> aide = m.PilotageMemo;
  while (!aide.empty() && aide.back().empty()) aide.pop_back();
  Lignes(pilotageMemo_, aide, false);
  AfficheMemo();
  Texte(ordreEdit_, m.OrdreEdit);
  clearBtn_->setVisible(m.ClearBtnVisible);
  pages_->setCurrentIndex(static_cast<int>(m.PageActive));
  maj_ = false;
}
