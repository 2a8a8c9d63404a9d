// The main window's widgets and their binding to the engine's view model.
#include "core/window/fenetre_principale.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/cinetique.h"
#include "core/noms_controles.h"
#include "core/window/disposition_voies.h"
#include "core/window/filtres.h"
#include "core/window/icones.h"
#include "core/window/modele_grille.h"
#include "core/window/oscillo.h"
#include "core/window/panneau_voies.h"
#include "dialogs/widgets_dialogue.h"

namespace {
constexpr int LargeurColonne = 80;
constexpr const char* IndiceVoie = "|cliquer pour modifier la grandeur à mesurer";

QColor Couleur(std::uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// "GroupBox3" -> 3 for the prefix "GroupBox"; -1 when the name is not of that form.
int NumeroVoie(const std::string& nom, const std::string& prefixe) {
  if (nom.size() != prefixe.size() + 1 || nom.compare(0, prefixe.size(), prefixe) != 0) return -1;
  const char c = nom.back();
  return c >= '0' && c <= '8' ? c - '0' : -1;
}
}  // namespace

TFenetrePrincipale::TFenetrePrincipale(TCinetiqueMain& moteur, QWidget* parent) : QMainWindow(parent), moteur_(moteur) {
  setWindowTitle(Caption);
  const QScreen* ecran = QGuiApplication::primaryScreen();
  tailleIcones_ = ::TailleIcones(ecran ? ecran->logicalDotsPerInch() : 96);

  auto* centre = new QWidget(this);
  centre->setFocusPolicy(Qt::StrongFocus);
  auto* colonne = new QVBoxLayout(centre);
  colonne->setContentsMargins(0, 0, 0, 0);
  colonne->setSpacing(0);
  ConstruitBarres();
  ConstruitPanelTemps();
  colonne->addWidget(toolBar2_);
  colonne->addWidget(panelTemps_);
  colonne->addWidget(toolBar1_);

  auto* zone = new QHBoxLayout;
  zone->setContentsMargins(0, 0, 0, 0);
  zone->setSpacing(2);
  panelGrid_ = new QWidget(centre);
  auto* g = new QVBoxLayout(panelGrid_);
  g->setContentsMargins(0, 0, 0, 0);
  grille_ = new QTableView(panelGrid_);
  modeleGrille_ = new TModeleGrille(moteur_.Vue().Grille(), this);
  grille_->setModel(modeleGrille_);
  grille_->setFocusPolicy(Qt::NoFocus);
  grille_->verticalHeader()->setVisible(false);
  grille_->verticalHeader()->setDefaultSectionSize(20);
  grille_->horizontalHeader()->setDefaultSectionSize(LargeurColonne);
  grille_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grille_->horizontalHeader()->setMinimumHeight(40);
  grille_->setSelectionMode(QAbstractItemView::NoSelection);
  grille_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grille_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  grille_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  g->addWidget(grille_);
  zone->addWidget(panelGrid_);
  oscillo_ = new TOscillo(moteur_, centre);
  zone->addWidget(oscillo_, 1);
  panneauVoies_ = new TPanneauVoies(centre);
  panneauVoies_->setFixedWidth(210);
  zone->addWidget(panneauVoies_);
  colonne->addLayout(zone, 1);
  setCentralWidget(centre);

  statut0_ = new QLabel(this);
  statut0_->setMinimumWidth(250);
  statut1_ = new QLabel(this);
  statusBar()->addWidget(statut0_);
  statusBar()->addWidget(statut1_, 1);

  for (int i = 0; i < TPanneauVoies::NbreVoies; ++i) {
    TPanneauVoie* v = panneauVoies_->Voie(i);
    PoseIndice(v, IndiceVoie);
    PoseIndice(v->Valeur(), IndiceVoie);
    v->SurClic = [this](int voie) {
      if (Commandes.GroupBox1Click) Commandes.GroupBox1Click(voie);
    };
  }
  TGroupeClavier* clavier = panneauVoies_->ClavierGB();
  PoseIndice(clavier, "|Entrée les données au caliver et valider");
  PoseIndice(clavier->Edit(), "|Pour enregistrer la valeur, valider par la touche entrée");
  PoseIndice(clavier->Valide(), "Validation|Pour enregistrer frapper la touche entrée ou cliquer ce bouton");
  clavier->SurClic = [this] { moteur_.ClavierGBClick(); };
  QObject::connect(clavier->Valide(), &QPushButton::clicked, this, [this] { ValideClavier(); });
  QObject::connect(clavier->Edit(), &QLineEdit::textEdited, this, [this](const QString& t) {
    moteur_.Vue().SetTexte(ctl::ClavierEdit, EnTexte(t));
  });
  FiltreFrappe(clavier->Edit(), [this](char32_t& c) {
    moteur_.Vue().SetTexte(ctl::ClavierEdit, EnTexte(panneauVoies_->ClavierGB()->Edit()->text()));
    moteur_.ClavierEditKeyPress(c);
  });

  // The axes take the channels' quantity symbols and units at each repaint.
  moteur_.Graphe->PrepareDessin = [this](Tgraphe& G) {
    for (int i = 0; i < moteur_.NbreVoies(); ++i)
      if (const Tappareil* A = moteur_.Voie(i)) {
        G.mondeY[static_cast<std::size_t>(i)].Nom = A->SymboleGrandeur;
        G.mondeY[static_cast<std::size_t>(i)].Unite = A->UniteGrandeur;
      }
  };
  moteur_.Graphe->FormatHeure = [this](double jour) { return moteur_.Plateforme().regional.HeureLongue(jour); };
  moteur_.Vue().SetObservateur([this](const std::string& nom) { Lie(nom); });
  qApp->installEventFilter(new TFiltreIndices(this));
  resize(1100, 720);
}

TFenetrePrincipale::~TFenetrePrincipale() {
  moteur_.Vue().SetObservateur({});
  moteur_.Graphe->PrepareDessin = nullptr;
  moteur_.Graphe->FormatHeure = nullptr;
  if (sablier_) QApplication::restoreOverrideCursor();
}

QAction* TFenetrePrincipale::Commande(QToolBar* barre, const std::string& nom, const char* caption, int icone,
                                      const char* indice, std::function<void()> action) {
  QAction* a = barre->addAction(Icone(icone, tailleIcones_), QString::fromUtf8(caption));
  // The caption exactly as given: a tool button would drop a trailing "...".
  a->setIconText(QString::fromUtf8(caption));
  a->setObjectName(QString::fromStdString(nom));
  actions_[nom] = a;
  auto* bouton = qobject_cast<QToolButton*>(barre->widgetForAction(a));
  if (bouton) {
    bouton->setObjectName(QString::fromStdString(nom));
    bouton->setFocusPolicy(Qt::NoFocus);
    boutons_[nom] = bouton;
    if (indice) PoseIndice(bouton, indice);
  }
  if (indice) a->setToolTip(EnQString(IndiceLong(indice)));
  QObject::connect(a, &QAction::triggered, this, [action] {
    if (action) action();
  });
  return a;
}

void TFenetrePrincipale::ConstruitBarres() {
  const QSize taille(tailleIcones_, tailleIcones_);
  toolBar2_ = new QToolBar("ToolBar2", this);
  toolBar2_->setObjectName("ToolBar2");
  toolBar2_->setIconSize(taille);
  toolBar2_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  toolBar2_->setMovable(false);

  menuFichier_ = new QMenu(this);
  auto item = [this](const std::string& nom, const char* caption, std::function<void()> action) {
    QAction* a = menuFichier_->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromStdString(nom));
    actions_[nom] = a;
    QObject::connect(a, &QAction::triggered, this, [action] { action(); });
    return a;
  };
  item(ctl::NouveauFichierItem, "Enregistre nouveau fichier", [this] {
    if (Commandes.SaveItemClick) Commandes.SaveItemClick();
  });
  item(ctl::NouvellePageItem, "Enregistre nouvelle page", [] {})->setEnabled(false);
  menuFichier_->addSeparator();
  item("SauveConfigItem", "Enregistre configuration", [this] {
    if (Commandes.SauveconfigItemClick) Commandes.SauveconfigItemClick();
  });
  item("ChargeConfigItem", "Charge configuration", [this] {
    if (Commandes.ChargeconfigItemClick) Commandes.ChargeconfigItemClick();
  });
  menuFichier_->addSeparator();
  item("GestionItem", "Gestion &appareils", [this] {
    if (Commandes.ConfigurationItemClick) Commandes.ConfigurationItemClick();
  });
  menuFichier_->addSeparator();
  item("QuitterItem", "Quitter", [this] { close(); });

  auto* fileBtn = new QToolButton(toolBar2_);
  fileBtn->setObjectName("FileBtn");
  fileBtn->setText("Fichier");
  fileBtn->setIcon(Icone(icones::Fichier, tailleIcones_));
  fileBtn->setIconSize(taille);
  fileBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  fileBtn->setMenu(menuFichier_);
  fileBtn->setPopupMode(QToolButton::InstantPopup);
  fileBtn->setFocusPolicy(Qt::NoFocus);
  actions_["FileBtn"] = toolBar2_->addWidget(fileBtn);
  boutons_["FileBtn"] = fileBtn;

  Commande(toolBar2_, "AddAppareilBtn", "Ajouter appareil ", icones::AjouterAppareil, nullptr,
           [this] { moteur_.AddAppItemClick(); });
  Commande(toolBar2_, ctl::ModeAcqBtn, "Mode acquisition", icones::Temps, nullptr,
           [this] { moteur_.AcquisitionItemClick(); });
  Commande(toolBar2_, ctl::HelpBtn, "Aide", icones::Aide, nullptr, [this] {
    if (Commandes.HelpIndexItemClick) Commandes.HelpIndexItemClick();
  });
  Commande(toolBar2_, "AboutBtn", "A propos ...", icones::APropos, nullptr, [this] {
    if (Commandes.AboutItemClick) Commandes.AboutItemClick();
  });

  toolBar1_ = new QToolBar("ToolBar1", this);
  toolBar1_->setObjectName("ToolBar1");
  toolBar1_->setIconSize(taille);
  toolBar1_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolBar1_->setMovable(false);
  Commande(toolBar1_, ctl::EnregistreBtn, "Acquérir", icones::Acquerir, nullptr, [this] { moteur_.EnregistreBtnClick(); });
  Commande(toolBar1_, ctl::RepereBtn, "Repère", icones::Repere, nullptr, [this] { moteur_.ToolButton3Click(); });
  Commande(toolBar1_, ctl::UndoBtn, "Défaire", icones::Defaire, nullptr, [this] { moteur_.UndoBtnClick(); });
  Commande(toolBar1_, ctl::StopBtn, "Stop", icones::Stop, nullptr, [this] { moteur_.StopBtnClick(); });
  Commande(toolBar1_, ctl::ResetBtn, "RàZ", icones::Raz, nullptr, [this] { moteur_.ResetBtnClick(); });
  Commande(toolBar1_, ctl::TraSaveBtn, "Tracoria", icones::Tracoria, "Envoyer les données vers Tracoria", [this] {
    if (Commandes.TraSaveBtnClick) Commandes.TraSaveBtnClick();
  });
  Commande(toolBar1_, ctl::CopyBtn, "Copier", icones::Copier, "Copier les données dans le presse papiers", [this] {
    if (Commandes.CopyBtnClick) Commandes.CopyBtnClick();
  });
  QAction* multimetre = Commande(toolBar1_, ctl::PleinEcranBtn, "Multimètre", icones::Multimetre, nullptr, nullptr);
  multimetre->setCheckable(true);
  QObject::connect(multimetre, &QAction::toggled, this, [this](bool enfonce) {
    if (!maj_) PleinEcranBtnClick(enfonce);
  });
  Commande(toolBar1_, ctl::BuretteBtn, "Dosage", icones::Burette, "Réglage des paramètres du dosage (sensibilité ...) ",
           [this] { moteur_.BuretteBtnClick(); });
}

void TFenetrePrincipale::ConstruitPanelTemps() {
  panelTemps_ = new QWidget(this);
  panelTemps_->setObjectName("PanelTemps");
  auto* ligne = new QHBoxLayout(panelTemps_);
  ligne->setContentsMargins(6, 2, 6, 2);
  dureeLabel_ = new QLabel("Durée ", panelTemps_);
  dureeEdit_ = new QLineEdit(panelTemps_);
  dureeEdit_->setFixedWidth(84);
  dureeSB_ = new TBoutonsHautBas(Qt::Vertical, panelTemps_);
  deltaLabel_ = new QLabel(panelTemps_);
  deltatSE_ = new QSpinBox(panelTemps_);
  deltatSE_->setRange(1, 60);
  deltatSE_->setKeyboardTracking(false);
  deltatSE_->setFixedWidth(64);
  nombreLabel_ = new QLabel("Nombre", panelTemps_);
  nombreLabel_->setMinimumWidth(70);
  ligne->addWidget(dureeLabel_);
  ligne->addWidget(dureeEdit_);
  ligne->addWidget(dureeSB_);
  ligne->addSpacing(16);
  ligne->addWidget(deltaLabel_);
  ligne->addWidget(deltatSE_);
  ligne->addSpacing(16);
  ligne->addWidget(nombreLabel_);
  ligne->addStretch(1);

  FiltreFrappe(dureeEdit_, [this](char32_t& c) {
    moteur_.Vue().SetTexte(ctl::DureeEdit, EnTexte(dureeEdit_->text()));
    const bool entree = c == 13;
    moteur_.DureeEditKeyPress(c);
    if (entree) dureeEdit_->setText(EnQString(moteur_.Vue().Controle(ctl::DureeEdit).caption));
  });
  QObject::connect(dureeEdit_, &QLineEdit::editingFinished, this, [this] {
    const std::string texte = EnTexte(dureeEdit_->text());
    if (maj_ || texte == moteur_.Vue().Controle(ctl::DureeEdit).caption) return;
    moteur_.Vue().SetTexte(ctl::DureeEdit, texte);
    moteur_.DureeEditExit();
    dureeEdit_->setText(EnQString(moteur_.Vue().Controle(ctl::DureeEdit).caption));
  });
  dureeSB_->SurHaut = [this] { moteur_.DureeSBUpClick(); };
  dureeSB_->SurBas = [this] { moteur_.DureeSBDownClick(); };
  QObject::connect(deltatSE_, &QSpinBox::valueChanged, this, [this](int v) {
    if (!maj_) moteur_.DeltatSEChange(v);
  });
}

void TFenetrePrincipale::FormCreate() {
  moteur_.FormCreate();
  AppliqueTout();
  centralWidget()->setFocus();
}

QAction* TFenetrePrincipale::Action(const std::string& nom) const {
  auto it = actions_.find(nom);
  return it == actions_.end() ? nullptr : it->second;
}

QToolButton* TFenetrePrincipale::Bouton(const std::string& nom) const {
  auto it = boutons_.find(nom);
  return it == boutons_.end() ? nullptr : it->second;
}

void TFenetrePrincipale::AppliqueTout() {
  for (const auto& [nom, controle] : moteur_.Vue().Controles()) AppliqueControle(nom);
  AppliqueGrille();
  statut0_->setText(EnQString(moteur_.Vue().Statut(0)));
  statut1_->setText(EnQString(moteur_.Vue().Statut(1)));
  AppliqueSablier();
  oscillo_->Invalide();
}

void TFenetrePrincipale::Lie(const std::string& nom) {
  if (nom == "Grid") {
    AppliqueGrille();
    // Points drawn on the plot's image since the last repaint.
    oscillo_->update();
  } else if (nom == "Plot") {
    oscillo_->Invalide();
  } else if (nom == "StatusBar0") {
    statut0_->setText(EnQString(moteur_.Vue().Statut(0)));
  } else if (nom == "StatusBar1") {
    statut1_->setText(EnQString(moteur_.Vue().Statut(1)));
  } else if (nom == "Focus") {
    if (moteur_.Vue().Focus() == ctl::ClavierEdit && panneauVoies_->ClavierGB()->isVisible())
      panneauVoies_->ClavierGB()->Edit()->setFocus();
  } else if (nom == "Sablier") {
    AppliqueSablier();
  } else {
    AppliqueControle(nom);
  }
}

void TFenetrePrincipale::AppliqueSablier() {
  const bool voulu = moteur_.Vue().Sablier();
  if (voulu == sablier_) return;
  sablier_ = voulu;
  if (voulu) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

void TFenetrePrincipale::AppliqueControle(const std::string& nom) {
  const TVueModele& vue = moteur_.Vue();
  const TControleVue& c = vue.Controle(nom);
  maj_ = true;
  if (nom == ctl::ClavierEdit) {
    QLineEdit* e = panneauVoies_->ClavierGB()->Edit();
    const QString texte = EnQString(vue.Texte(ctl::ClavierEdit));
    if (e->text() != texte) e->setText(texte);
  } else if (nom == ctl::ModeAcqBtn) {
    actions_[nom]->setIcon(Icone(c.valeur, tailleIcones_));
  } else if (nom == ctl::PleinEcranBtn) {
    actions_[nom]->setEnabled(c.enabled);
    // With no channel left the multimeter view has nothing to show.
    if (!c.enabled && pleinEcran_) {
      actions_[nom]->setChecked(false);
      maj_ = false;
      PleinEcranBtnClick(false);
      return;
    }
  } else if (nom == ctl::PanelTemps) {
    panelTemps_->setVisible(c.visible);
  } else if (nom == ctl::DureeEdit) {
    if (!(dureeEdit_->hasFocus() && dureeEdit_->isModified())) dureeEdit_->setText(EnQString(c.caption));
  } else if (nom == ctl::DeltaLabel) {
    deltaLabel_->setText(EnQString(c.caption));
  } else if (nom == ctl::NombreLabel) {
    nombreLabel_->setText(EnQString(c.caption));
  } else if (nom == ctl::DeltatSE) {
    if (c.maxi >= c.mini && c.maxi > 0) deltatSE_->setRange(c.mini, c.maxi);
    deltatSE_->setValue(c.valeur);
  } else if (nom == ctl::LabelPb) {
    panneauVoies_->LabelPb()->setText(EnQString(c.caption));
  } else if (nom == ctl::PanelDuree) {
    panneauVoies_->PanelDuree()->setText(EnQString(c.caption));
  } else if (nom == ctl::ClavierGB) {
    TGroupeClavier* g = panneauVoies_->ClavierGB();
    g->setTitle(EnQString(c.caption));
    g->setVisible(c.visible && !pleinEcran_);
    panneauVoies_->Place();
  } else if (const int v = NumeroVoie(nom, "GroupBox"); v >= 0) {
    TPanneauVoie* p = panneauVoies_->Voie(v);
    p->setTitle(EnQString(c.caption));
    p->SetCouleur(Couleur(c.couleur));
    PoseIndice(p, c.hint);
    const bool changement = p->isVisibleTo(panneauVoies_) != c.visible;
    p->setVisible(c.visible);
    if (changement) {
      panneauVoies_->Place();
      if (pleinEcran_) DisposeVoies();
    }
  } else if (const int l = NumeroVoie(nom, "Label"); l >= 0) {
    TPanneauVoie* p = panneauVoies_->Voie(l);
    p->Valeur()->setText(EnQString(c.caption));
    PoseIndice(p->Valeur(), c.hint);
  } else if (const int s = NumeroVoie(nom, "Stable"); s >= 0) {
    QToolButton* b = panneauVoies_->Voie(s)->Indicateur();
    b->setVisible(c.visible);
    b->setChecked(c.enfonce);
    PoseIndice(b, c.hint);
  } else if (auto it = actions_.find(nom); it != actions_.end()) {
    it->second->setEnabled(c.enabled);
    it->second->setVisible(c.visible);
  }
  maj_ = false;
}

void TFenetrePrincipale::AppliqueGrille() {
  const TGrilleVue& g = moteur_.Vue().Grille();
  modeleGrille_->Actualise();
  if (g.NbColonnes() != colonnesAppliquees_) {
    colonnesAppliquees_ = g.NbColonnes();
    for (int c = 0; c < g.NbColonnes(); ++c) grille_->setColumnWidth(c, LargeurColonne);
    panelGrid_->setFixedWidth(g.NbColonnes() * LargeurColonne + 16 + 2 * grille_->frameWidth());
  }
  if (g.LigneHaut() != ligneHautAppliquee_) {
    ligneHautAppliquee_ = g.LigneHaut();
    const int ligne = std::max(g.LigneHaut() - 2, 0);
    // After the view has laid out the rows just added.
    QTimer::singleShot(0, grille_, [this, ligne] {
      if (ligne < modeleGrille_->rowCount()) grille_->scrollTo(modeleGrille_->index(ligne, 0), QAbstractItemView::PositionAtTop);
    });
  }
}

void TFenetrePrincipale::ValideClavier() {
  moteur_.Vue().SetTexte(ctl::ClavierEdit, EnTexte(panneauVoies_->ClavierGB()->Edit()->text()));
  moteur_.ValideClavierBtnClick();
}

void TFenetrePrincipale::PleinEcranBtnClick(bool enfonce) {
  if (enfonce && moteur_.NbreVoies() == 0) enfonce = false;
  pleinEcran_ = enfonce;
  maj_ = true;
  actions_[ctl::PleinEcranBtn]->setChecked(enfonce);
  maj_ = false;
  panelGrid_->setVisible(!enfonce);
  oscillo_->setVisible(!enfonce);
  panneauVoies_->PanelDuree()->setVisible(!enfonce);
  panneauVoies_->ClavierGB()->setVisible(!enfonce && moteur_.Vue().Controle(ctl::ClavierGB).visible);
  if (enfonce) {
    panneauVoies_->setMinimumWidth(0);
    panneauVoies_->setMaximumWidth(QWIDGETSIZE_MAX);
  } else {
    panneauVoies_->setFixedWidth(210);
  }
  centralWidget()->layout()->activate();
  DisposeVoies();
}

void TFenetrePrincipale::DisposeVoies() {
  const auto d = ::DisposeVoies(pleinEcran_, moteur_.NbreVoies(), panneauVoies_->height(), centralWidget()->width());
  if (!d) {
    // The multimeter view with no channel in use: back to the normal view.
    PleinEcranBtnClick(false);
    return;
  }
  if (!pleinEcran_) panneauVoies_->setFixedWidth(d->largeurPanneauVoies);
  panneauVoies_->SetDisposition(*d, centralWidget()->width());
  update();
}

void TFenetrePrincipale::closeEvent(QCloseEvent* evenement) {
  if (moteur_.FormClose()) evenement->accept();
  else evenement->ignore();
}

void TFenetrePrincipale::keyPressEvent(QKeyEvent* evenement) {
  char32_t c = CaractereTouche(*evenement);
  if (c == 0) {
    QMainWindow::keyPressEvent(evenement);
    return;
  }
  // Every character that reaches the window itself is consumed; the space bar acquires.
  moteur_.FormKeyPress(c);
  evenement->accept();
}

void TFenetrePrincipale::changeEvent(QEvent* evenement) {
  QMainWindow::changeEvent(evenement);
  if (evenement->type() == QEvent::ActivationChange && isActiveWindow()) moteur_.FormActivate();
}

void TFenetrePrincipale::resizeEvent(QResizeEvent* evenement) {
  QMainWindow::resizeEvent(evenement);
  if (pleinEcran_) {
    centralWidget()->layout()->activate();
    DisposeVoies();
  }
}

bool TFenetrePrincipale::event(QEvent* evenement) {
  // A help request is taken as handled; nothing else happens.
  if (evenement->type() == QEvent::WhatsThis || evenement->type() == QEvent::QueryWhatsThis) {
    evenement->accept();
    return true;
  }
  return QMainWindow::event(evenement);
}
