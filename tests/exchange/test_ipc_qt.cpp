// The local-socket link: names, answers, a server in the same process reached while
// the loop runs, and a server that holds against clients sending anything at all.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "exchange/attente_qt.h"
#include "exchange/dossier_court.h"
#include "platform/qt/boucle_qt.h"
#include "platform/qt/liaison/ipc_qt.h"

namespace fs = std::filesystem;
using R = TLiaisonIPC::TResultat;

namespace {
class LiaisonIPCQt : public ::testing::Test {
protected:
  LiaisonIPCQt() { AssureApplicationQt(); }

  bool AttendQue(const std::function<bool()>& fait, int ms = 5000) { return ::AttendQue(boucle, fait, ms); }

  // A raw client: sends `octets`, then reads the answer (empty when none came).
  std::string Brut(const std::string& service, const QByteArray& octets, bool fermeApres = false, int ms = 3000) {
    QLocalSocket s;
    s.connectToServer(QString::fromStdString(ipc.CheminServeur(service, "ServeurDDE")));
    if (!AttendQue([&] { return s.state() == QLocalSocket::ConnectedState; }, 2000)) return "pas de connexion";
    s.write(octets);
    s.flush();
    if (fermeApres) {
      AttendQue([&] { return s.bytesToWrite() == 0; }, 1000);
      s.disconnectFromServer();
      return {};
    }
    AttendQue([&] { return s.bytesAvailable() > 0 || s.state() != QLocalSocket::ConnectedState; }, ms);
    return s.readAll().toStdString();
  }

  // A folder of this test's own: the sockets of other tests never meet these.
  TDossierCourt court;
  const fs::path dossier = court.Chemin();
  TBoucleQt boucle;
  TLiaisonIPCQt ipc{boucle, dossier.string()};
};
}  // namespace

TEST(LiaisonIPCQtNoms, NomDuSocket) {
  const std::tuple<const char*, const char*, const char*> cas[] = {
      {"TRACORIA", "ServeurDDE", "pelitrax-ipc-tracoria-serveurdde"},
      {"Tracoria", "ServeurDDE", "pelitrax-ipc-tracoria-serveurdde"},
      {"Pelitrax", "ServeurDDE", "pelitrax-ipc-pelitrax-serveurdde"},
      {"a-b", "c", "pelitrax-ipc-a%2Db-c"},  // never the same as "a" and "b-c"
      {"a", "b-c", "pelitrax-ipc-a-b%2Dc"},
      {"../x", "S", "pelitrax-ipc-..%2Fx-s"},
      {"élève", "S", "pelitrax-ipc-%C3%A9l%C3%A8ve-s"},
  };
  for (const auto& [service, sujet, nom] : cas) EXPECT_EQ(TLiaisonIPCQt::NomServeur(service, sujet), nom) << service;
}

TEST(LiaisonIPCQtNoms, DossierDesSockets) {
  AssureApplicationQt();
  TBoucleQt boucle;
  const QByteArray xdg = qgetenv("XDG_RUNTIME_DIR"), tmp = qgetenv("TMPDIR");
  qputenv("XDG_RUNTIME_DIR", "/run/user/test");
  qputenv("TMPDIR", "/var/tmp/test");
  EXPECT_EQ(TLiaisonIPCQt(boucle).Dossier(), "/run/user/test");
  EXPECT_EQ(TLiaisonIPCQt(boucle, "/ici/").Dossier(), "/ici");
  qunsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(TLiaisonIPCQt(boucle).Dossier(), "/var/tmp/test");
  qunsetenv("TMPDIR");
  EXPECT_EQ(TLiaisonIPCQt(boucle).Dossier(), "/tmp");
  EXPECT_EQ(TLiaisonIPCQt(boucle).CheminServeur("TRACORIA", "ServeurDDE"), "/tmp/pelitrax-ipc-tracoria-serveurdde");
  if (!xdg.isNull()) qputenv("XDG_RUNTIME_DIR", xdg);
  if (!tmp.isNull()) qputenv("TMPDIR", tmp);
}

TEST_F(LiaisonIPCQt, ServeurDansLeMemeProgramme) {
  std::vector<std::string> recues;
  ASSERT_TRUE(ipc.Ecoute("Tracoria", "ServeurDDE", [&](const std::string& c) {
    recues.push_back(c);
    return c != "NON";
  }));
  const fs::path socket = dossier / "pelitrax-ipc-tracoria-serveurdde";
  ASSERT_TRUE(fs::is_socket(socket));
  // Another user of the machine cannot send it commands.
  EXPECT_EQ(fs::status(socket).permissions() & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
  // The client waits through the loop, so a server on this same loop answers it.
  EXPECT_EQ(ipc.Execute("TRACORIA", "ServeurDDE", "ServeurItem", "CLIP|LOAD", 5000), R::Accepte);
  EXPECT_EQ(ipc.Execute("Tracoria", "ServeurDDE", "ServeurItem", "NON", 5000), R::Refuse);
  EXPECT_EQ(ipc.Execute("Tracoria", "AutreSujet", "ServeurItem", "x", 5000), R::PasDeServeur);
  // Bytes arrive as they were sent, up to the zero byte.
  const std::string octets = "FILE|LOAD(/home/élève/a\tb.rs2)\r\n\x01\xFF";
  EXPECT_EQ(ipc.Execute("TRACORIA", "ServeurDDE", "", octets, 5000), R::Accepte);
  EXPECT_EQ(ipc.Execute("TRACORIA", "ServeurDDE", "", std::string("FOCUS\0reste", 11), 5000), R::Accepte);
  EXPECT_EQ(recues, (std::vector<std::string>{"CLIP|LOAD", "NON", octets, "FOCUS"}));
  ipc.ArreteEcoute();
  EXPECT_FALSE(fs::exists(socket));
  EXPECT_EQ(ipc.Execute("TRACORIA", "ServeurDDE", "", "x", 2000), R::PasDeServeur);
}

TEST_F(LiaisonIPCQt, DossierLongNomAbrege) {
  const fs::path long_ = dossier / std::string(50, 'd');
  fs::create_directories(long_);
  TLiaisonIPCQt serveur(boucle, long_.string()), client(boucle, long_.string());
  const std::string chemin = client.CheminServeur("TRACORIA", "ServeurDDE");
  EXPECT_LE(chemin.size(), TLiaisonIPCQt::LongueurMaxiChemin);
  EXPECT_EQ(chemin.rfind(long_.string() + "/pelitrax-ipc-", 0), 0u) << chemin;
  EXPECT_NE(chemin, client.CheminServeur("TRACORIA", "AutreSujet"));
  ASSERT_TRUE(serveur.Ecoute("Tracoria", "ServeurDDE", [](const std::string&) { return true; }));
  EXPECT_EQ(client.Execute("TRACORIA", "ServeurDDE", "", "x", 2000), R::Accepte);
  // Beyond what even a digest fits in, the link says so instead of truncating.
  const fs::path tropLong = dossier / std::string(100, 'e');
  fs::create_directories(tropLong);
  TLiaisonIPCQt perdu(boucle, tropLong.string());
  EXPECT_FALSE(perdu.Ecoute("Tracoria", "ServeurDDE", [](const std::string&) { return true; }));
  EXPECT_EQ(perdu.Execute("Tracoria", "ServeurDDE", "", "x", 500), R::PasDeServeur);
}

TEST_F(LiaisonIPCQt, NomTenuParUnServeurVivant) {
  TLiaisonIPCQt autre(boucle, dossier.string());
  ASSERT_TRUE(ipc.Ecoute("Pelitrax", "ServeurDDE", [](const std::string&) { return true; }));
  EXPECT_FALSE(autre.Ecoute("PELITRAX", "ServeurDDE", [](const std::string&) { return false; }));
  EXPECT_EQ(autre.Execute("Pelitrax", "ServeurDDE", "", "x", 2000), R::Accepte);  // still the first one
  ipc.ArreteEcoute();
  EXPECT_TRUE(autre.Ecoute("PELITRAX", "ServeurDDE", [](const std::string&) { return false; }));
  EXPECT_EQ(ipc.Execute("Pelitrax", "ServeurDDE", "", "x", 2000), R::Refuse);
  // A server that stops leaves alone the socket file another one has put in its place.
  {
    TLiaisonIPCQt premier(boucle, dossier.string());
    ASSERT_TRUE(premier.Ecoute("Pelitrax", "Autre", [](const std::string&) { return true; }));
    const std::string chemin = premier.CheminServeur("Pelitrax", "Autre");
    fs::remove(chemin);
    TLiaisonIPCQt second(boucle, dossier.string());
    ASSERT_TRUE(second.Ecoute("Pelitrax", "Autre", [](const std::string&) { return false; }));
    premier.ArreteEcoute();
    EXPECT_EQ(ipc.Execute("Pelitrax", "Autre", "", "x", 2000), R::Refuse);  // still the second one
  }
}

TEST_F(LiaisonIPCQt, SocketAbandonneRepris) {
  // What a program that died leaves: a socket file nobody listens on.
  {
    const std::string chemin = ipc.CheminServeur("Pelitrax", "ServeurDDE");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    std::strncpy(adresse.sun_path, chemin.c_str(), sizeof(adresse.sun_path) - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof(adresse)), 0);
    ::close(fd);
    ASSERT_TRUE(fs::is_socket(chemin));
  }
  std::ofstream((dossier / "pelitrax-ipc-tracoria-serveurdde").string()) << "pas un socket";
  TLiaisonIPCQt a(boucle, dossier.string()), b(boucle, dossier.string());
  EXPECT_TRUE(a.Ecoute("Pelitrax", "ServeurDDE", [](const std::string&) { return true; }));
  EXPECT_TRUE(b.Ecoute("Tracoria", "ServeurDDE", [](const std::string&) { return true; }));
  EXPECT_EQ(ipc.Execute("Tracoria", "ServeurDDE", "", "x", 2000), R::Accepte);
  EXPECT_EQ(ipc.Execute("Pelitrax", "ServeurDDE", "", "x", 2000), R::Accepte);
}

TEST_F(LiaisonIPCQt, ClientsQuiEnvoientNImporteQuoi) {
  std::vector<std::string> recues;
  ASSERT_TRUE(ipc.Ecoute("Pelitrax", "ServeurDDE", [&](const std::string& c) {
    recues.push_back(c);
    return true;
  }));
  // Past the bound without a zero byte: refused unread.
  const QByteArray enorme(static_cast<qsizetype>(TLiaisonIPCQt::TailleMaxiMessage) + 10, 'x');
  EXPECT_EQ(Brut("Pelitrax", enorme), "0");
  // A zero byte past the bound does not save it.
  QByteArray long_(static_cast<qsizetype>(TLiaisonIPCQt::TailleMaxiMessage) + 1, 'y');
  long_.append('\0');
  EXPECT_EQ(Brut("Pelitrax", long_), "0");
  // Unterminated, then the client leaves: nothing is carried out.
  EXPECT_EQ(Brut("Pelitrax", QByteArray("GETDATA"), true), "");
  // Binary bytes are handed on as they are (the handler judges them); what follows
  // the zero byte is ignored and the command runs once.
  EXPECT_EQ(Brut("Pelitrax", QByteArray("\x01\x02\xFF\0GETDATA\0", 13)), "1");
  // A message in several pieces is one command.
  {
    QLocalSocket s;
    s.connectToServer(QString::fromStdString(ipc.CheminServeur("Pelitrax", "ServeurDDE")));
    ASSERT_TRUE(AttendQue([&] { return s.state() == QLocalSocket::ConnectedState; }));
    s.write("FI");
    s.flush();
    boucle.TraiteEvenements(50);
    s.write(QByteArray("LE|LOAD(x)\0", 11));
    s.flush();
    ASSERT_TRUE(AttendQue([&] { return s.bytesAvailable() > 0; }));
    EXPECT_EQ(s.readAll(), "1");
  }
  EXPECT_EQ(recues, (std::vector<std::string>{"\x01\x02\xFF", "FILE|LOAD(x)"}));
  // And it still serves ordinary clients.
  EXPECT_EQ(ipc.Execute("Pelitrax", "ServeurDDE", "", "FOCUS", 2000), R::Accepte);
}

TEST_F(LiaisonIPCQt, ClientMuetNeBloquePasLesAutres) {
  ASSERT_TRUE(ipc.Ecoute("Pelitrax", "ServeurDDE", [](const std::string&) { return true; }));
  QLocalSocket muet;
  muet.connectToServer(QString::fromStdString(ipc.CheminServeur("Pelitrax", "ServeurDDE")));
  ASSERT_TRUE(AttendQue([&] { return muet.state() == QLocalSocket::ConnectedState; }));
  muet.write("GET");
  muet.flush();
  EXPECT_EQ(ipc.Execute("Pelitrax", "ServeurDDE", "", "FOCUS", 2000), R::Accepte);
}

TEST_F(LiaisonIPCQt, CommandesUneALaFois) {
  // A handler that opens a box runs a nested loop; a second command arriving then
  // waits for the first to be answered.
  std::vector<std::string> trace;
  int enCours = 0, maxi = 0;
  ASSERT_TRUE(ipc.Ecoute("Pelitrax", "ServeurDDE", [&](const std::string& c) {
    ++enCours;
    maxi = std::max(maxi, enCours);
    trace.push_back("debut " + c);
    if (c == "premier") {
      const auto fin = boucle.Millisecondes() + 300;
      while (boucle.Millisecondes() < fin) boucle.TraiteEvenements(20);
    }
    trace.push_back("fin " + c);
    --enCours;
    return true;
  }));
  QLocalSocket a, b;
  for (QLocalSocket* s : {&a, &b}) {
    s->connectToServer(QString::fromStdString(ipc.CheminServeur("Pelitrax", "ServeurDDE")));
    ASSERT_TRUE(AttendQue([&] { return s->state() == QLocalSocket::ConnectedState; }));
  }
  a.write(QByteArray("premier\0", 8));
  a.flush();
  QTimer::singleShot(100, [&] {
    b.write(QByteArray("second\0", 7));
    b.flush();
  });
  ASSERT_TRUE(AttendQue([&] { return a.bytesAvailable() > 0 && b.bytesAvailable() > 0; }));
  EXPECT_EQ(maxi, 1);
  EXPECT_EQ(trace, (std::vector<std::string>{"debut premier", "fin premier", "debut second", "fin second"}));
}

// While a command runs (its handler in a nested loop), a client that leaves takes
// its waiting command with it, the queue does not grow without bound (a client past
// it is refused at once), and a command longer than the one bound of the link is
// refused by the socket itself.
TEST_F(LiaisonIPCQt, FileBorneeEtOublieeAvecSonClient) {
  std::vector<std::string> recues;
  const QString chemin = QString::fromStdString(ipc.CheminServeur("Pelitrax", "ServeurDDE"));
  std::vector<std::unique_ptr<QLocalSocket>> foule;
  int refusesTot = -1;
  // What other clients do while the first command runs in its nested loop.
  auto pendant = [&] {
    // Sent, then gone before its turn.
    EXPECT_EQ(Brut("Pelitrax", QByteArray("parti\0", 6), true), "");
    // Many clients at once: those past the queue's bound hear "0" without waiting.
    for (std::size_t i = 0; i < TLiaisonIPCQt::FileMaxi + 8; ++i) {
      auto s = std::make_unique<QLocalSocket>();
      s->connectToServer(chemin);
      ASSERT_TRUE(AttendQue([&] { return s->state() == QLocalSocket::ConnectedState; }));
      s->write(QByteArray("foule\0", 6));
      s->flush();
      foule.push_back(std::move(s));
    }
    AttendQue([&] {
      refusesTot = 0;
      for (const auto& s : foule) refusesTot += s->bytesAvailable() > 0 && s->peek(1) == "0";
      return refusesTot >= 8;
    }, 1000);
    boucle.TraiteEvenements(50);
  };
  ASSERT_TRUE(ipc.Ecoute("Pelitrax", "ServeurDDE", [&](const std::string& c) {
    recues.push_back(c);
    if (c == "long") pendant();
    return true;
  }));
  QLocalSocket premier;
  premier.connectToServer(chemin);
  ASSERT_TRUE(AttendQue([&] { return premier.state() == QLocalSocket::ConnectedState; }));
  premier.write(QByteArray("long\0", 5));
  premier.flush();
  ASSERT_TRUE(AttendQue([&] { return premier.bytesAvailable() > 0; }));
  EXPECT_EQ(refusesTot, 8);
  ASSERT_TRUE(AttendQue([&] { return recues.size() >= 1 + TLiaisonIPCQt::FileMaxi; }));
  boucle.TraiteEvenements(50);
  EXPECT_EQ(recues.size(), 1 + TLiaisonIPCQt::FileMaxi);
  EXPECT_EQ(std::count(recues.begin(), recues.end(), "parti"), 0);
  // One bound on a command's size, the same as the command reader's.
  QByteArray trop(static_cast<qsizetype>(TailleMaxiCommandeIPC) + 1, 'z');
  trop.append('\0');
  EXPECT_EQ(Brut("Pelitrax", trop), "0");
  EXPECT_EQ(recues.size(), 1 + TLiaisonIPCQt::FileMaxi);
}

TEST_F(LiaisonIPCQt, ServeurSansReponse) {
  // A server that takes the command and never answers: the client gives up after its
  // wait, and the loop kept running meanwhile.
  QLocalServer sourd;
  ASSERT_TRUE(sourd.listen(QString::fromStdString(ipc.CheminServeur("Sourd", "ServeurDDE"))));
  int tics = 0;
  QTimer minuterie;
  QObject::connect(&minuterie, &QTimer::timeout, [&] { ++tics; });
  minuterie.start(20);
  const auto debut = boucle.Millisecondes();
  EXPECT_EQ(ipc.Execute("Sourd", "ServeurDDE", "", "CLIP|LOAD", 300), R::Refuse);
  const auto duree = boucle.Millisecondes() - debut;
  EXPECT_GE(duree, 290);
  EXPECT_LT(duree, 3000);
  EXPECT_GE(tics, 3);
}
