// The real program under an X server of its own (Xvfb): it starts with a
// configuration file opened from the desktop, shows its window, records from the
// bench pH meter after a press of the space bar, and is closed from outside the way a
// window manager closes a window. The question "Données non sauvées, quitter ?" is
// answered No (the program stays) and then Yes (it ends), through PELITRAX_REPONSES.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "banc/banc_pty.h"
#include "banc/catalogue.h"
#include "instruments/base_appareils.h"
#include "util/cp1252.h"

namespace {
QCoreApplication& Application() {
  static int argc = 1;
  static char nom[] = "test";
  static char* argv[] = {nom, nullptr};
  static QCoreApplication application(argc, argv);
  return application;
}

bool Attend(const std::function<bool()>& condition, int delaiMs) {
  QElapsedTimer h;
  h.start();
  while (!condition()) {
    if (h.elapsed() > delaiMs) return condition();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(20);
  }
  return true;
}

// An Xvfb of the test's own: it picks a free display and tells its number.
class TServeurX {
public:
  TServeurX() {
    processus_.setProgram("Xvfb");
    processus_.setArguments({"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    processus_.start();
    if (!processus_.waitForStarted(5000)) return;
    QByteArray sortie;
    Attend([&] {
      sortie += processus_.readAllStandardOutput();
      return sortie.contains('\n');
    }, 15000);
    bool ok = false;
    const int numero = sortie.trimmed().toInt(&ok);
    if (ok) affichage_ = ":" + std::to_string(numero);
  }
  ~TServeurX() {
    processus_.terminate();
    if (!processus_.waitForFinished(5000)) processus_.kill();
  }
  const std::string& Affichage() const { return affichage_; }

private:
  QProcess processus_;
  std::string affichage_;
};

// What the test does on the X server: find the program's window, type, close it.
class TClientX {
public:
  explicit TClientX(const std::string& affichage) : d_(XOpenDisplay(affichage.c_str())) {}
  ~TClientX() {
    if (d_) XCloseDisplay(d_);
  }
  bool Ouvert() const { return d_ != nullptr; }

  // The program's largest mapped top-level window, by its process number.
  std::optional<Window> FenetreDe(qint64 pid) {
    const Atom atomePid = XInternAtom(d_, "_NET_WM_PID", False);
    Window racine = 0, parent = 0, *enfants = nullptr;
    unsigned n = 0;
    std::optional<Window> trouvee;
    int aire = 0;
    if (!XQueryTree(d_, DefaultRootWindow(d_), &racine, &parent, &enfants, &n)) return std::nullopt;
    for (unsigned i = 0; i < n; ++i) {
      XWindowAttributes a;
      if (!XGetWindowAttributes(d_, enfants[i], &a) || a.map_state != IsViewable) continue;
      Atom type = 0;
      int format = 0;
      unsigned long nombre = 0, reste = 0;
      unsigned char* valeur = nullptr;
      if (XGetWindowProperty(d_, enfants[i], atomePid, 0, 1, False, XA_CARDINAL, &type, &format, &nombre, &reste,
                             &valeur) == Success && valeur && nombre == 1) {
        const unsigned long p = *reinterpret_cast<unsigned long*>(valeur);
        if (static_cast<qint64>(p) == pid && a.width * a.height > aire) {
          aire = a.width * a.height;
          trouvee = enfants[i];
        }
      }
      if (valeur) XFree(valeur);
    }
    if (enfants) XFree(enfants);
    return trouvee;
  }

  std::string Titre(Window w) {
    XTextProperty t;
    std::string titre;
    if (XGetWMName(d_, w, &t) && t.value) {
      titre.assign(reinterpret_cast<char*>(t.value), t.nitems);
      XFree(t.value);
    }
    return titre;
  }

  // A press of the space bar, delivered to the window as the server delivers keys.
  void Espace(Window w) {
    XSetInputFocus(d_, w, RevertToParent, CurrentTime);
    XKeyEvent e{};
    e.display = d_;
    e.window = w;
    e.root = DefaultRootWindow(d_);
    e.subwindow = None;
    e.time = CurrentTime;
    e.x = e.y = e.x_root = e.y_root = 1;
    e.same_screen = True;
    e.keycode = XKeysymToKeycode(d_, XK_space);
    e.type = KeyPress;
    XSendEvent(d_, w, True, KeyPressMask, reinterpret_cast<XEvent*>(&e));
    e.type = KeyRelease;
    XSendEvent(d_, w, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&e));
    XFlush(d_);
  }

  // The close request a window manager sends.
  void Ferme(Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d_, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d_, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d_, w, False, NoEventMask, &e);
    XFlush(d_);
  }

  QImage Image(Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d_, w, &a)) return {};
    XImage* x = XGetImage(d_, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    if (!x) return {};
    QImage image(a.width, a.height, QImage::Format_RGB32);
    for (int y = 0; y < a.height; ++y)
      for (int c = 0; c < a.width; ++c) image.setPixel(c, y, static_cast<QRgb>(XGetPixel(x, c, y)) | 0xFF000000u);
    XDestroyImage(x);
    return image;
  }

private:
  Display* d_;
};

int LignesDe(const std::filesystem::path& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  std::string ligne;
  int n = 0;
  while (std::getline(f, ligne)) ++n;
  return n;
}
}  // namespace

TEST(ProgrammeXvfb, FermetureAvecDonneesNonSauvees) {
  Application();
  const std::filesystem::path dossier = std::filesystem::current_path();
  std::filesystem::create_directories(dossier / "programme");
  std::filesystem::create_directories(dossier / "run");
  std::filesystem::permissions(dossier / "run", std::filesystem::perms::owner_all);

  TBancPty banc;
  const std::string ph = banc.Ajoute(CreeInstrument("pH-metre"));
  ASSERT_FALSE(ph.empty());
  banc.Demarre();

  // A configuration as the program saves it: the channel and its model's own section.
  const std::filesystem::path config = dossier / "essai.rs2";
  {
    const std::string base(FichierCapteurId());
    const std::string titre = Utf8VersCp1252("[Banc virtuel pH-mètre]");
    const auto debut = base.find(titre);
    ASSERT_NE(debut, std::string::npos);
    const auto fin = base.find("\r\n\r\n", debut);
    std::ofstream(config, std::ios::binary)
        << Utf8VersCp1252("[Acquisition]\r\nDeltat=1\r\nDuree=120\r\nNvoies=1\r\nMode=0\r\nNom0=Banc virtuel pH-mètre\r\nCOM0=3\r\n\r\n")
        << base.substr(debut, fin - debut) << "\r\n";
  }

  TServeurX serveur;
  ASSERT_FALSE(serveur.Affichage().empty()) << "Xvfb n'a pas démarré";
  TClientX x(serveur.Affichage());
  ASSERT_TRUE(x.Ouvert());

  QProcess programme;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", QString::fromStdString(serveur.Affichage()));
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("PELITRAX_PORTS", QString::fromStdString("COM3=" + ph));
  env.insert("PELITRAX_DOSSIER_PROGRAMME", QString::fromStdString((dossier / "programme").string()));
  env.insert("PELITRAX_REPONSES", "non;oui");
  // A runtime folder of its own: the single-instance lock and the link's socket.
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString((dossier / "run").string()));
  programme.setProcessEnvironment(env);
  programme.setWorkingDirectory(QString::fromStdString(dossier.string()));
  programme.setProcessChannelMode(QProcess::MergedChannels);
  programme.start(PELITRAX_PROGRAMME, {QString::fromStdString(config.string())});
  ASSERT_TRUE(programme.waitForStarted(5000));
  QByteArray sortie;
  auto lit = [&] { sortie += programme.readAll(); };

  std::optional<Window> fenetre;
  ASSERT_TRUE(Attend([&] {
    lit();
    fenetre = x.FenetreDe(programme.processId());
    return fenetre.has_value() || programme.state() == QProcess::NotRunning;
  }, 30000)) << "pas de fenêtre ; sortie : " << sortie.toStdString();
  ASSERT_TRUE(fenetre) << sortie.toStdString();

  // The space bar starts the time base of the loaded configuration; the running text
  // copy shows the points recorded (its three heading lines, then one per point).
  const auto copie = dossier / "programme" / "RS232.txt";
  bool enregistre = false;
  for (int essai = 0; essai < 10 && !enregistre; ++essai) {
    x.Espace(*fenetre);
    enregistre = Attend([&] {
      lit();
      return LignesDe(copie) >= 6;
    }, 2500);
  }
  const QImage image = x.Image(*fenetre);
  const std::filesystem::path artefacts = PELITRAX_ARTEFACTS_DIR;
  std::filesystem::create_directories(artefacts);
  EXPECT_TRUE(image.save(QString::fromStdString((artefacts / "programme_xvfb.png").string())));
  std::cout << "Capture : " << (artefacts / "programme_xvfb.png").string() << "\n";
  ASSERT_TRUE(enregistre) << "aucun point enregistré ; sortie : " << sortie.toStdString();

  // Closed, answered No: the program goes on with its window.
  x.Ferme(*fenetre);
  const QByteArray non = QString::fromUtf8("Question : Données non sauvées, quitter ? -> non").toUtf8();
  ASSERT_TRUE(Attend([&] {
    lit();
    return sortie.contains(non);
  }, 10000)) << sortie.toStdString();
  QThread::msleep(1000);
  lit();
  EXPECT_EQ(programme.state(), QProcess::Running);
  EXPECT_TRUE(x.FenetreDe(programme.processId()));
  const int points = LignesDe(copie);

  // Closed again, answered Yes: the program ends.
  x.Ferme(*fenetre);
  ASSERT_TRUE(programme.waitForFinished(20000)) << sortie.toStdString();
  lit();
  EXPECT_TRUE(sortie.contains(QString::fromUtf8("Question : Données non sauvées, quitter ? -> oui").toUtf8()))
      << sortie.toStdString();
  EXPECT_EQ(programme.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(programme.exitCode(), 0);
  EXPECT_GE(points, 6);
  banc.Arrete();
}
