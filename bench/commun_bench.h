// What every benchmark program shares: a scratch folder that stands in for the home
// and the configuration folders (no benchmark touches the user's files), the
// monotonic clock in microseconds, quantiles, the build's other programs, and child
// programs started and waited for with their duration and peak memory.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "util/cp1252.h"
#include "util/fichiers.h"

extern char** environ;

namespace bench {

// The scratch folder given by scripts/bench (PELITRAX_BENCH_SCRATCH), or a fresh one
// under the system's temporary folder; the program moves into it, and HOME and the
// configuration folders point there before any Qt object reads them.
inline std::filesystem::path PrepareDossier(const std::string& nom) {
  namespace fs = std::filesystem;
  fs::path dossier;
  if (const char* donne = std::getenv("PELITRAX_BENCH_SCRATCH"); donne && *donne)
    dossier = donne;
  else
    dossier = fs::temp_directory_path() / ("pelitrax-bench-" + nom + "-" + std::to_string(::getpid()));
  fs::create_directories(dossier / "config");
  fs::create_directories(dossier / "data");
  dossier = fs::canonical(dossier);
  fs::current_path(dossier);
  ::setenv("HOME", dossier.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (dossier / "config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (dossier / "data").c_str(), 1);
  fs::create_directories(dossier / "runtime");
  fs::permissions(dossier / "runtime", fs::perms::owner_all, fs::perm_options::replace);
  ::setenv("XDG_RUNTIME_DIR", (dossier / "runtime").c_str(), 1);
  if (const char* qpa = std::getenv("QT_QPA_PLATFORM"); !qpa || !*qpa) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return dossier;
}

// Where pictures for a person go (PELITRAX_ARTEFACTS, set by scripts/bench); empty
// when unset.
inline std::filesystem::path DossierArtefacts() {
  const char* d = std::getenv("PELITRAX_ARTEFACTS");
  return d && *d ? std::filesystem::path(d) : std::filesystem::path();
}

// A program of the build: the variable when set, else the path relative to this
// benchmark's own folder (build/<preset>/bench).
inline std::filesystem::path ProgrammeDuBuild(const char* variable, const std::string& relatif) {
  if (const char* v = std::getenv(variable); v && *v) return v;
  std::error_code erreur;
  const auto soi = std::filesystem::read_symlink("/proc/self/exe", erreur);
  return soi.parent_path().parent_path() / relatif;
}

inline std::int64_t MicrosecondesMonotones() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Quantile q (0..1) by linear interpolation between the two nearest ranks; NaN for
// no sample.
inline double Quantile(std::vector<double> v, double q) {
  if (v.empty()) return std::nan("");
  std::sort(v.begin(), v.end());
  const double rang = q * static_cast<double>(v.size() - 1);
  const auto bas = static_cast<std::size_t>(std::floor(rang));
  const auto haut = std::min(bas + 1, v.size() - 1);
  return v[bas] + (v[haut] - v[bas]) * (rang - static_cast<double>(bas));
}

inline double Mediane(const std::vector<double>& v) { return Quantile(v, 0.5); }

// A polled pH-meter-like model for pelitrax-cli acquire, one per channel i on COM
// premierCom + i, named nom + " " + i.
struct TModeleBanc {
  std::string nom;
  int baud;
  int delaiMs;
  std::string demande;  // in the device file's escape notation ("M|CR|")
};

inline std::string SectionModele(const TModeleBanc& m, int i, int com) {
  return "[" + m.nom + " " + std::to_string(i) + "]\r\nNom=pH\r\nSymbole=pH\r\nUnité=\r\nPrecision=3\r\nMini=0\r\n"
         "Maxi=14\r\nCom=" + std::to_string(com) + "\r\nBaud=" + std::to_string(m.baud) +
         "\r\nDataBits=8\r\nParity=0\r\nStopBits=1\r\nRTS=0\r\nXonXoff=0\r\nDebut=0\r\nNombreCarac=1\r\nDelai=" +
         std::to_string(m.delaiMs) + "\r\nFixe=0\r\nNumero=1\r\nNombreLigne=1\r\nSéparateur=0\r\nContinu=0\r\n"
         "FiltreDepasse=0\r\nDemande=" + m.demande + "\r\nDerive=0.01\r\n\r\n";
}

// The device file and a time-base configuration (interval 1 s, `dureeS` seconds) of
// `n` channels of the model, in the files' code page.
inline bool EcritAcquisition(const TModeleBanc& m, int n, int premierCom, int dureeS, const std::string& ini,
                             const std::string& config) {
  std::string base;
  std::string rs2 = "[Acquisition]\r\nDeltat=1\r\nDuree=" + std::to_string(dureeS) + "\r\nNvoies=" + std::to_string(n) +
                    "\r\nMode=0\r\n";
  for (int i = 0; i < n; ++i) {
    base += SectionModele(m, i, premierCom + i);
    rs2 += "Nom" + std::to_string(i) + "=" + m.nom + " " + std::to_string(i) + "\r\nCOM" + std::to_string(i) + "=" +
           std::to_string(premierCom + i) + "\r\n";
  }
  rs2 += "\r\n";
  for (int i = 0; i < n; ++i) rs2 += SectionModele(m, i, premierCom + i);
  base += "[Index]\r\n";
  for (int i = 0; i < n; ++i) base += std::to_string(i) + "=" + m.nom + " " + std::to_string(i) + "\r\n";
  return EcritFichierSur(ini, Utf8VersCp1252(base)) && EcritFichierSur(config, Utf8VersCp1252(rs2));
}

// A pseudo-terminal for a bench instrument of a benchmark's own: the master side, non-
// blocking, that the instrument serves, and the slave side, kept open so that the
// master never reads a hang-up between two clients and raw so that nothing is echoed.
// Gives the path a port opens, empty on failure.
inline std::string OuvrePseudoTerminal(int& maitre, int& esclave) {
  maitre = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  char nom[128];
  if (maitre < 0 || ::grantpt(maitre) != 0 || ::unlockpt(maitre) != 0 || ::ptsname_r(maitre, nom, sizeof nom) != 0)
    return {};
  esclave = ::open(nom, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (esclave < 0) return {};
  termios t{};
  if (::tcgetattr(esclave, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(esclave, TCSANOW, &t);
  }
  return nom;
}

// The pseudo-terminals of a benchmark's instruments, one `Poste` each (a struct with
// `maitre` and `esclave`), closed with it; declared before the thread that serves them,
// so that the thread stops first.
template <class Poste> class TPostesPty {
public:
  TPostesPty() = default;
  ~TPostesPty() {
    for (const Poste& p : liste)
      for (int fd : {p.maitre, p.esclave})
        if (fd >= 0) ::close(fd);
  }
  TPostesPty(const TPostesPty&) = delete;
  TPostesPty& operator=(const TPostesPty&) = delete;

  // A new instrument's pseudo-terminal: the path a port opens, empty on failure.
  std::string Ajoute() {
    Poste p;
    const std::string chemin = OuvrePseudoTerminal(p.maitre, p.esclave);
    liste.push_back(std::move(p));
    return chemin;
  }

  std::vector<Poste> liste;
};

// `n` instruments added to a benchmark's own bench (its Ajoute gives each one's path):
// their paths, or none when a pseudo-terminal could not be made.
template <class Banc> std::vector<std::string> AjouteInstruments(Banc& banc, int n) {
  std::vector<std::string> chemins;
  for (int i = 0; i < n; ++i) {
    chemins.push_back(banc.Ajoute());
    if (chemins.back().empty()) return {};
  }
  return chemins;
}

// The commands in bytes read from an instrument's line: each line, without its end and
// cut at 64 characters, goes to `commande` once complete (empty lines are skipped);
// `enCours` keeps a line still being received.
template <typename F>
void PourChaqueCommande(std::string& enCours, const char* octets, ssize_t n, F&& commande) {
  for (ssize_t i = 0; i < n; ++i) {
    const char c = octets[i];
    if (c != '\r' && c != '\n') {
      if (enCours.size() < 64) enCours += c;
    } else if (!enCours.empty()) {
      commande(enCours);
      enCours.clear();
    }
  }
}

// The thread that serves a benchmark's instruments, with the eventfd that wakes it
// to stop. Its owner stops it before closing what it serves.
class TFilServeur {
public:
  TFilServeur() : eveil_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
  ~TFilServeur() {
    Arrete();
    if (eveil_ >= 0) ::close(eveil_);
  }
  TFilServeur(const TFilServeur&) = delete;
  TFilServeur& operator=(const TFilServeur&) = delete;

  void Demarre(std::function<void()> boucle) { fil_ = std::thread(std::move(boucle)); }
  void Arrete() {
    if (!fil_.joinable()) return;
    arret_ = true;
    const std::uint64_t un = 1;
    [[maybe_unused]] auto n = ::write(eveil_, &un, sizeof un);
    fil_.join();
  }
  bool Arret() const { return arret_; }
  // To poll with the instruments' descriptors, and to empty once it woke.
  int Eveil() const { return eveil_; }
  void VideEveil() const {
    std::uint64_t n;
    [[maybe_unused]] auto lu = ::read(eveil_, &n, sizeof n);
  }

private:
  std::thread fil_;
  std::atomic<bool> arret_{false};
  int eveil_;
};

// One request as a bench saw it: its channel, when it was read, when the answer left
// (microseconds, monotonic).
struct TEchange {
  int voie;
  std::int64_t requeteUs;
  std::int64_t reponseUs;
};

// Instruments written for a benchmark, one pseudo-terminal each, served by one
// thread that sleeps until a request comes: "M" ended by CR or LF is answered at once
// with `reponse`, and the exchange recorded.
class TBancReponseImmediate {
public:
  explicit TBancReponseImmediate(std::string reponse = "7.02\r") : reponse_(std::move(reponse)) {}
  ~TBancReponseImmediate() { serveur_.Arrete(); }

  // The path a port opens, empty on failure.
  std::string Ajoute() { return postes_.Ajoute(); }
  void Demarre() { serveur_.Demarre([this] { Boucle(); }); }
  void Arrete() { serveur_.Arrete(); }
  // Forgets the exchanges so far and gives them, in their order.
  std::vector<TEchange> Releve() {
    std::lock_guard verrou(mutex_);
    std::vector<TEchange> e;
    e.swap(echanges_);
    return e;
  }

private:
  struct Poste {
    int maitre = -1;
    int esclave = -1;
    std::string commande;
  };

  void Boucle() {
    std::vector<pollfd> attente;
    while (!serveur_.Arret()) {
      attente.assign(1, pollfd{serveur_.Eveil(), POLLIN, 0});
      for (const Poste& p : postes_.liste) attente.push_back(pollfd{p.maitre, POLLIN, 0});
      if (::poll(attente.data(), attente.size(), -1) <= 0) continue;
      for (std::size_t k = 0; k < postes_.liste.size(); ++k) {
        if (!(attente[k + 1].revents & POLLIN)) continue;
        const std::int64_t lu = MicrosecondesMonotones();
        Poste& p = postes_.liste[k];
        char tampon[256];
        const ssize_t n = ::read(p.maitre, tampon, sizeof tampon);
        PourChaqueCommande(p.commande, tampon, n, [&](const std::string& commande) {
          if (commande != "M") return;
          [[maybe_unused]] auto e = ::write(p.maitre, reponse_.data(), reponse_.size());
          const std::int64_t parti = MicrosecondesMonotones();
          std::lock_guard verrou(mutex_);
          echanges_.push_back({static_cast<int>(k), lu, parti});
        });
      }
      if (attente[0].revents & POLLIN) serveur_.VideEveil();
    }
  }

  const std::string reponse_;
  TPostesPty<Poste> postes_;
  TFilServeur serveur_;
  std::mutex mutex_;
  std::vector<TEchange> echanges_;
};

// A child program: started with the environment of this one plus `ajouts`
// ("NOM=valeur"), its standard output and error sent to files (empty: /dev/null), or
// its standard output to a pipe whose reading end is given back in *tube.
struct TFils {
  pid_t pid = -1;
  std::int64_t debutUs = 0;
};

inline TFils Lance(const std::vector<std::string>& arguments, const std::vector<std::string>& ajouts,
                   const std::string& sortie = {}, const std::string& erreurs = {}, int* tube = nullptr) {
  std::vector<std::string> env = ajouts;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  std::vector<char*> argv, envp;
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int bouts[2] = {-1, -1};
  if (tube && ::pipe2(bouts, O_CLOEXEC) == 0) {
    posix_spawn_file_actions_adddup2(&actions, bouts[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, bouts[0]);
    posix_spawn_file_actions_addclose(&actions, bouts[1]);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, sortie.empty() ? "/dev/null" : sortie.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  }
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, erreurs.empty() ? "/dev/null" : erreurs.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  TFils f;
  f.debutUs = MicrosecondesMonotones();
  if (posix_spawn(&f.pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) f.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  if (bouts[1] >= 0) ::close(bouts[1]);
  if (tube) *tube = bouts[0];
  return f;
}

struct TFinFils {
  int statut = -1;          // exit status, -1 when it did not exit normally
  std::int64_t dureeUs = 0;
  long pointeRssKo = 0;     // peak resident set, kilobytes (ru_maxrss)
  double processeurS = 0;   // CPU time, user and system, all its threads
  long commutationsVolontaires = 0;  // it slept waiting for something (ru_nvcsw)
};

inline TFinFils Attend(const TFils& f) {
  TFinFils r;
  int etat = 0;
  rusage usage{};
  if (f.pid <= 0 || ::wait4(f.pid, &etat, 0, &usage) != f.pid) return r;
  r.dureeUs = MicrosecondesMonotones() - f.debutUs;
  r.statut = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
  r.pointeRssKo = usage.ru_maxrss;
  r.processeurS = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  r.commutationsVolontaires = usage.ru_nvcsw;
  return r;
}

}  // namespace bench
