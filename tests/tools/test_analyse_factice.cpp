// The stand-in analysis program run as a user runs it, and the exchange of this
// program (its link code on the Qt platform) with it over the real local sockets: a
// table sent, then an acquisition asked for by the stand-in and sent back at its end.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "analyse-factice/journal_factice.h"
#include "commun/attente.h"
#include "core/cinetique.h"
#include "exchange/dossier_court.h"
#include "exchange/form_dde.h"
#include "exchange/texte_donnees.h"
#include "instruments/base_appareils.h"
#include "links/table_ports.h"
#include "platform/qt/graphique/plateforme_qt.h"
#include "util/fichiers.h"
#include "util/regional_courant.h"

namespace fs = std::filesystem;

namespace {
// The one application of the program, with its windowing side: offscreen unless a
// test chose another platform before the first call.
void AssureApplication() {
  static int argc = 1;
  static char nom[] = "test";
  static char* argv[] = {nom, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(argc, argv);
}

// A virtual X display, when the machine has one to run: a desktop whose clipboard
// every program shares, as a user's has.
class TEcranVirtuel {
public:
  TEcranVirtuel() {
    const char* const programme = "/usr/bin/Xvfb";
    if (::access(programme, X_OK) != 0) return;
    int tube[2];
    if (::pipe(tube) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      // Dies with this test even when it crashes, and never holds its output open.
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      const int nul = ::open("/dev/null", O_RDWR);
      ::dup2(nul, 0);
      ::dup2(nul, 1);
      ::dup2(nul, 2);
      ::close(tube[0]);
      const std::string fd = std::to_string(tube[1]);
      ::execl(programme, "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "640x480x24",
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(tube[1]);
    // Xvfb writes its display number once it accepts clients.
    std::string numero;
    pollfd attente{tube[0], POLLIN, 0};
    while (pid_ > 0 && ::poll(&attente, 1, 10000) > 0) {
      char c = 0;
      if (::read(tube[0], &c, 1) != 1 || c == '\n') break;
      numero += c;
    }
    ::close(tube[0]);
    if (!numero.empty()) affichage_ = ":" + numero;
  }
  ~TEcranVirtuel() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  TEcranVirtuel(const TEcranVirtuel&) = delete;
  TEcranVirtuel& operator=(const TEcranVirtuel&) = delete;
  // ":N", or empty when there is no display.
  const std::string& Affichage() const { return affichage_; }

private:
  pid_t pid_ = -1;
  std::string affichage_;
};

// Offscreen, each program has a clipboard of its own: the exchange goes through a file
// that the stand-in reads with --presse-papiers, as it would read the desktop's.
class TPressePapiersFichier final : public TPressePapiers {
public:
  explicit TPressePapiersFichier(std::string chemin) : chemin_(std::move(chemin)) {}
  void SetTexte(const std::string& texte) override { EcritFichierSur(chemin_, texte); }
  std::string Texte() const override { return LitFichier(chemin_).value_or(std::string()); }

private:
  std::string chemin_;
};

class AnalyseFactice : public ::testing::Test {
protected:
  AnalyseFactice() {
    // Sockets and locks in a short folder of this test's own (XDG_RUNTIME_DIR), which
    // the programs started from here inherit.
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.Chemin()));
  }
  ~AnalyseFactice() override {
    for (auto& p : processus)
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(2000);
      }
  }

  QProcess& Lance(const QStringList& arguments) {
    processus.push_back(std::make_unique<QProcess>());
    QProcess& p = *processus.back();
    p.start(PELITRAX_ANALYSE_FACTICE, arguments);
    EXPECT_TRUE(p.waitForStarted(5000));
    return p;
  }
  // The server started and ready (it says "prêt" once it listens).
  QProcess& LanceServeur(const QStringList& arguments) {
    QProcess& p = Lance(arguments);
    QByteArray sortie;
    while (!sortie.contains('\n') && p.waitForReadyRead(5000)) sortie += p.readAllStandardOutput();
    EXPECT_TRUE(sortie.startsWith("prêt ")) << sortie.toStdString();
    return p;
  }
  // Waits for the end of a program while this loop runs (it may be talking to us).
  int AttendFin(QProcess& p, TBoucleEvenements& boucle, int ms = 15000) {
    const auto fin = boucle.Millisecondes() + ms;
    while (p.state() != QProcess::NotRunning && boucle.Millisecondes() < fin) boucle.TraiteEvenements(20);
    p.waitForFinished(100);
    return p.state() == QProcess::NotRunning && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }
  std::vector<TEntreeJournal> Journal() const {
    auto contenu = LitFichier(journal);
    if (!contenu) return {};
    auto entrees = LitJournal(*contenu);
    EXPECT_TRUE(entrees.has_value()) << *contenu;
    return entrees.value_or(std::vector<TEntreeJournal>{});
  }

  void EchangeComplet(TPressePapiers* remplacant, const QStringList& optionsServeur);

  TDossierCourt runtime;
  const std::string journal = (fs::current_path() / "journal.txt").string();
  const std::string presse = (fs::current_path() / "presse-papiers.txt").string();
  std::vector<std::unique_ptr<QProcess>> processus;
};
}  // namespace

TEST_F(AnalyseFactice, EnvoiSansServeurEtUsage) {
  AssureApplication();
  QProcess& envoi = Lance({"--envoie", "GETDATA", "--delai", "500"});
  ASSERT_TRUE(envoi.waitForFinished(10000));
  EXPECT_EQ(envoi.exitCode(), 2);
  EXPECT_EQ(envoi.readAllStandardOutput().toStdString(), "pas de serveur Pelitrax\n");
  QProcess& mauvais = Lance({"--inconnue"});
  ASSERT_TRUE(mauvais.waitForFinished(10000));
  EXPECT_EQ(mauvais.exitCode(), 3);
}

TEST_F(AnalyseFactice, UnSeulExemplaireEtCommandesNotees) {
  AssureApplication();
  QProcess& serveur = LanceServeur({"--journal", QString::fromStdString(journal), "--presse-papiers",
                                    QString::fromStdString(presse)});
  ASSERT_TRUE(EcritFichierSur(presse, "a\tb\r\n1\t2\r\n"));
  // A second copy finds the lock taken.
  QProcess& second = Lance({"--presse-papiers", QString::fromStdString(presse)});
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 4);
  // Commands sent by a client as this program sends them; the service name ignores case.
  const std::pair<const char*, int> envois[] = {{"CLIP|ADD", 0}, {"focus", 0}, {"GETDATA", 1}};
  for (const auto& [commande, code] : envois) {
    QProcess& e = Lance({"--envoie", commande, "--service", "Tracoria"});
    ASSERT_TRUE(e.waitForFinished(10000));
    EXPECT_EQ(e.exitCode(), code) << commande;
  }
  const auto j = Journal();
  ASSERT_EQ(j.size(), 4u);
  EXPECT_EQ(j[0].genre, "commande");
  EXPECT_EQ(j[0].texte, "CLIP|ADD");
  EXPECT_EQ(j[1].genre, "presse-papiers");
  EXPECT_EQ(j[1].texte, "a\tb\r\n1\t2\r\n");
  EXPECT_EQ(j[2].texte, "focus");
  EXPECT_EQ(j[3].texte, "GETDATA");
  // Stopped by a signal, it ends cleanly and frees the name.
  serveur.terminate();
  ASSERT_TRUE(serveur.waitForFinished(5000));
  EXPECT_EQ(serveur.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(serveur.exitCode(), 0);
  QProcess& apres = Lance({"--envoie", "FOCUS", "--service", "TRACORIA", "--delai", "500"});
  ASSERT_TRUE(apres.waitForFinished(10000));
  EXPECT_EQ(apres.exitCode(), 2);
}

// The whole exchange: this program's link code on the Qt platform (with the given
// clipboard, or the platform's own), the stand-in started with `optionsServeur`.
void AnalyseFactice::EchangeComplet(TPressePapiers* remplacant, const QStringList& optionsServeur) {
  TPlateformeQt q;
  TPlateforme plateforme{q.boucle, q.dialogue, q.reglages, q.regional, q.shell,
                         remplacant ? *remplacant : static_cast<TPressePapiers&>(q.pressePapiers),
                         q.verrous, q.bibliotheques, &q.serie, &q.ipc};
  InstalleRegional(&q.regional);
  fs::create_directories("programme");
  TBaseAppareils base(q.boucle, (fs::current_path() / "programme").string());
  std::string message;
  ASSERT_TRUE(base.ChargeAppareils(message)) << message;
  // No serial device at all: the table is exactly an empty list.
  TTablePorts table(q.serie, &q.reglages, [](const std::string&) { return std::optional<std::string>(""); });
  // The instruments outlive the engine, which lets go of them when it goes.
  Tappareil ph, temp;
  TCinetiqueMain moteur(plateforme, base, table);
  moteur.FormCreate();
  const std::string cheminProgramme = (fs::current_path() / "Pelitrax").string();
  TFormDDE dde(moteur, cheminProgramme);
  ASSERT_TRUE(dde.FormCreate());

  QProcess& tracoria = LanceServeur(QStringList{"--journal", QString::fromStdString(journal)} + optionsServeur);

  // Two channels, pH and T, three points.
  ph.SymboleGrandeur = "pH";
  ph.UniteGrandeur = "";
  ph.nomGrandeur = "pH";
  temp.SymboleGrandeur = "T";
  temp.UniteGrandeur = "°C";
  temp.nomGrandeur = "Température";
  moteur.SetNbreVoies(2);
  moteur.AppareilAcq[0] = &ph;
  moteur.AppareilAcq[1] = &temp;
  Tmonde& X = moteur.Graphe->mondeX;
  X.Nom = "t";
  X.Unite = "s";
  X.Signif = "temps";
  for (std::size_t k = 0; k < 3; ++k) {
    X.valeur[k] = static_cast<double>(k);
    moteur.Graphe->mondeY[0].valeur[k] = 7 + 0.1 * static_cast<double>(k);
    moteur.Graphe->mondeY[1].valeur[k] = 25;
  }
  moteur.Graphe->NbrePoints = 3;
  moteur.dataSaved = false;

  // 1. The table, sent as a new document.
  const std::string premier = TexteDonnees(moteur, cheminProgramme);
  ASSERT_TRUE(dde.TransfereDonnees(true));
  EXPECT_TRUE(moteur.dataSaved);
  auto j = Journal();
  ASSERT_EQ(j.size(), 2u);
  EXPECT_EQ(j[0].texte, "CLIP|LOAD");
  EXPECT_EQ(j[1].texte, premier);
  EXPECT_NE(premier.find("\r\n\r\nt\tpH\tT\r\ns\t\t°C\r\n"), std::string::npos) << premier;

  // 2. The stand-in asks for data; this program serves it while it waits.
  moteur.ModeAcq = maIncrement;
  QProcess& demande = Lance({"--envoie", "GETDATA", "--service", "Pelitrax"});
  EXPECT_EQ(AttendFin(demande, q.boucle), 0);
  ASSERT_TRUE(AttendQue(q.boucle, [&] { return moteur.AppelTracoria; }, 10000));
  EXPECT_EQ(moteur.EtatAcq, eaIncrement);
  EXPECT_EQ(moteur.Graphe->NbrePoints, 0);
  EXPECT_TRUE(moteur.PagePermise);

  // 3. The acquisition ends by itself when its table is full; its end sends it back.
  for (std::size_t k = 0; k + 1 < MaxPoints; ++k) {
    moteur.Graphe->mondeY[0].valeur[k] = 4 + static_cast<double>(k % 100) / 10;
    moteur.Graphe->mondeY[1].valeur[k] = 20 + static_cast<double>(k % 7);
  }
  moteur.Graphe->NbrePoints = MaxPoints - 1;
  ph.ValeurCourante = 9.5;
  temp.ValeurCourante = 21.5;
  moteur.AjoutePoint();
  EXPECT_EQ(moteur.EtatAcq, eaTerminee);
  EXPECT_FALSE(moteur.AppelTracoria);
  EXPECT_TRUE(moteur.dataSaved);
  j = Journal();
  ASSERT_EQ(j.size(), 4u);
  EXPECT_EQ(j[2].texte, "CLIP|LOAD");
  EXPECT_EQ(j[3].texte, TexteDonnees(moteur, cheminProgramme));
  EXPECT_NE(j[3].texte.find("\r\n2047\t9.5\t21.5\r\n"), std::string::npos);
  EXPECT_EQ(moteur.Vue().Sablier(), false);

  tracoria.terminate();
  EXPECT_TRUE(tracoria.waitForFinished(5000));
  // Gone: the next transfer cannot reach it, and the data stay unsaved.
  moteur.dataSaved = false;
  EXPECT_FALSE(dde.TransfereDonnees(false));
  EXPECT_FALSE(moteur.dataSaved);
  InstalleRegional(nullptr);
}

TEST_F(AnalyseFactice, TableauEnvoyePuisAcquisitionDemandeeEtRenvoyee) {
  AssureApplication();
  // Offscreen, each program has a clipboard of its own: the two share a file instead.
  TPressePapiersFichier pressePapiers(presse);
  EchangeComplet(&pressePapiers, {"--presse-papiers", QString::fromStdString(presse)});
}

TEST_F(AnalyseFactice, PressePapiersDuBureau) {
  TEcranVirtuel ecran;
  if (ecran.Affichage().empty()) GTEST_SKIP() << "pas de serveur X virtuel (Xvfb)";
  if (QCoreApplication::instance()) GTEST_SKIP() << "application déjà créée sans bureau";
  qputenv("DISPLAY", QByteArray::fromStdString(ecran.Affichage()));
  qputenv("QT_QPA_PLATFORM", "xcb");
  // Its own application, gone before the display is.
  int argc = 1;
  char nom[] = "test";
  char* argv[] = {nom, nullptr};
  QGuiApplication application(argc, argv);
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  // The platform's own clipboard: the stand-in asks this program for the text while
  // the transfer waits for its answer, so the wait must keep the loop running.
  EchangeComplet(nullptr, {});
}
