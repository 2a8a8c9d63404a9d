// The program's windows and their wiring.
#include "core/window/programme.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

#include <cstdlib>
#include <filesystem>

#include "core/adaptateurs_bibliotheques.h"
#include "core/association.h"
#include "core/cinetique.h"
#include "core/configuration.h"
#include "core/fichiers_donnees.h"
#include "core/window/fenetre_principale.h"
#include "core/window/filtres.h"
#include "dialogs/fenetre_balayage.h"
#include "dialogs/fenetre_burette.h"
#include "dialogs/fenetre_choix_app.h"
#include "dialogs/fenetre_choix_grandeur.h"
#include "dialogs/fenetre_choix_config.h"
#include "dialogs/fenetre_page.h"
#include "exchange/form_dde.h"
#include "dialogs/fenetre_cfg_app.h"
#include "instruments/base_appareils.h"
#include "platform/plateforme.h"
#include "util/textes.h"

#ifndef PELITRAX_VERSION
#define PELITRAX_VERSION "0"
#endif

namespace {
// The hourglass while a command that may take time runs, whatever way it ends.
class TSablierCommande {
public:
  TSablierCommande() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TSablierCommande() { QApplication::restoreOverrideCursor(); }
  TSablierCommande(const TSablierCommande&) = delete;
  TSablierCommande& operator=(const TSablierCommande&) = delete;
};
}  // namespace

TProgramme::TProgramme(TPlateforme& plateforme, TBaseAppareils& base, TTablePorts& table, TOptionsProgramme options)
    : plateforme_(plateforme), base_(base), options_(std::move(options)) {
  moteur_ = std::make_unique<TCinetiqueMain>(plateforme_, base_, table, options_.adaptateurs);
  TCinetiqueMain& M = *moteur_;
  // The Greek letters are typed in every window of the program.
  filtreMessage_ = std::make_unique<TFiltreMessage>(plateforme_.dialogue);
  qApp->installEventFilter(filtreMessage_.get());

  fenetre_ = std::make_unique<TFenetrePrincipale>(M);
  fenetre_->FormCreate();

  aPropos_ = new QMessageBox(QMessageBox::Information, "A propos ...",
                             QString::fromUtf8("Acquisition par appareils à sortie RS232\n\nPelitrax version ") +
                                 PELITRAX_VERSION,
                             QMessageBox::Ok, fenetre_.get());

  balayage_ = new TFenetreBalayage(M, fenetre_.get());
  balayage_->Modele().ReglageBurette = [this] { ReglageBurette(false); };
  balayage_->Modele().Aide = [this](int contexte) { Aide(contexte); };

  dde_ = std::make_unique<TFormDDE>(M, options_.cheminExecutable);
  dde_->PrendFocus = [this] {
    fenetre_->raise();
    fenetre_->activateWindow();
  };
  dde_->FormCreate();

  page_ = new TFenetrePage(M.Page, fenetre_.get());
  choixApp_ = new TFenetreChoixApp(M, options_.adaptateurs, fenetre_.get());
  if (options_.adaptateurs) {
    choixGrandeur_ = new TFenetreChoixGrandeur(M, *options_.adaptateurs, fenetre_.get());
    M.Dialogues.ChoixGrandeurUSB = [this](const TMetreUSB& metre, int voie) {
      return choixGrandeur_->Choisit(metre, voie);
    };
  }

  M.Dialogues.ModeAcquisition = [this] {
    return balayage_->exec() == QDialog::Accepted && balayage_->Modele().modification;
  };
  M.Dialogues.ChoixAppareils = [this] {
    return choixApp_->exec() == QDialog::Accepted && choixApp_->Modele().modification;
  };
  M.Dialogues.ReglageBurette = [this] { ReglageBurette(true); };
  if (options_.associationBureau) {
    M.Dialogues.EnregistreAssociation = [this] {
      TAssociation a;
      a.dossierDonnees = DossierDonneesUtilisateur([](const std::string& nom) -> std::optional<std::string> {
        const char* v = std::getenv(nom.c_str());
        return v ? std::optional<std::string>(v) : std::nullopt;
      });
      a.executable = options_.cheminExecutable;
      a.lance = LanceEtAttend;
      EnregistreAssociation(a);
    };
  }

  TCommandesFenetre& C = fenetre_->Commandes;
  C.SaveItemClick = [this] {
    TSablierCommande sablier;
    SaveItemClick(*moteur_, options_.cheminExecutable);
  };
  C.SauveconfigItemClick = [this] { SauveconfigItemClick(*moteur_); };
  C.ChargeconfigItemClick = [this] { ChargeconfigItemClick(*moteur_); };
  C.HelpIndexItemClick = [this] { Aide(0); };
  C.AboutItemClick = [this] { aPropos_->exec(); };
  C.TraSaveBtnClick = [this] { TraSaveBtnClick(); };
  C.CopyBtnClick = [this] { dde_->CopieDonnees(); };
  C.GroupBox1Click = [this](int voie) {
    if (!cfgApp_) {
      auto* bibliotheques = dynamic_cast<TAdaptateursBibliotheques*>(options_.adaptateurs);
      cfgApp_ = new TFenetreCfgApp(*moteur_, bibliotheques ? &bibliotheques->ListeUSB : nullptr, fenetre_.get());
      cfgApp_->Modele().Aide = [this](int contexte) { Aide(contexte); };
    }
    ::GroupBox1Click(*moteur_, cfgApp_->Modele(), voie, [this] { return cfgApp_->exec() == QDialog::Accepted; });
  };
  // The device list dialog, made for one showing with the acquisition stopped; the
  // acquisition is prepared again afterwards with the channels left.
  C.ConfigurationItemClick = [this] {
    TCinetiqueMain& moteur = *moteur_;
    moteur.SuspendAcq();
    moteur.TimerWTW1->SetActif(false);
    moteur.TimerWTW2->SetActif(false);
    {
      TFenetreChoixConfig dialogue(moteur, fenetre_.get());
      dialogue.Aide = [this](int contexte) { Aide(contexte); };
      dialogue.exec();
    }
    moteur.InitAttente();
  };
}

TProgramme::~TProgramme() {
  qApp->removeEventFilter(filtreMessage_.get());
  if (moteur_) moteur_->Dialogues = TDialoguesMoteur{};
  dde_.reset();
  fenetre_.reset();
}

void TProgramme::Montre() {
  fenetre_->show();
  if (const QScreen* ecran = QGuiApplication::primaryScreen()) {
    const QRect zone = ecran->availableGeometry();
    const QSize taille = fenetre_->frameGeometry().size().boundedTo(zone.size());
    fenetre_->move(zone.center() - QPoint(taille.width() / 2, taille.height() / 2));
  }
  fenetre_->activateWindow();
}

void TProgramme::Aide(int contexte) {
  const std::string& aide = base_.NomFichierAide();
  if (!std::filesystem::exists(aide)) return;
  // A dialog's topic is the guide's section whose anchor carries its number.
  QUrl adresse = QUrl::fromLocalFile(QString::fromStdString(aide));
  if (contexte > 0) adresse.setFragment("rubrique-" + QString::number(contexte));
  OuvreDocument(plateforme_.shell, plateforme_.dialogue, adresse.toString(QUrl::FullyEncoded).toStdString());
}

void TProgramme::ReglageBurette(bool suspend) {
  TCinetiqueMain& M = *moteur_;
  if (suspend) M.SuspendAcq();
  {
    TFenetreBurette dialogue(M, M.NbreVoies() > 0 ? M.Voie(0) : nullptr, fenetre_.get());
    dialogue.Modele().Aide = [this](int contexte) { Aide(contexte); };
    dialogue.exec();
  }
  if (suspend) {
    M.ReprendAcq();
    M.Reponse = true;
  }
}

void TProgramme::TraSaveBtnClick() {
  TCinetiqueMain& M = *moteur_;
  TPageDlg& modele = page_->Modele();
  modele.PrepareEnvoi();
  M.SuspendAcq();
  const bool ok = page_->exec() == QDialog::Accepted;
  M.ReprendAcq();
  M.Reponse = true;
  if (!ok) return;
  dde_->TransfereDonnees(modele.NewPageCB == TPageDlg::ItemNouvellePage);
  // The next transfer proposes a new page.
  modele.NewPageCB = TPageDlg::ItemNouvellePage;
}
